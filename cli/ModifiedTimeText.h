#pragma once

#include <array>
#include <cstdint>
#include <string>

// Writes affiliates' modification times as the affiliate list shows them:
// "%Y-%m-%d %H:%M", local time. Asking the system for local time is the costly
// part at tens of thousands of affiliates, so it is asked twice per hour of
// UTC the times fall in: when the offset from UTC stays the same through the
// hour, local time is the hour's start plus the seconds since. An hour with a
// change of offset is converted time by time.
class ModifiedTimeText {
public:
    // Appends the time; nothing when the system cannot represent it.
    void Append(std::string& out, int32_t seconds);

private:
    struct Hour {
        int64_t index = INT64_MIN; // seconds / 3600, rounded down
        bool steady = false;       // one offset through the whole hour
        int64_t localStart = 0;    // the hour's start as seconds of the local calendar
    };

    const Hour& HourOf(int64_t index);

    std::array<Hour, 512> m_hours; // by index modulo their count
};
