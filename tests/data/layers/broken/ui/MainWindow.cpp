#include "ui/MainWindow.h"
#include "cli/Command.h"
