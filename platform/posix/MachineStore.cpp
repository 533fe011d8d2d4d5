#include "platform/MachineStore.h"
#include "platform/PausePoint.h"
#include "platform/TerminationRequest.h"
#include "platform/Uuid.h"
#include "platform/shared/StoreKeyPath.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

constexpr size_t kPieceLength = 200;
constexpr size_t kMaxValueNameEscaped = 240;
// The machine-wide store is read by every user's programs, so its folders and
// files are world-readable whatever the writer's umask is; a user's own store
// is nobody else's business.
struct Modes {
    mode_t folder;
    mode_t file;
};

Modes ModesFor(MachineStore::Access access) {
    if (access == MachineStore::Access::OwnerOnly)
        return {0700, 0600};
    return {0755, 0644};
}

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ~Fd() { Reset(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Lower-cases and escapes bytes so that the result holds only a-z, 0-9, '-',
// '_' and "%XX": never a slash, a dot or an empty text for a non-empty input.
std::string Escape(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char raw : text) {
        char c = LowerAscii(raw);
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
            out += c;
        } else {
            auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

std::vector<std::string> KeyPieces(std::string_view keyPath) {
    std::vector<std::string> pieces;
    if (keyPath.size() > MachineStore::kMaxKeyPath)
        return pieces;
    std::string escaped = Escape(NormalizeKeyPath(keyPath));
    for (size_t at = 0; at < escaped.size(); at += kPieceLength)
        pieces.push_back("k." + escaped.substr(at, kPieceLength));
    return pieces;
}

std::string ValueFileName(std::string_view valueName) {
    std::string escaped = Escape(valueName);
    if (escaped.size() > kMaxValueNameEscaped)
        return {};
    return "v." + escaped;
}

// Creates folder and its missing parents, like "mkdir -p".
bool MakeFolders(const std::string& folder, mode_t mode) {
    if (folder.empty())
        return false;
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), mode) == 0) {
            ::chmod(part.c_str(), mode);
        } else if (errno != EEXIST) {
            return false;
        }
    }
    return true;
}

Fd OpenFolderAt(int parent, const std::string& name) {
    return Fd(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Opens the key's folder; with create, makes the root and the key first.
Fd OpenKey(const std::string& root, std::string_view keyPath, bool create, mode_t mode = 0) {
    std::vector<std::string> pieces = KeyPieces(keyPath);
    if (root.empty() || pieces.empty())
        return Fd();
    Fd folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid() && create && MakeFolders(root, mode))
        folder.Reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const std::string& piece : pieces) {
        if (!folder.Valid())
            break;
        Fd next = OpenFolderAt(folder.Get(), piece);
        if (!next.Valid() && errno == ENOENT && create) {
            bool made = ::mkdirat(folder.Get(), piece.c_str(), mode) == 0;
            if (!made && errno != EEXIST)
                return Fd();
            next = OpenFolderAt(folder.Get(), piece);
            if (made && next.Valid())
                ::fchmod(next.Get(), mode);
        }
        folder = std::move(next);
    }
    return folder;
}

std::string TemporaryName() {
    return "t." + NewUuidText();
}

// A name TemporaryName gives: "t." and a UUID's text.
bool IsTemporaryName(std::string_view name) {
    if (name.size() != 38 || name.substr(0, 2) != "t.")
        return false;
    for (size_t i = 2; i < name.size(); ++i) {
        const char c = name[i];
        const bool dash = i == 10 || i == 15 || i == 20 || i == 25;
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (dash ? c != '-' : !hex)
            return false;
    }
    return true;
}

// The file in every key's folder that writers lock while they stage and put
// values in place. Only the store's owner may open it, so that no other user
// can hold the lock.
constexpr char kWriterLockName[] = "w.lock";
// A writer that holds the lock longer than this is taken for hung.
constexpr std::chrono::seconds kLockWait{30};
// Staged files older than this are left over from a writer that was killed.
constexpr time_t kStaleStagedSeconds = 60;

