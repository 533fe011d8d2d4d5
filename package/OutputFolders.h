#pragma once

#include <string>

// Creates the folders an output file needs before it is written: for every
// separator of path at index 1 or later, the folder named by the text before
// that separator. Separators are '/' and the platform's own. Failures and
// folders that already exist are ignored; a folder that could not be made
// shows later as a failure to create the file itself.
void CreateOutputFolders(const std::string& path);
