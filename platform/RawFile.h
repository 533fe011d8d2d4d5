#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

enum class FileCopyResult : int;
class RawFile;
FileCopyResult CopyFileBytes(RawFile& from, int64_t fromPosition, RawFile& to, int64_t length);

// An open file read and written as raw bytes, closed when it goes out of
// scope. Moves only.
class RawFile {
public:
    RawFile() = default;
    RawFile(RawFile&& other) noexcept;
    RawFile& operator=(RawFile&& other) noexcept;
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;
    ~RawFile();

    // Opens an existing file for reading; never waits on a pipe or device.
    static RawFile OpenRead(const std::string& path);
    // Creates path, or truncates it when it exists, for writing.
    static RawFile CreateTruncate(const std::string& path);
    // Creates a brand-new file at path for writing. An existing file (or a
    // symbolic link) of that name is unlinked first and the new file is created
    // exclusively, so a link planted there is never followed; a directory of
    // that name is left alone and the call fails.
    static RawFile CreateReplacing(const std::string& path);
    // Opens the existing file at path for writing over its bytes in place
    // (nothing is cut; the position is 0): only a regular file of the current
    // user (on Windows, any regular file) that has no other name, never
    // through a link. Not open otherwise, also when there is no file.
    static RawFile OpenOwnForRewrite(const std::string& path);

    bool IsOpen() const { return m_fd >= 0; }
    // Length of the file in bytes; -1 on failure.
    int64_t Size() const;
    // True when the file is a regular file (not a directory, device or pipe).
    bool IsRegular() const;
    bool SeekTo(int64_t position);
    // The current position in the file; -1 on failure.
    int64_t Position() const;
    // Reads up to length bytes; the count read, 0 at the end, -1 on failure.
    // Retries interrupted reads.
    long Read(void* buffer, size_t length);
    // Reads exactly length bytes; false at an early end or on failure.
    bool ReadAll(void* buffer, size_t length);
    // Writes all length bytes; false on failure.
    bool WriteAll(const void* buffer, size_t length);
    // Cuts or extends (with zero bytes) the file to length bytes; the
    // position is then anywhere. False on failure.
    bool Resize(int64_t length);
    // Closes the file; false when the system reports a failure (for a written
    // file, a write that did not reach the disk).
    bool Close();

    // Identifies the underlying file: two open files with equal ids are one file.
    bool SameFileAs(const std::string& path) const;

private:
    // Hands both descriptors to the system's own copy (platform/FileCopy.h).
    friend FileCopyResult CopyFileBytes(RawFile&, int64_t, RawFile&, int64_t);
    // Opens files through the folder it holds.
    friend class PrivateFolder;

    explicit RawFile(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

} // namespace platform
