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
    std::string bytes(reinterpret_cast<const char*>(embedded.data), embedded.size);
    const ProgramKind launcher = ProgramKindOfBytes(embedded.data, embedded.size);
    if (launcher == ProgramKind::Windows32 || launcher == ProgramKind::Windows64)
        image.face = ApplyVendorFace(bytes, ReadVendorFaceOfFile(setupPath));
    image.bytes = std::make_shared<const std::string>(std::move(bytes));
    return image;
}

std::shared_ptr<const std::string> LauncherImageForSetup(const std::string& setupPath) {
    return PrepareLauncherImage(setupPath).bytes;
}

SfxResult BuildCustomSetup(CSfxPackage& pkg, const std::string& outputPath) {
    if (pkg.GetCount() < 1)
        return SFX_ERR_EMPTY;
    std::shared_ptr<const std::string> image =
        LauncherImageForSetup(pkg.GetEntry(1).m_strSourcePath);
    if (!image)
        return SFX_ERR_TEMPLATE;
    return pkg.BuildWithImage(std::move(image), outputPath);
}
