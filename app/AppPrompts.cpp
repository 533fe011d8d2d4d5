#include "app/AppPrompts.h"

std::vector<FileChoiceFilter> ParseFilterChoices(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(text.substr(start));
    std::vector<FileChoiceFilter> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty())
            break;
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}
