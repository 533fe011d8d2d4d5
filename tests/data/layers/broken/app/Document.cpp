#include "app/Document.h"
#include "ui/MainWindow.h"

// An implementation file may name a toolkit type inside: it cannot include one.
static int QLength = 0;
