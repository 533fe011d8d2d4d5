#include "model/ModifiedTimeText.h"

#include "platform/Clock.h"

#include <ctime>
#include <string>

namespace {

constexpr int64_t kSecondsPerHour = 3600;
constexpr int64_t kSecondsPerDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back; eras of 400 years repeat exactly.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilMinute {
    int64_t year;
    int month, day, hour, minute;
};

CivilMinute CivilFromSeconds(int64_t seconds) {
    const int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const int64_t ofDay = seconds - days * kSecondsPerDay;
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int64_t year = yearOfEra + era * 400 + (month <= 2);
    return {year, month, day, static_cast<int>(ofDay / kSecondsPerHour),
            static_cast<int>(ofDay % kSecondsPerHour / 60)};
}

// The local time t names, as seconds of the local calendar since 1970.
bool LocalSeconds(int64_t t, int64_t& local) {
    std::tm parts{};
    if (!platform::LocalTimeParts(static_cast<std::time_t>(t), parts))
        return false;
    local = DaysFromCivil(int64_t(parts.tm_year) + 1900, parts.tm_mon + 1, parts.tm_mday) *
                kSecondsPerDay +
            parts.tm_hour * kSecondsPerHour + int64_t(parts.tm_min) * 60 + parts.tm_sec;
    return true;
}

// Writes value's last width digits, zero-padded, ending just before end.
char* PutDigits(char* end, int64_t value, int width) {
    for (int i = 0; i < width; ++i, value /= 10)
        *--end = static_cast<char>('0' + value % 10);
    return end;
}

void AppendCivil(std::string& out, const CivilMinute& c) {
    // Years of a 32-bit time have four digits; later ones are written whole.
    if (c.year > 9999) {
        out += std::to_string(c.year);
    } else {
        char year[4];
        PutDigits(year + 4, c.year, 4);
        out.append(year, 4);
    }
    char rest[12] = {'-', 0, 0, '-', 0, 0, ' ', 0, 0, ':', 0, 0};
    PutDigits(rest + 3, c.month, 2);
    PutDigits(rest + 6, c.day, 2);
    PutDigits(rest + 9, c.hour, 2);
    PutDigits(rest + 12, c.minute, 2);
    out.append(rest, sizeof rest);
}

} // namespace

const ModifiedTimeText::Day& ModifiedTimeText::DayOf(int64_t index) {
    Day& day = m_days[static_cast<uint64_t>(index) % m_days.size()];
    if (day.index == index)
        return day;
    day.index = index;
    const int64_t start = index * kSecondsPerDay;
    const int64_t middle = start + kSecondsPerDay / 2;
    const int64_t end = start + kSecondsPerDay - 1;
    int64_t localMiddle = 0, localEnd = 0;
    day.steady = LocalSeconds(start, day.localStart) && LocalSeconds(middle, localMiddle) &&
                 LocalSeconds(end, localEnd) && localMiddle - day.localStart == middle - start &&
                 localEnd - day.localStart == end - start;
    return day;
}

void ModifiedTimeText::Append(std::string& out, int32_t seconds) {
    const int64_t index = FloorDiv(seconds, kSecondsPerDay);
    const Day& day = DayOf(index);
    int64_t local = 0;
    if (day.steady)
        local = day.localStart + (seconds - index * kSecondsPerDay);
    else if (!LocalSeconds(seconds, local))
        return;
    const CivilMinute civil = CivilFromSeconds(local);
    if (civil.year < 0)
        return;
    AppendCivil(out, civil);
}
