#pragma once

#include "platform/FileError.h"

#include <iosfwd>
#include <string>
#include <string_view>

// "velkora-cli: FILE: WHAT: REASON", the form people know from other tools;
// the reason is the system's own words for status and is left out when the
// system gave none.
void ReportFileError(std::ostream& err, const std::string& file, std::string_view what,
                     const platform::FileStatus& status);

// "velkora-cli: FILE: WHAT" for a fault that is not the system's (a file in
// the wrong format).
void ReportFileProblem(std::ostream& err, const std::string& file, std::string_view what);
