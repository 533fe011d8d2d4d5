#pragma once

#include <map>
#include <string>
#include <string_view>

// A purchase link split into its base (the text before the first "?") and its
// query parameters, ordered byte-wise by key, one value per key. No percent
// coding is done in either direction.
class CPurchaseUrl {
public:
    static CPurchaseUrl Parse(std::string_view link);

    // Inserts or replaces the value of key.
    void SetParameter(const std::string& key, const std::string& value);

    // Base, "?" (always), then key=value pairs in key order joined by "&".
    std::string Text() const;

    const std::string& Base() const { return m_strBase; }
    const std::map<std::string, std::string>& Parameters() const { return m_mapParams; }

private:
    std::string m_strBase;
    std::map<std::string, std::string> m_mapParams;
};
