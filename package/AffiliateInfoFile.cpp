#include "package/AffiliateInfoFile.h"

#include "platform/RawFile.h"

namespace {

bool CanTravel(const std::string& field) {
    return field.size() <= kInfoFieldMax && field.find('\0') == std::string::npos;
}

} // namespace

bool CanEncodeAffiliateInfo(const CAffiliateInfo& info) {
    return CanTravel(info.m_strKey) && CanTravel(info.m_strLink) && CanTravel(info.m_strWebSite);
}

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
        !TakeInfoBlock(bytes, pos, read.m_strWebSite) || !CanEncodeAffiliateInfo(read))
        return SFX_ERR_MARKER;
    info = std::move(read);
    return SFX_OK;
}

SfxResult WriteAffiliateInfoFile(const std::string& path, const CAffiliateInfo& info) {
    if (!CanEncodeAffiliateInfo(info))
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
    std::string bytes;
    if (!ReadInfoFileBytes(path, kAffiliateInfoMaxBytes, bytes))
        return SFX_ERR_OPEN;
    return DecodeAffiliateInfo(bytes, info);
}
