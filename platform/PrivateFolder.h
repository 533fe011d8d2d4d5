#pragma once

#include "platform/ProgramRun.h"
#include "platform/RawFile.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

// Makes a new folder with a random name inside parent that only the current
// user can enter, creating it atomically, so that no other user can have
// prepared it or a file in it. A name that exists already (a planted folder,
// link or file) is never used; another is drawn. Returns the folder's path
// with a trailing separator, or an empty text when none can be made.
std::string CreatePrivateFolder(const std::string& parent);

// Removes folder and everything in it; symbolic links inside are removed,
// never followed. True when nothing of it remains.
bool RemoveFolderTree(const std::string& folder);

// The user's own folder for cached files ($XDG_CACHE_HOME, else ~/.cache;
// the local application data folder on Windows), created private to the user
// when missing. Empty when there is none.
std::string UserCacheFolder();

// Which folders a private folder may be made in.
enum class FolderTrust {
    // A shared temporary folder: it belongs to the current user or to the
    // system's administrator, and when others may write in it, it is sticky
    // (nobody can rename or remove what another user made in it).
    SharedTemporary,
    // A folder of the current user's own: it belongs to the current user and
    // nobody else may write in it.
    OwnedByUser,
};

// A new folder with a random name, private to the current user, that is
// reached through what this object holds open, never by its path again: a
// folder renamed and replaced by a link meanwhile changes nothing of what
// this object reads, writes, starts or removes. The folder and everything in
// it are removed when the object goes, unless Keep was called. Moves only;
// one thread at a time.
class PrivateFolder {
public:
    struct Held; // what each system holds open

    PrivateFolder();
    PrivateFolder(PrivateFolder&& other) noexcept;
    PrivateFolder& operator=(PrivateFolder&& other) noexcept;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    ~PrivateFolder();

    // Makes the folder inside parent. parent is opened step by step, no step
    // through a symbolic link, and must meet trust, checked on the folder
    // opened; otherwise (or when parent is missing) nothing is made and the
    // result is not open.
    static PrivateFolder Create(const std::string& parent, FolderTrust trust);

    bool IsOpen() const { return held_ != nullptr; }

    // The folder's path with a trailing separator, for what needs a path:
    // the desktop's opener and messages.
    const std::string& Path() const;

    // A new file name in the folder, readable and writable by its owner only,
    // open for writing. A file of that name is replaced; nothing is ever
    // written through a link. Not open on failure.
    RawFile NewFile(const std::string& name);

    // Opens the file name in the folder for reading; a link is not followed.
    RawFile OpenFile(const std::string& name) const;

    // Runs the file name in the folder as a program with args and waits for
    // it (platform/ProgramRun.h). On Linux the file is started from what is
    // held open, so nothing put under its name meanwhile is started; on
    // Windows the file is held open so that it cannot be replaced or renamed
    // until the program ends.
    ProgramRun RunAndWait(const std::string& name, const std::vector<std::string>& args);

    // Hands the file name to the desktop's default opener, which needs a
    // path: the folder and the file are first made read-only, and the path is
    // checked to still name the file written, right before the opener starts.
    // The folder is kept for the opener. True when the opener was started.
    bool OpenDocument(const std::string& name);

    // Removes the folder and all in it now. True when nothing of it remains.
    bool Remove();

    // Leaves the folder in place when this object goes.
    void Keep();

private:
    std::unique_ptr<Held> held_;
};

} // namespace platform
