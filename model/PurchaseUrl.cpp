#include "model/PurchaseUrl.h"

CPurchaseUrl CPurchaseUrl::Parse(std::string_view link) {
    CPurchaseUrl url;
    const size_t hash = link.find('#');
    if (hash != std::string_view::npos) {
        url.m_strFragment = std::string(link.substr(hash));
        link = link.substr(0, hash);
    }
    const size_t question = link.find('?');
    if (question == std::string_view::npos) {
        url.m_strBase = std::string(link);
        return url;
    }
    url.m_strBase = std::string(link.substr(0, question));
    std::string_view rest = link.substr(question + 1);
    while (true) {
        const size_t amp = rest.find('&');
        const std::string_view segment = rest.substr(0, amp);
        const size_t eq = segment.find('=');
        const std::string_view key = segment.substr(0, eq);
        // A segment without a key ("" or "=v") carries nothing usable.
        if (!key.empty()) {
            const std::string_view value =
                eq == std::string_view::npos ? std::string_view{} : segment.substr(eq + 1);
            url.m_mapParams[std::string(key)] = std::string(value);
        }
        if (amp == std::string_view::npos)
            break;
        rest = rest.substr(amp + 1);
    }
    return url;
}

void CPurchaseUrl::SetParameter(const std::string& key, const std::string& value) {
    m_mapParams[key] = value;
}

namespace {

bool StandsInQueryValue(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    constexpr std::string_view kKept = "-._~!$'()*,;:@/?";
    return kKept.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string CPurchaseUrl::EncodeQueryValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (StandsInQueryValue(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string CPurchaseUrl::Text() const {
    std::string text = m_strBase;
    if (!m_mapParams.empty() || m_strFragment.empty())
        text += '?';
    bool first = true;
    for (const auto& [key, value] : m_mapParams) {
        if (!first)
            text += '&';
        first = false;
        text += key;
        text += '=';
        text += value;
    }
    text += m_strFragment;
    return text;
}
