#include <windows.h>
#include "selfkit/Kit.h"
