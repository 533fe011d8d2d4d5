#pragma once

#include <string>
#include <vector>

// Folders that a person asked for, made one below the other.
namespace platform {

// True when path names an existing folder (or a link to one).
bool IsExistingFolder(const std::string& path);

// What became of a chain of folders: made (or already there), or the first
// folder of the chain that is not a folder afterwards.
struct FolderChainResult {
    bool made = false;
    std::string failedFolder; // when not made: that folder's path
};

// Makes root/names[0], then root/names[0]/names[1], and so on, keeping the
// folders that exist already; after each step that folder must be a folder.
// root is never made: a missing root fails with root as the failed folder.
// The names are single folder names (no separators), root ends with its
// separator ("/", "C:\"). On Linux each folder is reached from the one above
// it through its descriptor: a link in the chain is followed only when it
// belongs to the user or to the system, never when another user planted it.
// On Windows each folder is made by its path, as the system makes folders.
FolderChainResult CreateFolderChain(const std::string& root, const std::vector<std::string>& names);

} // namespace platform
