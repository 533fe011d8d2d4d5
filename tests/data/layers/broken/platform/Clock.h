#pragma once
#include "model/Reseller.h"
#include <chrono>
