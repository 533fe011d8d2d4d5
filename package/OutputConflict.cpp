#include "package/OutputConflict.h"

#include "platform/HostPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The path with links of its existing part resolved, "." and ".." folded,
// in the letter case the host compares by.
std::string Comparable(const std::string& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec)
        resolved = fs::absolute(path, ec).lexically_normal();
    std::string text = resolved.string();
    if (platform::HostPathStyle() == platform::PathStyle::Windows)
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
            return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        });
    return text;
}

bool NameSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return Comparable(a) == Comparable(b);
}

} // namespace

OutputConflict FindOutputConflict(const std::string& output, const BuildInputs& inputs) {
    if (NameSameFile(output, inputs.projectFile))
        return OutputConflict::ProjectFile;
    if (NameSameFile(output, inputs.setupFile))
        return OutputConflict::SetupFile;
    for (const std::string& other : inputs.otherOutputs)
        if (NameSameFile(output, other))
            return OutputConflict::OtherAffiliate;
    return OutputConflict::None;
}

std::string OutputConflictLine(OutputConflict conflict, const std::string& outputPath) {
    const std::string start = "Error! Output file '" + outputPath + "' is ";
    switch (conflict) {
    case OutputConflict::ProjectFile:
        return start + "the project file.";
    case OutputConflict::SetupFile:
        return start + "the program setup file.";
    case OutputConflict::OtherAffiliate:
        return start + "another affiliate's output.";
    case OutputConflict::None:
        break;
    }
    return {};
}
