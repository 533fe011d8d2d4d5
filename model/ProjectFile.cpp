#include "model/ProjectFile.h"

#include "model/AffProject.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/ProjectArchive.h"
#include "model/ProjectSnapshot.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"

#include <new>
#include <utility>

namespace {

constexpr const char* kOpenFailed = "Failed to open document.";
constexpr const char* kSaveFailed = "Failed to save document.";

ProjectFileResult FileFailure(const platform::FileStatus& status, const std::string& path,
                              const char* generic) {
    std::string text = platform::FileErrorText(status.error, path);
    if (text.empty())
        return {ProjectFileResult::Code::OtherError, generic};
    ProjectFileResult result{ProjectFileResult::Code::FileError, std::move(text)};
    result.osCode = status.osCode;
    return result;
}

// Writes what encode gives atomically; running out of memory while encoding
// is a failed save, not a crash.
template <typename Encode>
ProjectFileResult SaveBytes(const std::string& path, Encode encode,
                            std::string* written = nullptr) {
    try {
        std::string bytes = encode();
        const platform::FileStatus status = platform::WriteFileAtomically(path, bytes);
        if (!status.Ok())
            return FileFailure(status, path, kSaveFailed);
        if (written)
            *written = std::move(bytes);
        return {};
    } catch (const std::bad_alloc&) {
        return {ProjectFileResult::Code::OtherError, kSaveFailed};
    }
}

} // namespace

std::string EncodeProject(const CAffProject& project) {
    // Sized first, so that a big project needs one buffer of its exact size.
    CArchiveWriter sizing = CArchiveWriter::Sizing();
    StoreProject(sizing, project);
    CArchiveWriter ar;
    ar.Reserve(sizing.Size());
    StoreProject(ar, project);
    return ar.TakeBytes();
}

std::string LegacyTextNotice(const std::string& path) {
    return path +
           ": texts read as Windows-1252 and converted to UTF-8; saving stores them as UTF-8.";
}

ProjectFileResult DecodeProject(std::string_view bytes, CAffProject& project) {
    project.Clear();
    if (bytes.empty())
        return {};
    CArchiveReader ar(bytes);
    if (!LoadProject(ar, project))
        return {ProjectFileResult::Code::BadFormat, kUnexpectedFileFormat};
    if (!ar.SawInvalidUtf8())
        return {};
    // Decided for the whole file: one text that is not UTF-8 means the file
    // came from a system that stored its code page.
    project.Clear();
    CArchiveReader legacy(bytes, CArchiveReader::NarrowTexts::Windows1252);
    if (!LoadProject(legacy, project))
        return {ProjectFileResult::Code::BadFormat, kUnexpectedFileFormat};
    ProjectFileResult result;
    result.readAsWindows1252 = true;
    return result;
}

ProjectFileResult LoadProjectFile(const std::string& path, CAffProject& project) {
    std::string bytes;
    return LoadProjectFile(path, project, bytes);
}

ProjectFileResult LoadProjectFile(const std::string& path, CAffProject& project,
                                  std::string& bytes) {
    try {
        const platform::FileStatus status = platform::ReadFileBytes(path, bytes);
        if (!status.Ok()) {
            project.Clear();
            return FileFailure(status, path, kOpenFailed);
        }
        return DecodeProject(bytes, project);
    } catch (const std::bad_alloc&) {
        return {ProjectFileResult::Code::OtherError, kOpenFailed};
    }
}

ProjectFileResult LoadProjectSnapshot(const std::string& path, CProjectSnapshot& snapshot) {
    try {
        std::string bytes;
        const platform::FileStatus status = platform::ReadFileBytes(path, bytes);
        if (!status.Ok()) {
            (void)snapshot.Decode({});
            return FileFailure(status, path, kOpenFailed);
        }
        return snapshot.Decode(std::move(bytes));
    } catch (const std::bad_alloc&) {
        return {ProjectFileResult::Code::OtherError, kOpenFailed};
    }
}

ProjectFileResult SaveProjectSnapshot(const std::string& path, const CProjectSnapshot& snapshot) {
    return SaveBytes(path, [&] { return snapshot.Encode(); });
}

ProjectFileResult SaveProjectFile(const std::string& path, const CAffProject& project) {
    return SaveBytes(path, [&] { return EncodeProject(project); });
}

ProjectFileResult SaveProjectFile(const std::string& path, const CAffProject& project,
                                  std::string& bytesWritten) {
    return SaveBytes(
        path, [&] { return EncodeProject(project); }, &bytesWritten);
}
