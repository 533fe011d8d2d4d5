#pragma once
#include "model/Reseller.h"
#include <windows.h>

struct CommandState {
    unsigned long count; // DWORD would be one
    DWORD flags;
};
