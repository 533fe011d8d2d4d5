#pragma once
#include "model/Reseller.h"
#include "platform/Clock.h"
