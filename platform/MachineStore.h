#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// Outcome of reading one value; the same four cases as a registry query.
enum class StoreRead {
    Ok,       // value copied, or only its size reported (null buffer)
    NoKey,    // the key does not exist or cannot be opened
    NoValue,  // the key exists but the value is missing or unreadable
    MoreData, // the buffer is too small; size holds the bytes needed
};

// A value read whole, with the time it was written (a count that grows with
// time, comparable between the stores of one machine).
struct StoredValue {
    std::string bytes;
    int64_t writeTime = 0;
};

// Strings of one key written ahead by MachineStore::StageStrings and put in
// place by Commit. Dropped without Commit, it leaves every value as it was.
// Movable; one thread at a time.
class StagedValues {
public:
    struct State; // what each system keeps between the two steps

    StagedValues();
    explicit StagedValues(std::unique_ptr<State> state);
    StagedValues(StagedValues&& other) noexcept;
    StagedValues& operator=(StagedValues&& other) noexcept;
    ~StagedValues();

    // True when every value was staged and none has been committed yet.
    bool Ready() const { return state_ != nullptr; }

    // Puts the values in place in the order they were staged, each in one
    // step. False when not Ready or when one of them could not be put in
    // place; the ones before it stay, the rest are dropped. Not Ready after.
    bool Commit();

private:
    std::unique_ptr<State> state_;
};

// A store of keys holding named byte values, kept as folders and files below
// one root folder. Key paths are backslash-separated ("Software\Velkora\X");
// key and value names compare without regard to ASCII letter case; empty
// path components are ignored, so a trailing backslash names the same key.
//
// On disk every key is one folder. The lower-cased key path is escaped (bytes
// other than a-z, 0-9, '-' and '_' become "%XX") and cut into pieces of at
// most 200 bytes; piece i is a folder "k.<piece>" inside piece i-1, the first
// inside the root. A value is the file "v.<escaped lower-cased name>" in the
// key's folder and holds exactly the value's bytes. No key text can name a
// path outside the root, and no symbolic link below the root is followed.
//
// The machine-wide store is readable by every user (folders 0755, values
// 0644); a user's own store is private to that user (0700 and 0600), and so
// are the folders made above its root.
//
// Writes are atomic: a value is written to a temporary file in the key's
// folder, flushed to the disk and renamed over the old one, so readers see
// the old or the new value whole, also after a crash, and of two writers one
// whole value remains.
class MachineStore {
public:
    enum class Access { Everyone, OwnerOnly };

    explicit MachineStore(std::string rootFolder, Access access = Access::Everyone)
        : root_(std::move(rootFolder)), access_(access) {}

    // The machine-wide store: $VELKORA_STORE_DIR, else /var/lib/velkora.
    static MachineStore MachineWide();
    // The current user's store: $VELKORA_USER_STORE_DIR, else
    // ${XDG_DATA_HOME:-$HOME/.local/share}/velkora. Its root is empty (every
    // write fails, every read finds nothing) when none of these is set.
    static MachineStore PerUser();

    const std::string& Root() const { return root_; }

    // Creates the key (and the root and missing parents of the root) when
    // needed and replaces the value with bytes. False when anything fails.
    bool SetValue(std::string_view keyPath, std::string_view valueName,
                  std::string_view bytes) const;
    // Stores text followed by its terminator, so the value is size + 1 bytes.
    bool SetString(std::string_view keyPath, std::string_view valueName,
                   std::string_view text) const;

    // The slow first step of SetString for several values of one key, which a
    // caller can take while it does other work: each text with its terminator
    // is written and made durable where no reader looks (creating the key
    // when needed); no value changes before StagedValues::Commit. Not Ready
    // when any of them cannot be written; nothing is left behind then.
    using NamedText = std::pair<std::string_view, std::string_view>; // name, text
    StagedValues StageStrings(std::string_view keyPath,
                              std::initializer_list<NamedText> values) const;

    bool KeyExists(std::string_view keyPath) const;

    // Size-in/size-out read. size must not be null. With a null buffer the
    // value's size is stored in *size (Ok). When *size is below the value's
    // size, *size becomes the size needed (MoreData) and buffer is left as it
    // is. On NoKey and NoValue neither buffer nor *size is touched.
    StoreRead QueryValue(std::string_view keyPath, std::string_view valueName, void* buffer,
                         uint32_t* size) const;

    // Reads the whole value and its write time into out. A value larger than
    // maxBytes is refused from its size alone, before any byte is read
    // (MoreData, out untouched); so are NoKey and NoValue. A writer replacing
    // the value meanwhile never makes this see part of one value.
    StoreRead ReadValue(std::string_view keyPath, std::string_view valueName, size_t maxBytes,
                        StoredValue& out) const;

    // The folder path of a key relative to the root ("k.a/k.b"), or empty
    // when the key path has no components or is too long to be stored.
    static std::string KeyFolder(std::string_view keyPath);

    // Key paths longer than this are refused by every operation: a key path
    // and its terminator fit 1000 bytes, and the store's paths stay well
    // below the system's path length limit.
    static constexpr size_t kMaxKeyPath = 999;

private:
    std::string root_;
    Access access_;
};

} // namespace platform
