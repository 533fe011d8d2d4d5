#pragma once

#include <array>
#include <cstdint>
#include <string>

// Writes affiliates' modification times as the affiliate list shows them:
// "%Y-%m-%d %H:%M", local time. Asking the system for local time is the costly
// part at tens of thousands of affiliates, so it is asked three times per day
// of UTC the times fall in: when the offset from UTC is the same at the day's
// start, middle and end, local time is the day's start plus the seconds since.
// A day with a change of offset is converted time by time.
class ModifiedTimeText {
public:
    // Appends the time; nothing when the system cannot represent it.
    void Append(std::string& out, int32_t seconds);

private:
    struct Day {
        int64_t index = INT64_MIN; // seconds / 86400, rounded down
        bool steady = false;       // one offset through the whole day
        int64_t localStart = 0;    // the day's start as seconds of the local calendar
    };

    const Day& DayOf(int64_t index);

    std::array<Day, 1024> m_days; // by index modulo their count: 2.8 years
};
