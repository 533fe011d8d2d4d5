#pragma once

#include "selfkit/SelfKit.h"

// Runs the self creator's dialog over kit until it closes and returns the
// program's exit status: 0 after the dialog was closed, non-zero when the
// self creator is corrupted or no display can be opened (said on the error
// stream). One definition per dialog the build carries.
int RunSelfKitDialog(CSelfKit& kit);
