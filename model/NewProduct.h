#pragma once

#include "model/AffProject.h"

#include <cstdint>
#include <string>

// Stores the product's registration at one service, keyed by the service's
// index. serviceName is kept as given; empty takes the service's own name.
// A registration at that service is replaced.
void StoreRegistration(CAffProject& project, int32_t service, std::string serviceName,
                       std::string productId, std::string purchaseLink);

// What makes a project a new product, whoever creates it (the wizard, the
// command line): a new program UUID and its first registration service, which
// becomes the default service. The product's texts are the caller's.
void StartNewProduct(CAffProject& project, int32_t service, std::string productId,
                     std::string purchaseLink);
