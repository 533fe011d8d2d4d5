#pragma once
#include <string>
#include "platform/Clock.h"
