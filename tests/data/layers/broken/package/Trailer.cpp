#include "package/Trailer.h"
#include <fcntl.h>
