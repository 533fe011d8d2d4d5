#include "ui/MainWindow.h"
#include "cli/Command.h"
#include <QTest>
#include <unistd.h>
