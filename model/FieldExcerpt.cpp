#include "model/FieldExcerpt.h"

std::string FieldExcerpt(std::string_view text) {
    if (text.size() <= kExcerptMax)
        return std::string(text);
    size_t cut = kExcerptMax;
    // Back off continuation bytes so that no character is split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "...";
}
