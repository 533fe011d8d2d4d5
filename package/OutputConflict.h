#pragma once

#include <string>
#include <vector>

// Which input of a build a package's output path would overwrite.
enum class OutputConflict {
    None,
    ProjectFile,    // the project file itself
    SetupFile,      // the product's setup file
    OtherAffiliate, // the output of another affiliate of the project
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

// The build log's line for a refused output, with outputPath as the user
// wrote it: "Error! Output file '<path>' is the project file." and so on.
std::string OutputConflictLine(OutputConflict conflict, const std::string& outputPath);
