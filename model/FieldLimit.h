#pragma once

#include "platform/StoreContract.h"

// The field limit (platform/StoreContract.h) under the name the model uses.
using platform::kInfoFieldMax;
