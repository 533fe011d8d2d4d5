#include "package/RegistrationList.h"

#include "model/AffProject.h"
#include "model/RegistrationServices.h"

#include <algorithm>
#include <cctype>

namespace {

bool Representable(const std::string& token) {
    return !token.empty() && token.find(';') == std::string::npos;
}

// Case-insensitive order as a sorted drop-down list shows its items; equal
// names in different case keep a stable byte-wise order.
bool ListOrder(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace

std::string ComposeRegistrationList(const CAffProject& project) {
    std::string text;
    project.m_mapRegInfo.ForEach([&](uint16_t, const CProductRegInfo& info) {
        if (!Representable(info.m_strServiceName) || !Representable(info.m_strProductId))
            return;
        text += info.m_strServiceName;
        text += ';';
        text += info.m_strProductId;
        text += ';';
    });
    return text;
}

std::string COfferedServices::ProductIdOf(const std::string& name) const {
    const auto it = mapProductIds.find(name);
    return it == mapProductIds.end() ? std::string() : it->second;
}

COfferedServices ParseRegistrationList(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            tokens.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    COfferedServices offered;
    for (size_t i = 0; i + 1 < tokens.size(); i += 2) {
        const int32_t index = ServiceIndexFromName(tokens[i]);
        if (index < kServiceRegNow || index > kServiceRegSoft)
            continue;
        offered.mapProductIds[std::string(tokens[i])] = std::string(tokens[i + 1]);
    }
    for (const auto& [name, id] : offered.mapProductIds)
        offered.names.push_back(name);
    std::sort(offered.names.begin(), offered.names.end(), ListOrder);
    return offered;
}