// Takes the key's writer lock; an invalid descriptor when it cannot be had
// (or the program was asked to end while waiting).
Fd LockKey(int key) {
    Fd lock(::openat(key, kWriterLockName, O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!lock.Valid())
        return lock;
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    bool waited = false;
    while (::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || TerminationRequested() != 0 ||
            std::chrono::steady_clock::now() > deadline)
            return Fd();
        if (!waited)
            PausePoint("store-lock-busy");
        waited = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return lock;
}

// Removes the staged files that writers killed before their commit left.
void RemoveStaleStaged(int key) {
    const int listing = ::fcntl(key, F_DUPFD_CLOEXEC, 0);
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    const time_t oldest = ::time(nullptr) - kStaleStagedSeconds;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat info {};
        if (IsTemporaryName(entry->d_name) &&
            ::fstatat(key, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            info.st_mtime < oldest)
            ::unlinkat(key, entry->d_name, 0);
    }
    ::closedir(dir);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool ReadExactly(int fd, char* out, size_t length) {
    while (length > 0) {
        ssize_t n = ::read(fd, out, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        out += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

std::string EnvText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

MachineStore MachineStore::MachineWide() {
    std::string root = EnvText("VELKORA_STORE_DIR");
    return MachineStore(root.empty() ? std::string("/var/lib/velkora") : root);
}

MachineStore MachineStore::PerUser() {
    std::string root = EnvText("VELKORA_USER_STORE_DIR");
    if (!root.empty())
        return MachineStore(root, Access::OwnerOnly);
    std::string data = EnvText("XDG_DATA_HOME");
    if (!data.empty() && data[0] == '/')
        return MachineStore(data + "/velkora", Access::OwnerOnly);
    std::string home = EnvText("HOME");
    if (!home.empty())
        return MachineStore(home + "/.local/share/velkora", Access::OwnerOnly);
    return MachineStore(std::string());
}

std::string MachineStore::KeyFolder(std::string_view keyPath) {
    std::string folder;
    for (const std::string& piece : KeyPieces(keyPath)) {
        if (!folder.empty())
            folder += '/';
        folder += piece;
    }
    return folder;
}

struct StagedValues::State {
    struct File {
        std::string temporary; // its name while staged
        std::string target;    // the value's file name
    };
    Fd lock; // the key's writer lock, held until the values are in place
    Fd key;
    std::vector<File> files;
    size_t placed = 0; // files[0, placed) are in place

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        for (size_t i = placed; i < files.size(); ++i)
            ::unlinkat(key.Get(), files[i].temporary.c_str(), 0);
    }
};

StagedValues::StagedValues() = default;
StagedValues::StagedValues(std::unique_ptr<State> state) : state_(std::move(state)) {}
StagedValues::StagedValues(StagedValues&& other) noexcept = default;
StagedValues& StagedValues::operator=(StagedValues&& other) noexcept = default;
StagedValues::~StagedValues() = default;

bool StagedValues::Commit() {
    const std::unique_ptr<State> state = std::move(state_);
    if (!state)
        return false;
    const int key = state->key.Get();
    for (; state->placed < state->files.size(); ++state->placed) {
        const State::File& file = state->files[state->placed];
        if (state->placed > 0)
            PausePoint("store-between-values");
        if (::renameat(key, file.temporary.c_str(), key, file.target.c_str()) != 0)
            return false;
    }
    return true;
}

namespace {

// Writes bytes to a new file in the key's folder and flushes it to the disk;
// its name, or empty when that failed (nothing is left behind then).
std::string WriteTemporary(int key, mode_t mode, std::string_view bytes) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryName();
        Fd file(::openat(key, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         mode));
        if (!file.Valid()) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        const bool ok = ::fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), bytes) &&
                        ::fsync(file.Get()) == 0;
        if (::close(file.Release()) == 0 && ok)
            return temp;
        ::unlinkat(key, temp.c_str(), 0);
        return {};
    }
    return {};
}

// A value's file name and bytes.
struct ValueBytes {
    std::string fileName;
    std::string bytes;
};

StagedValues Stage(const std::string& root, MachineStore::Access access, std::string_view keyPath,
                   const std::vector<ValueBytes>& values) {
    for (const ValueBytes& value : values)
        if (value.fileName.empty())
            return {};
    const Modes modes = ModesFor(access);
    auto state = std::make_unique<StagedValues::State>();
    state->key = OpenKey(root, keyPath, true, modes.folder);
    if (!state->key.Valid())
        return {};
    // One writer at a time per key, from its first staged value to its last
    // one put in place: the values of a key always come from one writer.
    state->lock = LockKey(state->key.Get());
    if (!state->lock.Valid())
        return {};
    RemoveStaleStaged(state->key.Get());
    for (const ValueBytes& value : values) {
        std::string temp = WriteTemporary(state->key.Get(), modes.file, value.bytes);
        if (temp.empty())
            return {}; // the state's end removes the files staged so far
        state->files.push_back({std::move(temp), value.fileName});
    }
    return StagedValues(std::move(state));
}

} // namespace

