#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Writing a file under a new name beside its target and then putting it in
// the target's place, so that the target is always either the old file or
// the new one, whole.
namespace platform {

// A path in the folder of target under a random name that no file has yet
// (the target's name, a random part and ".tmp"). Nothing is created.
std::string TemporaryPathBeside(const std::string& target);

// Whether name is one that TemporaryPathBeside gives for a target whose file
// name is targetName (a leftover of a writer that may have died).
bool IsTemporaryNameFor(std::string_view name, std::string_view targetName);

// Removes, beside target, the temporary files of our own naming that a writer
// left when it was killed: older than a minute and not held open by a
// running writer (writers hold theirs locked until they are done). Only
// regular files of the current user are removed, never through a link.
// Returns how many were removed; best effort, failures are skipped.
size_t RemoveStaleTemporariesBeside(const std::string& target);

// Puts the file at from in the place of to, in one step. Whatever is at to
// (a file, or a symbolic link, which is replaced itself and never followed)
// is gone afterwards; anything else at to (a folder, a device) is refused. False when it failed;
// both names are then as they were.
bool ReplaceFile(const std::string& from, const std::string& to);

// Removes the file (or link) at path. False when it is still there.
bool RemoveFile(const std::string& path);

} // namespace platform
