#pragma once

#include "package/LauncherChoice.h"
#include "package/SfxResult.h"
#include "package/VendorFace.h"

#include <string>

class CSfxPackage;

// The launcher image at the front of a package, prepared for its setup: the
// launcher PickLauncher chooses and, when that is a Windows launcher, the
// vendor's icon group and version information copied from the setup
// (package/VendorFace.h). Every road that writes a package with a launcher
// (the builders, the self creator, the template) takes its image from here.
struct LauncherImage {
    LauncherPick pick; // pick.templateId 0: refused, bytes empty
    std::string bytes; // the image, to be written in front of the payloads
    FaceResult face = FaceResult::NothingToCopy;
};

LauncherImage PrepareLauncherImage(const std::string& setupPath);

// Prepares the launcher for setupPath and writes pkg behind it to
// outputPath. SFX_ERR_TEMPLATE when the setup gets no launcher.
SfxResult BuildPackageForSetup(CSfxPackage& pkg, const std::string& setupPath,
                               const std::string& outputPath);
