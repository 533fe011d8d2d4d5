#include "velklink/velklink.h"
#include "platform/Clock.h"
#include "package/Trailer.h"
