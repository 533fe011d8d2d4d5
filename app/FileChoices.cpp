#include "app/FileChoices.h"

#include "platform/HostPath.h"

#include <algorithm>

std::vector<FileChoiceFilter> SetupFileChoices() {
    std::vector<FileChoiceFilter> filters = ParseFilterChoices(
        "Executable Files (*.exe)|*.exe|Windows Installer Package (*.MSI)|*.msi|Zip Files "
        "(*.zip)|*.zip;*.z|Rar archive (*.rar)|*.rar|All Files (*.*)|*.*||");
    if (platform::HostPathStyle() != platform::PathStyle::Windows)
        std::rotate(filters.begin(), filters.end() - 1, filters.end());
    return filters;
}

std::vector<FileChoiceFilter> CsvFileChoices() {
    return {{"CSV Files (*.csv)", "*.csv"}, {"All Files (*.*)", "*.*"}};
}
