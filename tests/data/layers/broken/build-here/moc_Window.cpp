#include "ui/MainWindow.h"
#include <QObject>
