#pragma once

namespace platform::posix {

// Removes what is in the open folder dirFd, depth first, and closes dirFd.
// Entries are looked at without following links, so a link inside is
// removed, never what it names.
void RemoveFolderContents(int dirFd);

// Removes the entry name of the open folder parentFd, a folder with all in it.
void RemoveFolderEntry(int parentFd, const char* name);

} // namespace platform::posix
