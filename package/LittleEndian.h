#pragma once

// The byte helpers live with the model, the lowest layer that reads files.
#include "model/ByteOrder.h"
