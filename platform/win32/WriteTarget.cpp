#include "platform/WriteTarget.h"

namespace platform {

// Windows folders have no sticky bit that lets others plant links among a
// user's files, and creating a link takes a privilege; a writer replaces the
// name it is given (MoveFileEx replaces a link itself, never its target).
WriteTarget ResolveWriteTarget(const std::string& path) {
    WriteTarget target;
    target.path = path;
    return target;
}

} // namespace platform
