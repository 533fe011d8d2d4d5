#include "model/PortableFileName.h"

#include <array>
#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsDeviceName(std::string_view stem) {
    static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    for (const std::string_view device : kDevices)
        if (EqualsIgnoringCase(stem, device))
            return true;
    if (stem.size() < 4)
        return false;
    const std::string_view prefix = stem.substr(0, 3);
    if (!EqualsIgnoringCase(prefix, "COM") && !EqualsIgnoringCase(prefix, "LPT"))
        return false;
    const std::string_view digit = stem.substr(3);
    // The superscript digits one, two and three count as well, in UTF-8.
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

} // namespace

std::string PortableFileName(std::string_view name) {
    std::string out(name);
    for (size_t i = out.size(); i > 0 && (out[i - 1] == '.' || out[i - 1] == ' '); --i)
        out[i - 1] = '_';
    const size_t dot = out.find('.');
    size_t stemEnd = dot == std::string::npos ? out.size() : dot;
    // Windows ignores the blanks between a device name and its extension.
    size_t deviceEnd = stemEnd;
    while (deviceEnd > 0 && out[deviceEnd - 1] == ' ')
        --deviceEnd;
    if (IsDeviceName(std::string_view(out).substr(0, deviceEnd)))
        out.insert(deviceEnd, 1, '_');
    return out;
}
