#include "model/Reseller.h"
#include "Reseller.h"
// #include "ui/MainWindow.h"
/* #include <QString>
   #include "cli/Command.h" */
#include "package/Trailer.h"
#include <QString>
