#include "cli/Command.h"
#include "ui/MainWindow.h"
#include <QtCore/QObject>
