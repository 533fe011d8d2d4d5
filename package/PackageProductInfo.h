#pragma once

#include "package/ProductInfoFile.h"

#include <optional>

class CSfxPackage;

// Entry 0 of a self creator, when it is a well-formed product information
// file (two blocks) that fills the entry exactly; read in place from the
// package last read by package.ReadDirectory, nothing is extracted. An
// affiliate's custom setup carries three blocks there and gives nothing.
std::optional<CProductInfo> ProductInfoOfPackage(const CSfxPackage& package);
