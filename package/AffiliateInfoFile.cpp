#include "package/AffiliateInfoFile.h"

#include "package/LittleEndian.h"
#include "platform/RawFile.h"

namespace {

void AppendField(std::string& out, const std::string& field) {
    AppendInt32LE(out, static_cast<int32_t>(field.size()));
    out += field;
}

bool TakeField(std::string_view bytes, size_t& pos, std::string& field) {
    if (bytes.size() - pos < 4)
        return false;
    const int32_t length = ReadInt32LE(bytes.data() + pos);
    pos += 4;
    if (length < 0 || static_cast<size_t>(length) > kAffiliateInfoMaxField ||
        bytes.size() - pos < static_cast<size_t>(length))
        return false;
    field.assign(bytes.substr(pos, static_cast<size_t>(length)));
    pos += static_cast<size_t>(length);
    return true;
}

} // namespace

std::string EncodeAffiliateInfo(const CAffiliateInfo& info) {
    std::string out;
    AppendField(out, info.m_strKey);
    AppendField(out, info.m_strLink);
    AppendField(out, info.m_strWebSite);
    return out;
}

SfxResult DecodeAffiliateInfo(std::string_view bytes, CAffiliateInfo& info) {
    CAffiliateInfo read;
    size_t pos = 0;
    if (!TakeField(bytes, pos, read.m_strKey) || !TakeField(bytes, pos, read.m_strLink) ||
        !TakeField(bytes, pos, read.m_strWebSite))
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
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen())
        return SFX_ERR_OPEN;
    // Bytes past the three longest possible fields are never looked at.
    constexpr size_t kMaxUseful = 3 * (4 + kAffiliateInfoMaxField);
    std::string bytes(kMaxUseful, '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        long n = file.Read(bytes.data() + got, bytes.size() - got);
        if (n < 0)
            return SFX_ERR_OPEN;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return DecodeAffiliateInfo(bytes, info);
}
