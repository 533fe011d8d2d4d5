#pragma once

#include <string>

class CStampTemplate;

// What a self creator carries as the product's setup file: the setup itself,
// or the product's signed template, whose copies it stamps.
enum class CarriedSetup {
    Plain,          // any file that is not a custom setup of the product
    SignedTemplate, // stampTemplate is ready
    Unusable,       // a custom setup of the product that cannot be stamped
};

// Tells what the file at path, carried by a self creator of the product whose
// key is uuid, is. A custom setup whose entry 0 carries uuid is the product's
// template: stampTemplate is readied from it, and when it is not signed or its
// signature is malformed it is Unusable (wrapping it into another custom setup
// would credit the vendor instead of the affiliate).
CarriedSetup OpenCarriedSetup(const std::string& path, const std::string& uuid,
                              CStampTemplate& stampTemplate);
