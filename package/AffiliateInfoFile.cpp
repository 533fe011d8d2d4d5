#include "package/AffiliateInfoFile.h"

#include "package/InfoBlocks.h"
#include "platform/RawFile.h"

std::string EncodeAffiliateInfo(const CAffiliateInfo& info) {
    std::string out;
    AppendInfoBlock(out, info.m_strKey);
    AppendInfoBlock(out, info.m_strLink);
    AppendInfoBlock(out, info.m_strWebSite);
    return out;
}

SfxResult DecodeAffiliateInfo(std::string_view bytes, CAffiliateInfo& info) {
    CAffiliateInfo read;
    size_t pos = 0;
    if (!TakeInfoBlock(bytes, pos, read.m_strKey) || !TakeInfoBlock(bytes, pos, read.m_strLink) ||
        !TakeInfoBlock(bytes, pos, read.m_strWebSite))
        return SFX_ERR_MARKER;
    info = std::move(read);
    return SFX_OK;
}

SfxResult WriteAffiliateInfoFile(const std::string& path, const CAffiliateInfo& info) {
    for (const std::string* field : {&info.m_strKey, &info.m_strLink, &info.m_strWebSite})
        if (field->size() > kAffiliateInfoMaxField)
            return SFX_ERR_CREATE;
    const std::string bytes = EncodeAffiliateInfo(info);
    // A fixed name in a shared temporary folder: never write through a link.
    platform::RawFile file = platform::RawFile::CreateReplacing(path);
    if (!file.IsOpen())
        return SFX_ERR_CREATE;
    if (!file.WriteAll(bytes.data(), bytes.size()) || !file.Close())
        return SFX_ERR_CREATE;
    return SFX_OK;
}

SfxResult ReadAffiliateInfoFile(const std::string& path, CAffiliateInfo& info) {
    // Bytes past the three longest possible fields are never looked at.
    std::string bytes;
    if (!ReadInfoFileBytes(path, 3 * (4 + kAffiliateInfoMaxField), bytes))
        return SFX_ERR_OPEN;
    return DecodeAffiliateInfo(bytes, info);
}
