#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

class CAffProject;
class CProjectSnapshot;

// Reads path into project and makes the file's folder the project's base
// directory. On failure the file's message goes to err and false is returned.
bool LoadCliProject(const std::string& path, CAffProject& project, std::ostream& err);

// The same for commands that only look at the affiliates.
bool LoadCliSnapshot(const std::string& path, CProjectSnapshot& snapshot, std::ostream& err);

// Points a fresh project at path (for a file that does not exist yet).
void AttachCliProject(const std::string& path, CAffProject& project);

// False, with a message naming key and path on err, when project has no
// affiliate with key.
bool RequireAffiliate(const CAffProject& project, uint16_t key, const std::string& path,
                      std::ostream& err);

// LoadCliProject, then RequireAffiliate for every key: a key that names
// nobody is a typing mistake, not a row deleted meanwhile, so the command
// refuses rather than do less than was asked for.
bool LoadCliProjectWithAffiliates(const std::string& path, const std::vector<uint16_t>& keys,
                                  CAffProject& project, std::ostream& err);

// Writes project to path; on failure the message goes to err.
bool SaveCliProject(const std::string& path, const CAffProject& project, std::ostream& err);

// The same for a snapshot: the affiliates are written as they were read.
bool SaveCliSnapshot(const std::string& path, const CProjectSnapshot& snapshot, std::ostream& err);

// A modification time as the affiliate list shows it: "%Y-%m-%d %H:%M", local time.
std::string FormatModifiedTime(int32_t seconds);
