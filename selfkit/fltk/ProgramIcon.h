#pragma once

class Fl_RGB_Image;

// The self creator's icon (a setup disk): the windows' icon and the About
// box's picture. Made once; never freed.
const Fl_RGB_Image* ProgramIcon(int size);
