#pragma once

#include <map>
#include <string>
#include <string_view>

// A purchase link split into its base (the text before the first "?"), its
// query parameters, ordered byte-wise by key, one value per key, and its
// fragment (from the first "#" on, which ends the query; a "?" after it
// belongs to the fragment). Parse and Text keep keys and values byte for
// byte; EncodeQueryValue prepares an identifier for a value.
class CPurchaseUrl {
public:
    static CPurchaseUrl Parse(std::string_view link);

    // value with every byte that may not stand in a query value as it is
    // percent-encoded ("%2F" style, upper-case hex): controls, blanks,
    // non-ASCII bytes and the characters that split a query ("&", "=", "#",
    // "+", "%", ...). Letters, digits and "-._~!$'()*,;:@/?" stay, so plain
    // identifiers compose unchanged.
    static std::string EncodeQueryValue(std::string_view value);

    // Inserts or replaces the value of key.
    void SetParameter(const std::string& key, const std::string& value);

    // Base, "?", key=value pairs in key order joined by "&", then the
    // fragment: parameters must stand before it or the browser never sends
    // them. Without parameters the "?" is left out before a fragment, which
    // keeps a "?" of the fragment from reading as a query; a link without a
    // fragment always ends its base with "?".
    std::string Text() const;

    const std::string& Base() const { return m_strBase; }
    const std::map<std::string, std::string>& Parameters() const { return m_mapParams; }
    // "#" and what follows it; empty when the link has no "#".
    const std::string& Fragment() const { return m_strFragment; }

private:
    std::string m_strBase;
    std::map<std::string, std::string> m_mapParams;
    std::string m_strFragment;
};
