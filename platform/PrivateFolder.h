#pragma once

#include <string>

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

} // namespace platform
