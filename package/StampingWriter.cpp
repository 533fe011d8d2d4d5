#include "package/StampingWriter.h"

#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"
#include "package/StampContent.h"
#include "package/StampTemplate.h"

std::function<int(CSfxPackage& pkg, const std::string& outputPath)>
StampingWriter(std::shared_ptr<const CStampTemplate> stampTemplate) {
    return [stampTemplate](CSfxPackage& pkg, const std::string& outputPath) {
        CAffiliateInfo info;
        if (ReadAffiliateInfoFile(pkg.GetEntry(0).m_strSourcePath, info) != SFX_OK)
            return static_cast<int>(SFX_ERR_SOURCE);
        return static_cast<int>(stampTemplate->WriteCopy(StampContentOf(info), outputPath));
    };
}
