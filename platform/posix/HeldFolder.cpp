// PrivateFolder on Linux: the folder and its trusted parent are held as
// descriptors; every file in it is reached with the *at calls.
#include "platform/PrivateFolder.h"

#include "platform/FileFaults.h"
#include "platform/ProcessStart.h"
#include "platform/posix/ArgumentVector.h"
#include "platform/posix/ChildRun.h"
#include "platform/posix/FolderRemoval.h"
#include "platform/posix/SystemRandom.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

void CloseIfOpen(int fd) {
    if (fd >= 0)
        ::close(fd);
}

// Opens path one step at a time, never through a symbolic link.
int OpenStepByStep(const std::string& path) {
    int fd =
        ::open(!path.empty() && path[0] == '/' ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    size_t at = 0;
    while (fd >= 0 && at < path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos)
            end = path.size();
        const std::string step = path.substr(at, end - at);
        at = end + 1;
        if (step.empty() || step == ".")
            continue;
        const int next = ::openat(fd, step.c_str(), kFolderFlags);
        ::close(fd);
        fd = next;
    }
    return fd;
}

bool Trusted(int fd, FolderTrust trust) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    const uid_t user = ::geteuid();
    const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    if (trust == FolderTrust::OwnedByUser)
        return info.st_uid == user && !othersWrite;
    return (info.st_uid == user || info.st_uid == 0) &&
           (!othersWrite || (info.st_mode & S_ISVTX) != 0);
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

struct DescriptorExec {
    int fd;
    char* const* argv;
};

// In the child: the descriptor must stay open across the exec, so that a
// "#!" script's interpreter can read the script through /proc/self/fd.
void ExecDescriptor(const void* context) {
    const auto* run = static_cast<const DescriptorExec*>(context);
    const int flags = ::fcntl(run->fd, F_GETFD);
    if (flags >= 0)
        ::fcntl(run->fd, F_SETFD, flags & ~FD_CLOEXEC);
    ::fexecve(run->fd, run->argv, environ);
}

} // namespace

struct PrivateFolder::Held {
    int parent = -1; // the trusted folder it was made in
    int folder = -1;
    std::string name; // its name in parent
    std::string path; // with a trailing '/'
    bool keep = false;

    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (!keep)
            RemoveNow();
        CloseIfOpen(folder);
        CloseIfOpen(parent);
    }

    bool RemoveNow() {
        if (parent < 0 || folder < 0)
            return false;
        ::fchmod(folder, 0700); // a document's folder was made read-only
        const int contents = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
        if (contents >= 0)
            posix::RemoveFolderContents(contents);
        // Only the folder this object made goes, whatever took its name.
        struct stat mine {};
        struct stat named {};
        if (::fstat(folder, &mine) != 0 ||
            ::fstatat(parent, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !SameInode(mine, named))
            return false;
        return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
    }
};

PrivateFolder::PrivateFolder() = default;
PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept = default;
PrivateFolder& PrivateFolder::operator=(PrivateFolder&& other) noexcept = default;
PrivateFolder::~PrivateFolder() = default;

PrivateFolder PrivateFolder::Create(const std::string& parent, FolderTrust trust) {
    PrivateFolder result;
    if (parent.empty())
        return result;
    auto held = std::make_unique<Held>();
    held->parent = OpenStepByStep(parent);
    if (held->parent < 0 || !Trusted(held->parent, trust))
        return result;
    for (int attempt = 0; attempt < 100 && held->folder < 0; ++attempt) {
        std::string name = RandomFolderName();
        if (name.empty())
            return result;
        // mkdir never reuses an existing name, link or file: the folder is
        // new and ours from its first moment.
        if (::mkdirat(held->parent, name.c_str(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            return result;
        }
        held->name = std::move(name);
        held->folder = ::openat(held->parent, held->name.c_str(), kFolderFlags);
    }
    struct stat info {};
    // The umask may have taken rights away; it can never have added any.
    if (held->folder < 0 || ::fstat(held->folder, &info) != 0 || info.st_uid != ::geteuid() ||
        ::fchmod(held->folder, 0700) != 0)
        return result; // Held's end removes what was made
    std::string base = parent;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    held->path = (base == "/" ? base : base + "/") + held->name + "/";
    result.held_ = std::move(held);
    return result;
}

const std::string& PrivateFolder::Path() const {
    static const std::string kNone;
    return held_ ? held_->path : kNone;
}

RawFile PrivateFolder::NewFile(const std::string& name) {
    if (!held_ || !IsPlainName(name) || !FileFaults::Allow(FileOperation::Open))
        return RawFile();
    ::unlinkat(held_->folder, name.c_str(), 0);
    return RawFile(::openat(held_->folder, name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
}

RawFile PrivateFolder::OpenFile(const std::string& name) const {
    if (!held_ || !IsPlainName(name) || !FileFaults::Allow(FileOperation::Open))
        return RawFile();
    return RawFile(
        ::openat(held_->folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
}

ProgramRun PrivateFolder::RunAndWait(const std::string& name,
                                     const std::vector<std::string>& args) {
    RawFile file = OpenFile(name);
    struct stat info {};
    if (!file.IsOpen() || ::fstat(file.m_fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fchmod(file.m_fd, 0700) != 0)
        return {};
    const std::string shownPath = held_->path + name;
    std::vector<char*> argv = posix::ArgumentVector(shownPath, args);
    const DescriptorExec exec{file.m_fd, argv.data()};
    return posix::RunChildAndWait(ExecDescriptor, &exec);
}

bool PrivateFolder::OpenDocument(const std::string& name) {
    RawFile file = OpenFile(name);
    struct stat held {};
    struct stat named {};
    struct stat folder {};
    struct stat folderNamed {};
    if (!file.IsOpen() || ::fstat(file.m_fd, &held) != 0 || !S_ISREG(held.st_mode) ||
        ::fchmod(file.m_fd, 0400) != 0 || ::fchmod(held_->folder, 0500) != 0)
        return false;
    const std::string path = held_->path + name;
    const std::string folderPath = held_->path.substr(0, held_->path.size() - 1);
    if (::fstat(held_->folder, &folder) != 0 || ::lstat(folderPath.c_str(), &folderNamed) != 0 ||
        !SameInode(folder, folderNamed) || ::lstat(path.c_str(), &named) != 0 ||
        !SameInode(held, named))
        return false;
    if (!OpenWithDesktop(path))
        return false;
    Keep();
    return true;
}

bool PrivateFolder::Remove() {
    if (!held_)
        return false;
    const bool removed = held_->RemoveNow();
    held_->keep = true; // nothing more to do at the end
    held_.reset();
    return removed;
}

void PrivateFolder::Keep() {
    if (held_)
        held_->keep = true;
}

} // namespace platform
