#include "package/LauncherImage.h"

#include "package/SfxPackage.h"
#include "platform/EmbeddedImage.h"

LauncherImage PrepareLauncherImage(const std::string& setupPath) {
    LauncherImage image;
    image.pick = PickLauncher(setupPath);
    if (image.pick.templateId == 0)
        return image;
    const platform::EmbeddedImage embedded =
        platform::FindEmbeddedImage("SFX_EXE", image.pick.templateId);
    if (!embedded) {
        image.pick.templateId = 0;
        return image;
    }
    image.bytes.assign(reinterpret_cast<const char*>(embedded.data), embedded.size);
    const ProgramKind launcher = ProgramKindOfBytes(embedded.data, embedded.size);
    if (launcher == ProgramKind::Windows32 || launcher == ProgramKind::Windows64)
        image.face = ApplyVendorFace(image.bytes, ReadVendorFaceOfFile(setupPath));
    return image;
}

SfxResult BuildPackageForSetup(CSfxPackage& pkg, const std::string& setupPath,
                               const std::string& outputPath) {
    const LauncherImage image = PrepareLauncherImage(setupPath);
    if (image.pick.templateId == 0)
        return SFX_ERR_TEMPLATE;
    return pkg.BuildWithImage(image.bytes.data(), image.bytes.size(), outputPath);
}
