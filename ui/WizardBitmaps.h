#pragma once

#include <QPixmap>

// The wizard's artwork, drawn at run time: the tall watermark of the first and
// last page and the small header picture of the inner pages.
QPixmap WizardWatermarkPixmap();
QPixmap WizardHeaderPixmap();