bool MachineStore::SetValue(std::string_view keyPath, std::string_view valueName,
                            std::string_view bytes) const {
    return Stage(root_, access_, keyPath, {{ValueFileName(valueName), std::string(bytes)}})
        .Commit();
}

bool MachineStore::SetString(std::string_view keyPath, std::string_view valueName,
                             std::string_view text) const {
    return StageStrings(keyPath, {{valueName, text}}).Commit();
}

StagedValues MachineStore::StageStrings(std::string_view keyPath,
                                        std::initializer_list<NamedText> values) const {
    std::vector<ValueBytes> files;
    for (const auto& [name, text] : values) {
        std::string bytes(text);
        bytes += '\0';
        files.push_back({ValueFileName(name), std::move(bytes)});
    }
    return Stage(root_, access_, keyPath, files);
}

bool MachineStore::KeyExists(std::string_view keyPath) const {
    return OpenKey(root_, keyPath, false).Valid();
}

StoreRead MachineStore::ReadValue(std::string_view keyPath, std::string_view valueName,
                                  size_t maxBytes, StoredValue& out) const {
    Fd key = OpenKey(root_, keyPath, false);
    if (!key.Valid())
        return StoreRead::NoKey;
    std::string name = ValueFileName(valueName);
    if (name.empty())
        return StoreRead::NoValue;
    // The descriptor pins the file, as in QueryValue.
    Fd file(::openat(key.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < 0)
        return StoreRead::NoValue;
    // Judged by the size alone: a sparse file claims any size without holding it.
    if (static_cast<uint64_t>(info.st_size) > maxBytes)
        return StoreRead::MoreData;
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    if (!ReadExactly(file.Get(), bytes.data(), bytes.size()))
        return StoreRead::NoValue;
    out.bytes = std::move(bytes);
    out.writeTime = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return StoreRead::Ok;
}

StoreRead MachineStore::QueryValue(std::string_view keyPath, std::string_view valueName,
                                   void* buffer, uint32_t* size) const {
    Fd key = OpenKey(root_, keyPath, false);
    if (!key.Valid())
        return StoreRead::NoKey;
    std::string name = ValueFileName(valueName);
    if (name.empty() || size == nullptr)
        return StoreRead::NoValue;
    // The descriptor pins the file: a writer renaming a new value over it
    // does not change what this read sees. A pipe under the value's name must
    // not make the open wait for a writer; it is refused below.
    Fd file(::openat(key.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < 0 || static_cast<uint64_t>(info.st_size) > UINT32_MAX)
        return StoreRead::NoValue;
    auto needed = static_cast<uint32_t>(info.st_size);
    if (buffer == nullptr) {
        *size = needed;
        return StoreRead::Ok;
    }
    if (*size < needed) {
        *size = needed;
        return StoreRead::MoreData;
    }
    if (!ReadExactly(file.Get(), static_cast<char*>(buffer), needed))
        return StoreRead::NoValue;
    *size = needed;
    return StoreRead::Ok;
}

} // namespace platform
