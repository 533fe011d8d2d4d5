#include "package/Trailer.h"
#include "velklink/velklink.h"
