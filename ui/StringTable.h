#pragma once

#include "app/AppTexts.h"

#include <QString>

#include <string_view>

// The program's texts (app/AppTexts.h) as the toolkit's strings.
QString AppText(std::string_view text);

// The numbered string; an unknown number gives an empty string.
QString VkLoadString(int id);

// format with its first "%s" replaced by arg (arg itself is never scanned).
QString VkFormat(std::string_view format, const QString& arg);
