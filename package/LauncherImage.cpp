#include "package/LauncherImage.h"

#include "package/LauncherChoice.h"
#include "package/SfxPackage.h"
#include "platform/EmbeddedImage.h"

std::shared_ptr<const std::string> LauncherImageForSetup(const std::string& setupPath) {
    const platform::EmbeddedImage image =
        platform::FindEmbeddedImage("SFX_EXE", LauncherTemplateForSetup(setupPath));
    if (!image)
        return nullptr;
    return std::make_shared<const std::string>(reinterpret_cast<const char*>(image.data),
                                               image.size);
}

SfxResult BuildCustomSetup(CSfxPackage& pkg, const std::string& outputPath) {
    if (pkg.GetCount() < 1)
        return SFX_ERR_EMPTY;
    return pkg.BuildWithImage(LauncherImageForSetup(pkg.GetEntry(1).m_strSourcePath), outputPath);
}
