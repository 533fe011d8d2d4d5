#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a file held at one moment: its length, its last write time and a hash
// of its bytes.
struct FileIdentity {
    uint64_t size = 0;
    int64_t modified = 0; // seconds since 1970
    uint64_t contentHash = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of bytes as a file last written at modified.
FileIdentity IdentityOfBytes(std::string_view bytes, int64_t modified);

// Remembers the file a program loaded or last saved, and tells whether the
// file on disk is still that one, so that a save never replaces a change
// made by another program (a script, a second window) without asking. The
// content decides: the same bytes written again are no change, while a
// different content of the same size and time is one. No toolkit, no state
// beyond the remembered identity.
class FileChangeCheck {
public:
    enum class State {
        Unknown, // nothing remembered (a new project)
        Same,    // the file holds what was loaded or saved
        Changed, // another content is there now
        Missing  // the file is gone or cannot be read
    };

    // After loading bytes from path, or saving them to it.
    void Remember(const std::string& path, std::string_view bytes);
    void Forget();

    // Reads the remembered file and compares it with what was remembered.
    State Check() const;
    // The identity of the file on disk now; nothing when it cannot be read.
    std::optional<FileIdentity> CurrentIdentity() const;

    const std::string& Path() const { return m_path; }
    const std::optional<FileIdentity>& Remembered() const { return m_identity; }

private:
    std::string m_path;
    std::optional<FileIdentity> m_identity;
};
