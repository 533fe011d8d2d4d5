#pragma once

#include <string>
#include <string_view>

class CAffProject;
class CProjectSnapshot;

// The message of a file whose content is not a project.
inline constexpr const char* kUnexpectedFileFormat = "Unexpected file format.";

// Outcome of loading or saving a project file. message is the text shown to
// the user ("Unexpected file format.", or a file-error text with the path).
struct ProjectFileResult {
    enum class Code { Ok, BadFormat, FileError, OtherError };
    Code code = Code::Ok;
    std::string message;
    // For FileError: the system's code, so a caller can give its reason.
    int osCode = 0;
    // The file's 8-bit texts were not all UTF-8: they were read as Windows-1252
    // and converted (see LegacyTextNotice).
    bool readAsWindows1252 = false;
    bool Ok() const { return code == Code::Ok; }
};

// The line said once when a project file's texts were read as Windows-1252.
std::string LegacyTextNotice(const std::string& path);

// Reads a ".vkp" file into project (cleared first). A 0-byte file gives an
// empty project. On failure the project holds whatever was read and the caller
// discards it. m_strProjectPath is not touched.
ProjectFileResult LoadProjectFile(const std::string& path, CAffProject& project);

// Writes the project atomically: a temporary file in the same folder, flushed,
// then renamed over path. On failure the previous file is left untouched.
ProjectFileResult SaveProjectFile(const std::string& path, const CAffProject& project);

// The same, handing back the bytes read or written, so that a program can
// tell later whether the file still holds them (FileChangeCheck).
ProjectFileResult LoadProjectFile(const std::string& path, CAffProject& project,
                                  std::string& bytesRead);
ProjectFileResult SaveProjectFile(const std::string& path, const CAffProject& project,
                                  std::string& bytesWritten);

// The same for a snapshot, whose affiliates point into the file's bytes: for
// commands that look at a project or change only its product.
ProjectFileResult LoadProjectSnapshot(const std::string& path, CProjectSnapshot& snapshot);
ProjectFileResult SaveProjectSnapshot(const std::string& path, const CProjectSnapshot& snapshot);

// The bytes of the project file, and their reader, for callers without files.
std::string EncodeProject(const CAffProject& project);
ProjectFileResult DecodeProject(std::string_view bytes, CAffProject& project);
