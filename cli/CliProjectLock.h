#pragma once

#include "cli/CliArgs.h"

#include "platform/FileLock.h"

#include <iosfwd>
#include <string>

class CliCommand;

// The --wait SECONDS option of every command that writes a project.
CliOption WaitOption();

// False, with a usage error on err, when --wait was given a value that is not
// a number of seconds from 0 to 86400.
bool WaitOptionValid(const CliCommand& command, const CliArgs& args, std::ostream& err);

// Takes the writer lock of the project at path into lock, waiting as long as
// --wait says (5 seconds when not given). Every command that changes a project
// holds it from reading the file to putting the new one in place, so two
// writers never start from the same content. Returns kExitOk when locked;
// otherwise the message is on err and the result is the exit code: a usage
// error for a bad --wait, a failure when the lock stayed taken or cannot be
// used. Unless creating, a project that does not exist is reported as the
// load would report it, and no lock file is left beside a mistyped name.
int LockCliProject(const CliCommand& command, const CliArgs& args, const std::string& path,
                   platform::FileLock& lock, std::ostream& err, bool creating = false);
