#pragma once

#include "package/LauncherChoice.h"
#include "package/SfxResult.h"
#include "package/VendorFace.h"

#include <memory>
#include <string>

class CSfxPackage;

// The launcher image at the front of every custom setup of the product whose
// setup program is setupPath, ready to be written: the launcher PickLauncher
// chooses for the setup's kind and, when that is a Windows launcher, the
// vendor's icon group and version information copied from the setup
// (package/VendorFace.h). The one place where a custom setup's launcher image
// is chosen and prepared; build, template, stamp, the self creator and serve
// all take it from here.
struct LauncherImage {
    LauncherPick pick;                        // pick.templateId 0: refused
    std::shared_ptr<const std::string> bytes; // null when refused
    FaceResult face = FaceResult::NothingToCopy;
};

LauncherImage PrepareLauncherImage(const std::string& setupPath);

// The prepared image's bytes alone; null when the setup gets no launcher.
std::shared_ptr<const std::string> LauncherImageForSetup(const std::string& setupPath);

// Writes pkg, whose entry 1 is the product's setup, to outputPath behind the
// launcher image of that setup. SFX_ERR_TEMPLATE when there is none.
SfxResult BuildCustomSetup(CSfxPackage& pkg, const std::string& outputPath);
