#pragma once

#include "platform/ProgramRun.h"
#include "platform/RawFile.h"

#include <string>

namespace platform {

// Where an installer database stays after its setup ended, so that Windows
// Installer finds its source again for repairs and changes: the folder
// <program data>\Velkora\<product key>\ of the machine. Only an elevated
// launcher keeps one; elsewhere (and on Linux, where there is no such
// installer) nothing is available and the per-run folder is used as before.

// The security descriptor the cache folders (and what is made in them) get,
// set explicitly and protected from inheritance: owned by Administrators;
// SYSTEM and Administrators may do anything, Users may read and run; nobody
// else has any right.
inline constexpr const char* kInstallerCacheSddl =
    "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// True when the running program holds an elevated administrator's token.
// Always false on Linux.
bool RunningElevated();

// Installs the installer database read from source (from its current
// position to the end) from the product's cache folder: the folder and its
// parent are made (or taken over) with kInstallerCacheSddl, never through a
// link or junction; every other entry of the product's folder is removed, so
// that it holds one package, the newest; the copy is written there as
// fileName and installed with the system's msiexec.exe ("/i" and the copy's
// path, then the raw rest of the running program's own command line), which
// is waited for. The folders and the copy stay open without delete sharing
// until the installer ends, so that nobody renames or replaces them
// meanwhile. NotStarted when productKey or fileName is no plain name, the
// copy cannot be kept or the installer not started; always on Linux.
ProgramRun InstallFromInstallerCache(const std::string& productKey, RawFile& source,
                                     const std::string& fileName);

} // namespace platform
