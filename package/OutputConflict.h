#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Which input of a build a package's output path would overwrite.
enum class OutputConflict {
    None,
    ProjectFile,    // the project file itself
    SetupFile,      // the product's setup file
    OtherAffiliate, // the output of another affiliate of the project
    NotOurSetup,    // an existing file that is no custom setup of this product
    NulByte,        // the path holds a NUL byte: the file written would be another
};

// What a build's output must never replace. All paths are resolved (absolute
// or relative to the current folder as the build sees them).
struct BuildInputs {
    std::string projectFile;               // empty when the project has no file yet
    std::string setupFile;                 // the product's setup file
    std::vector<std::string> otherOutputs; // outputs of the other affiliates
};

// Whether output names one of inputs. Two paths name one file when they
// resolve to the same path, compared as the host's file system does (text
// byte for byte on POSIX, without regard to letter case on Windows), or when
// both exist and are the same file (a link, a hard link).
OutputConflict FindOutputConflict(const std::string& output, const BuildInputs& inputs);

// The outputs of every affiliate of one build, each put once into the form
// FindOutputConflict compares, so that checking one output against all the
// others takes constant time: a project of many affiliates is not checked in
// time that grows with the square of their count. Outputs are taken as they
// are on disk when this is made.
class AffiliateOutputs {
public:
    // The key and resolved output path of every affiliate; empty paths are
    // left out.
    explicit AffiliateOutputs(const std::vector<std::pair<uint16_t, std::string>>& outputs);

    // True when output names the output of an affiliate other than key, as
    // FindOutputConflict would find it among BuildInputs::otherOutputs.
    bool NamedByAnother(uint16_t key, const std::string& output) const;

private:
    friend class BuildOutputCheck;
    // NamedByAnother with output already in its comparable form.
    bool NamedByAnother(uint16_t key, const std::string& output,
                        const std::string& comparable) const;

    // The keys whose outputs resolve to one path: two distinct ones at most
    // are kept, enough to tell whether a key other than a given one is there.
    struct Owners {
        int32_t first = -1;
        int32_t second = -1;
    };
    std::unordered_map<std::string, Owners> m_byPath;
    // Outputs that exist with more than one name (hard links): only these can
    // be one file under paths that resolve differently.
    std::vector<std::pair<uint16_t, std::string>> m_linked;
};

// Everything one build must not replace: its inputs and the outputs of every
// affiliate, each put once into the form FindOutputConflict compares, so that
// checking an output resolves only that output on disk. Inputs and outputs are
// taken as they are on disk when this is made.
class BuildOutputCheck {
public:
    // inputs.otherOutputs is not used: outputs holds the key and resolved
    // output path of every affiliate.
    BuildOutputCheck(BuildInputs inputs,
                     const std::vector<std::pair<uint16_t, std::string>>& outputs);

    // What FindOutputConflict finds for output among the inputs, else
    // OtherAffiliate when output names the output of an affiliate other than
    // key, else None.
    OutputConflict Find(uint16_t key, const std::string& output) const;

private:
    BuildInputs m_inputs;
    std::string m_projectComparable;
    std::string m_setupComparable;
    AffiliateOutputs m_outputs;
};

// The build log's line for a refused output, with outputPath as the user
// wrote it: "Error! Output file '<path>' is the project file." and so on.
std::string OutputConflictLine(OutputConflict conflict, const std::string& outputPath);
