#pragma once

namespace platform {

// Sets the process's environment variable name to value, or removes it when
// value is null; what std::getenv returns afterwards and what programs
// started later inherit both change. False when the system refuses.
bool SetEnvironmentValue(const char* name, const char* value);

} // namespace platform
