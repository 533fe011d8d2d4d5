#pragma once

#include <string>

// Writing a file under a new name beside its target and then putting it in
// the target's place, so that the target is always either the old file or
// the new one, whole.
namespace platform {

// A path in the folder of target under a random name that no file has yet
// (the target's name, a random part and ".tmp"). Nothing is created.
std::string TemporaryPathBeside(const std::string& target);

// Puts the file at from in the place of to, in one step. Whatever is at to
// (a file, or a symbolic link, which is replaced itself and never followed)
// is gone afterwards; anything else at to (a folder, a device) is refused. False when it failed;
// both names are then as they were.
bool ReplaceFile(const std::string& from, const std::string& to);

// Removes the file (or link) at path. False when it is still there.
bool RemoveFile(const std::string& path);

} // namespace platform
