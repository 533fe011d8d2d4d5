#include "package/Trailer.h"
#include "../ui/MainWindow.h"
#  include <cli/Command.h>
