#pragma once

#include "model/AffProject.h"
#include "model/Reseller.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What one build works on. The records are copies taken when the command is
// given, so the user may go on editing or deleting affiliates while the build
// runs without the worker ever reading a half-changed record.
struct BuildRequest {
    CAffProject product;               // the product; its affiliate map is not used
    std::vector<CReseller> affiliates; // the affiliates to build, in build order
    bool runAfterBuild = false;        // start each package that was built successfully
    // Every affiliate's key and setup path as stored, built or not: no
    // package may replace another affiliate's.
    std::vector<std::pair<uint16_t, std::string>> outputs;
};

// Every affiliate of project, in the enumeration order of its affiliate map.
BuildRequest MakeBuildAllRequest(const CAffProject& project);

// The affiliates under keys, in the order given; keys without an affiliate are
// left out.
BuildRequest MakeBuildSelectedRequest(const CAffProject& project,
                                      const std::vector<uint16_t>& keys);
