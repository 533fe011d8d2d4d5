#include "app/FileChoices.h"

#include "app/AppTexts.h"

#include "platform/HostPath.h"

#include <algorithm>

std::vector<FileChoiceFilter> SetupFileChoices() {
    std::vector<FileChoiceFilter> filters =
        ParseFilterChoices(std::string(apptext::kSetupFileFilter));
    if (platform::HostPathStyle() != platform::PathStyle::Windows)
        std::rotate(filters.begin(), filters.end() - 1, filters.end());
    return filters;
}

std::vector<FileChoiceFilter> CsvFileChoices() {
    return {{std::string(apptext::kCsvFileType), "*.csv"},
            {std::string(apptext::kAllFilesType), "*.*"}};
}
