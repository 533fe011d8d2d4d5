#pragma once

#include <string>

namespace platform {

// The current user's private folder inside the temporary folder ($TMPDIR,
// else /tmp): "velkora-<uid>", created with mode 0700 when missing. The
// temporary folder is shared between users, so the folder is accepted only
// when it is a real folder (not a symbolic link) owned by this user; group
// and other rights found on it are removed. Returns the path with a trailing
// slash, or an empty text when no such folder can be had.
std::string UserTempFolder();

} // namespace platform
