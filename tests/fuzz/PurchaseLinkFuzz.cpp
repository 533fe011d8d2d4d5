// Any link and IDs through CPurchaseUrl and both compose rules: the text of a
// parsed link parses to itself, composing sets exactly the service's keys,
// keeps the fragment at the end and never touches Other or no service.
#include "FuzzCheck.h"

#include "model/AffProject.h"
#include "model/PurchaseLink.h"
#include "model/PurchaseUrl.h"
#include "model/RegistrationServices.h"

#include <cctype>
#include <memory>

namespace {

void CheckParsedTextIsStable(const std::string& link) {
    const CPurchaseUrl url = CPurchaseUrl::Parse(link);
    const std::string text = url.Text();
    const CPurchaseUrl again = CPurchaseUrl::Parse(text);
    FUZZ_CHECK(again.Text() == text, "the text of a parsed link parses to another text");
    FUZZ_CHECK(again.Fragment() == url.Fragment(), "the fragment moved");
    FUZZ_CHECK(url.Parameters().empty() || text.find('#') == std::string::npos ||
                   text.find('#') >= text.find('?'),
               "the query stands inside the fragment");
}

bool IsBareHttp(const std::string& link) {
    if (link.size() != 7)
        return false;
    std::string lower = link;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "http://";
}

// Both rules: nothing changes for Other or no service; otherwise the typed
// link's fragment (Keep) or none (the endpoint) stands at the end.
void CheckComposed(int32_t service, const std::string& before, const std::string& after,
                   bool composed, ComposeMode mode) {
    if (!composed) {
        FUZZ_CHECK(after == before, "a refused compose changed the link");
        return;
    }
    FUZZ_CHECK(service >= 0 && service < kServiceOther, "composed for Other or no service");
    const bool keepsTyped = mode == ComposeMode::Keep && !before.empty() && !IsBareHttp(before);
    const std::string fragment = keepsTyped ? CPurchaseUrl::Parse(before).Fragment() : "";
    FUZZ_CHECK(CPurchaseUrl::Parse(after).Fragment() == fragment, "the fragment was lost");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    if (size < 1)
        return 0;
    const int32_t service = static_cast<int32_t>(data[0] % 6) - 1; // -1 .. 4
    const ComposeMode mode = (data[0] & 0x80) ? ComposeMode::Reset : ComposeMode::Keep;
    auto [link, ids] = SplitAtNul(FuzzBytes(data + 1, size - 1));
    auto [productId, affiliateId] = SplitAtNul(ids);

    CheckParsedTextIsStable(link);

    std::string product = link;
    const bool productComposed = ComposeProductLink(service, product, productId, mode);
    CheckComposed(service, link, product, productComposed, mode);
    // Composed IDs are percent-encoded: whatever the ID, it stays one value.
    if (productComposed) {
        const auto& key = ServiceTable()[static_cast<size_t>(service)].productKey;
        FUZZ_CHECK(CPurchaseUrl::Parse(product).Parameters().at(std::string(key)) ==
                       CPurchaseUrl::EncodeQueryValue(productId),
                   "the product key does not hold the product ID");
    }

    CAffProject project;
    if (service >= 0 && service < kServiceCount) {
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = static_cast<uint16_t>(service);
        info->m_strProductId = productId;
        project.m_mapRegInfo.SetAt(static_cast<uint16_t>(service), std::move(info));
    }
    std::string affiliate = link;
    const bool affiliateComposed =
        ComposeAffiliateLink(service, affiliate, affiliateId, project, mode);
    CheckComposed(service, link, affiliate, affiliateComposed, mode);
    if (affiliateComposed) {
        const auto& entry = ServiceTable()[static_cast<size_t>(service)];
        const auto params = CPurchaseUrl::Parse(affiliate).Parameters();
        FUZZ_CHECK(params.at(std::string(entry.affiliateKey)) ==
                       CPurchaseUrl::EncodeQueryValue(affiliateId),
                   "the affiliate key does not hold the affiliate ID");
        FUZZ_CHECK(params.at(std::string(entry.productKey)) ==
                       CPurchaseUrl::EncodeQueryValue(productId),
                   "the product key does not hold the product ID");
    }
    return 0;
}
