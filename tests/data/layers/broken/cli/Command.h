#pragma once
#include "model/Reseller.h"
