#pragma once

#include "platform/Environment.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using ScratchFolder = TempFolder;

// The launcher's tests know these by their older names.
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    WriteBytes(path, bytes);
}

inline std::string ReadFileBytes(const std::string& path) {
    return ReadBytes(path);
}

// Sets (or, given nullptr, removes) an environment variable for the life of
// the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        platform::SetEnvironmentValue(name, value);
    }
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv() { platform::SetEnvironmentValue(name_, had_ ? old_.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};
