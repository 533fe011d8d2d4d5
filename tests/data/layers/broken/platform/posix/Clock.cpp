#include "platform/Clock.h"
#include <sys/stat.h>
#include <unistd.h>
