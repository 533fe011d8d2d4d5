// Any bytes as an affiliate information file, a product information file and
// a registration list: the readers never overrun, what they accept encodes
// back to the bytes they read, and the list offers only the three services.
#include "FuzzCheck.h"

#include "package/AffiliateInfoFile.h"
#include "package/ProductInfoFile.h"
#include "package/RegistrationList.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <unistd.h>

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void CheckAffiliateInfo(std::string_view bytes) {
    CAffiliateInfo info;
    if (DecodeAffiliateInfo(bytes, info) != SFX_OK)
        return;
    for (const std::string* field : {&info.m_strKey, &info.m_strLink, &info.m_strWebSite})
        FUZZ_CHECK(field->size() <= kInfoFieldMax, "a field the launcher cannot hold");
    const std::string encoded = EncodeAffiliateInfo(info);
    FUZZ_CHECK(bytes.substr(0, encoded.size()) == encoded, "the fields do not re-encode");
}

void CheckRegistrationList(std::string_view text) {
    const COfferedServices offered = ParseRegistrationList(text);
    FUZZ_CHECK(offered.names.size() == offered.mapProductIds.size(), "names and IDs differ");
    for (const std::string& name : offered.names) {
        FUZZ_CHECK(SameIgnoringCase(name, "RegNow") || SameIgnoringCase(name, "ShareIt") ||
                       SameIgnoringCase(name, "RegSoft"),
                   "a service that is not offered");
        const std::string id = offered.ProductIdOf(name);
        FUZZ_CHECK(!id.empty() && id.find(';') == std::string::npos, "a product ID with ';'");
    }
}

void CheckProductInfo(std::string_view bytes) {
    static const std::string path = "/tmp/velkora-fuzz-product-info-" + std::to_string(getpid());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    CProductInfo info;
    const ProductInfoStatus status = ReadProductInfoFile(path, info);
    std::remove(path.c_str());
    if (status != ProductInfoStatus::Ok)
        return;
    FUZZ_CHECK(info.strUuid.size() <= kInfoFieldMax, "a block the reader cannot hold");
    FUZZ_CHECK(info.strRegistrationList.size() <= kInfoFieldMax, "a block the reader cannot hold");
    CheckRegistrationList(info.strRegistrationList);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes = FuzzBytes(data, size);
    CheckAffiliateInfo(bytes);
    CheckProductInfo(bytes);
    CheckRegistrationList(bytes);
    return 0;
}
