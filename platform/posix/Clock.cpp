#include "platform/Clock.h"

#include <chrono>
#include <time.h>

namespace platform {

std::time_t SystemNow() {
    return std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
}

void ReloadLocalTimeZone() {
    ::tzset();
}

bool LocalTimeParts(std::time_t t, std::tm& parts) {
    parts = std::tm{};
    return !(!::localtime_r(&t, &parts));
}

std::string FormatLocalTime(std::time_t t, const char* format) {
    std::tm parts{};
    if (!LocalTimeParts(t, parts))
        return {};
    char text[256];
    size_t n = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, n);
}

} // namespace platform
