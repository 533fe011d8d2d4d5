#include "cli/CliError.h"

#include <ostream>

void ReportFileError(std::ostream& err, const std::string& file, std::string_view what,
                     const platform::FileStatus& status) {
    const std::string reason = platform::SystemErrorText(status.osCode);
    err << "velkora-cli: " << file << ": " << what;
    if (!reason.empty())
        err << ": " << reason;
    err << "\n";
}

void ReportFileProblem(std::ostream& err, const std::string& file, std::string_view what) {
    err << "velkora-cli: " << file << ": " << what << "\n";
}
