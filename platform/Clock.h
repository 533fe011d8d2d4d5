#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace platform {

// A source of the current time in seconds since 1970. Code whose behaviour
// depends on "now" takes one, so that tests can set the time.
using Clock = std::function<std::time_t()>;

// The system's current time.
std::time_t SystemNow();

// Reads the time zone again from the environment (TZ), for local times after
// TZ was changed.
void ReloadLocalTimeZone();

// t broken down as local time; false when t cannot be represented.
bool LocalTimeParts(std::time_t t, std::tm& parts);

// t as local time, formatted with the strftime-style format ("%H:%M:%S").
// Empty when t cannot be represented.
std::string FormatLocalTime(std::time_t t, const char* format);

} // namespace platform
