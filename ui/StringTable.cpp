#include "ui/StringTable.h"

#include "ui/ProjectText.h"

QString AppText(std::string_view text) {
    return FromProjectText(text);
}

QString VkLoadString(int id) {
    return AppText(apptext::NumberedString(id));
}

QString VkFormat(std::string_view format, const QString& arg) {
    const std::string text = ToProjectText(arg);
    return AppText(apptext::FormatText(format, {text}));
}
