#include "package/OutputConflict.h"

#include "platform/HostPath.h"
#include "platform/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

// The path with links of its existing part resolved, "." and ".." folded,
// in the letter case the host compares by.
std::string Comparable(const std::string& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(platform::Utf8Path(path), ec), ec);
    if (ec)
        resolved = fs::absolute(platform::Utf8Path(path), ec).lexically_normal();
    std::string text = resolved.string();
    if (platform::HostPathStyle() == platform::PathStyle::Windows)
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
            return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        });
    return text;
}

// NameSameFile with the comparable forms of both already made.
bool NameSameFile(const std::string& a, const std::string& aComparable, const std::string& b,
                  const std::string& bComparable) {
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    if (fs::equivalent(platform::Utf8Path(a), platform::Utf8Path(b), ec))
        return true;
    return aComparable == bComparable;
}

bool NameSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    std::error_code ec;
    if (fs::equivalent(platform::Utf8Path(a), platform::Utf8Path(b), ec))
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

AffiliateOutputs::AffiliateOutputs(const std::vector<std::pair<uint16_t, std::string>>& outputs) {
    m_byPath.reserve(outputs.size());
    for (const auto& [key, path] : outputs) {
        if (path.empty())
            continue;
        Owners& owners = m_byPath[Comparable(path)];
        if (owners.first < 0)
            owners.first = key;
        else if (owners.first != key && owners.second < 0)
            owners.second = key;
        std::error_code ec;
        const auto links = fs::hard_link_count(platform::Utf8Path(path), ec);
        if (!ec && links > 1)
            m_linked.emplace_back(key, path);
    }
}

bool AffiliateOutputs::NamedByAnother(uint16_t key, const std::string& output) const {
    if (output.empty())
        return false;
    return NamedByAnother(key, output, Comparable(output));
}

bool AffiliateOutputs::NamedByAnother(uint16_t key, const std::string& output,
                                      const std::string& comparable) const {
    if (output.empty())
        return false;
    const auto it = m_byPath.find(comparable);
    if (it != m_byPath.end()) {
        const Owners& owners = it->second;
        if ((owners.first >= 0 && owners.first != key) ||
            (owners.second >= 0 && owners.second != key))
            return true;
    }
    for (const auto& [otherKey, path] : m_linked) {
        std::error_code ec;
        if (otherKey != key &&
            fs::equivalent(platform::Utf8Path(output), platform::Utf8Path(path), ec))
            return true;
    }
    return false;
}

BuildOutputCheck::BuildOutputCheck(BuildInputs inputs,
                                   const std::vector<std::pair<uint16_t, std::string>>& outputs)
    : m_inputs(std::move(inputs)), m_outputs(outputs) {
    if (!m_inputs.projectFile.empty())
        m_projectComparable = Comparable(m_inputs.projectFile);
    if (!m_inputs.setupFile.empty())
        m_setupComparable = Comparable(m_inputs.setupFile);
}

OutputConflict BuildOutputCheck::Find(uint16_t key, const std::string& output) const {
    if (output.empty())
        return OutputConflict::None;
    const std::string comparable = Comparable(output);
    if (NameSameFile(output, comparable, m_inputs.projectFile, m_projectComparable))
        return OutputConflict::ProjectFile;
    if (NameSameFile(output, comparable, m_inputs.setupFile, m_setupComparable))
        return OutputConflict::SetupFile;
    if (m_outputs.NamedByAnother(key, output, comparable))
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
    case OutputConflict::NotOurSetup:
        return start + "not a custom setup of this product; it is left as it is.";
    case OutputConflict::NulByte:
        return start + "a path with a NUL byte.";
    case OutputConflict::None:
        break;
    }
    return {};
}
