#include "package/CarriedSetup.h"

#include "package/PackageAffiliateInfo.h"
#include "package/SfxPackage.h"
#include "package/StampTemplate.h"

#include <optional>

CarriedSetup OpenCarriedSetup(const std::string& path, const std::string& uuid,
                              CStampTemplate& stampTemplate) {
    CSfxPackage package;
    if (package.ReadDirectory(path) != SFX_OK || package.GetCount() != 2)
        return CarriedSetup::Plain;
    const std::optional<CAffiliateInfo> info = AffiliateInfoOfPackage(package);
    if (!info || info->m_strKey != uuid)
        return CarriedSetup::Plain;
    return stampTemplate.Open(path) ? CarriedSetup::SignedTemplate : CarriedSetup::Unusable;
}
