#pragma once

#include "package/SetupComposition.h"
#include "package/SfxEntry.h"
#include "package/SfxResult.h"
#include "package/TrailerStatus.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Ids of the template images under type "SFX_EXE".
inline constexpr int kSfxTemplateSelfkit = 129;   // the selfkit program
inline constexpr int kSfxTemplateSetupStub = 130; // the setupstub launcher

// Writer and reader of a package: a template image, the raw payload of each
// entry back to back, and a trailer listing the entries (see
// package/PackageTrailer.h). An instance is used either as a writer (AddFile,
// Build) or as a reader (ReadDirectory or ExtractAll, then GetEntry), by one
// thread at a time. Payloads go from file to file through the system's own
// copy where it has one (platform/FileCopy.h); no payload is ever held in
// memory as a whole.
class CSfxPackage {
public:
    CSfxPackage() = default;

    // Adds the file at path as the next entry: its current length becomes the
    // entry size, the part of path after the last '/' or '\\' (the whole path
    // when there is none) becomes its name. False, with the table unchanged,
    // when the table already holds 256 entries, the file cannot be opened for
    // reading, is not a regular file, is 2 GiB or larger, or its name could not
    // be read back (empty, 1000 bytes or longer, "." or "..").
    bool AddFile(const std::string& path);

    // Adds bytes as the next entry under name, without any file: the small
    // information files are made in memory. False, with the table unchanged,
    // when the table is full, name is not a valid entry name, or bytes reach
    // 2 GiB.
    bool AddBytes(const std::string& name, std::string bytes);

    // Adds the file at path as the next entry with the length size it had when
    // its reader took its bytes, without opening it: a server that holds the
    // bytes composes with them. False as AddFile for the name and the table.
    bool AddFileOfSize(const std::string& path, int64_t size);

    // Writes image + payloads + trailer to outputPath, using the template image
    // linked into the program under "SFX_EXE" and templateId (129 selfkit,
    // 130 setupstub). The package is written to a new file beside outputPath,
    // made executable by its owner and then renamed over outputPath, so
    // outputPath holds the previous file or the new package, whole; a symbolic
    // link at outputPath is replaced, never written through, and one that the
    // link rule refuses (platform/WriteTarget.h) fails the build with
    // SFX_ERR_CREATE before anything is written. A failed build
    // leaves the previous file and no temporary file. SFX_ERR_EMPTY or
    // SFX_ERR_TEMPLATE: nothing was written. SFX_ERR_CREATE: the package
    // cannot be created, written or put in place (also when the output is one
    // of the sources, or the package would reach 2 GiB). SFX_ERR_SOURCE: a
    // source cannot be opened or holds fewer bytes than AddFile recorded; only
    // the recorded length is copied when it has grown.
    SfxResult Build(int templateId, const std::string& outputPath);

    // Build with the given image bytes instead of an embedded template.
    SfxResult BuildWithImage(const void* image, size_t imageSize, const std::string& outputPath);
    SfxResult BuildWithImage(std::shared_ptr<const std::string> image,
                             const std::string& outputPath);

    // The package's bytes as pieces: the image, each payload (a file's range
    // or bytes in memory) and the trailer. Sets every entry's offset. What
    // Build writes is exactly this composition.
    SetupComposition Compose(std::shared_ptr<const std::string> image);

    // Empties the table, then reads the directory of the package at path.
    // SFX_ERR_OPEN: cannot be opened or read. SFX_ERR_MARKER: no marker at the
    // end or a trailer that does not fit the file (counts, lengths, names,
    // offsets and sizes are all checked). SFX_ERR_EMPTY: count 0. Source paths
    // of the entries stay empty.
    SfxResult ReadDirectory(const std::string& path);

    // Why the last ReadDirectory refused the trailer (ReadFailed when the file
    // could not be opened or read at all).
    const TrailerStatus& DirectoryStatus() const { return m_trailerStatus; }

    // Reads the directory of the running program's own file and extracts every
    // entry into targetFolder (ExtractFrom with the own file's path).
    SfxResult ExtractAll(const std::string& targetFolder);

    // Reads the directory of packagePath and extracts every entry, last entry
    // first, as targetFolder/name; an existing file of that name is replaced.
    // Never writes outside targetFolder and never follows a symbolic link: an
    // existing name is unlinked and the file is created exclusively. An entry
    // whose file cannot be created is skipped (SFX_OK all the same).
    // Directory results other than SFX_OK are passed on; SFX_ERR_SOURCE: the
    // package cannot be opened again; SFX_ERR_OPEN: the package cannot be read
    // or ends early (the partly written entry is removed); SFX_ERR_CREATE: an
    // extracted file cannot be written (it is removed).
    SfxResult ExtractFrom(const std::string& packagePath, const std::string& targetFolder);

    // Reads the first min(size, maxBytes) bytes of entry index's payload from
    // the package last read by ReadDirectory, without extracting anything.
    // SFX_ERR_OPEN when index is out of range or the package cannot be read.
    SfxResult ReadEntryBytes(int index, size_t maxBytes, std::string& out) const;

    // A copy of entry index; an empty entry when index is out of range.
    CSfxEntry GetEntry(int index) const;
    int GetCount() const { return m_nCount; }

private:
    // Writes the whole package to the new file at path.
    SfxResult WritePackage(std::shared_ptr<const std::string> image, const std::string& path);

    std::array<CSfxEntry, 256> m_entries{};
    int32_t m_nCount = 0;
    std::string m_strPackagePath; // the package ReadDirectory read last
    TrailerStatus m_trailerStatus;
};
