#include "ui/ProjectText.h"

#include "model/TextEncoding.h"

QString FromProjectText(std::string_view text) {
    if (IsValidUtf8(text))
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const std::string clean = SanitizeUtf8(text);
    return QString::fromUtf8(clean.data(), static_cast<qsizetype>(clean.size()));
}

std::string ToProjectText(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    // A lone surrogate left in the string has no UTF-8 form of its own.
    return SanitizeUtf8(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}
