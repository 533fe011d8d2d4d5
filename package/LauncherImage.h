#pragma once

#include "package/SfxResult.h"

#include <memory>
#include <string>

class CSfxPackage;

// The launcher image at the front of every custom setup of the product whose
// setup program is setupPath, ready to be written: the embedded launcher that
// the setup's kind asks for (LauncherTemplateForSetup). The one place where a
// custom setup's launcher image is chosen and prepared; build, template,
// stamp and serve all take it from here. Null when the program carries no
// launcher image.
std::shared_ptr<const std::string> LauncherImageForSetup(const std::string& setupPath);

// Writes pkg, whose entry 1 is the product's setup, to outputPath behind the
// launcher image of that setup. SFX_ERR_TEMPLATE when there is none.
SfxResult BuildCustomSetup(CSfxPackage& pkg, const std::string& outputPath);
