#include "package/StampingWriter.h"

#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"
#include "package/StampContent.h"
#include "package/StampTemplate.h"

std::function<int(CSfxPackage& pkg, const std::string& outputPath)>
StampingWriter(std::shared_ptr<const CStampTemplate> stampTemplate) {
    return [stampTemplate](CSfxPackage& pkg, const std::string& outputPath) {
        const CSfxEntry first = pkg.GetEntry(0);
        CAffiliateInfo info;
        const SfxResult read = first.m_bFromMemory
                                   ? DecodeAffiliateInfo(first.m_strBytes, info)
                                   : ReadAffiliateInfoFile(first.m_strSourcePath, info);
        if (read != SFX_OK)
            return static_cast<int>(SFX_ERR_SOURCE);
        return static_cast<int>(stampTemplate->WriteCopy(StampContentOf(info), outputPath));
    };
}
