#include "cli/ModifiedTimeText.h"

#include "platform/Clock.h"

#include <ctime>

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

void AppendDigits(std::string& out, int64_t value, int width) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < static_cast<int>(sizeof digits));
    for (int i = n; i < width; ++i)
        out += '0';
    while (n > 0)
        out += digits[--n];
}

void AppendCivil(std::string& out, const CivilMinute& c) {
    AppendDigits(out, c.year, 4);
    out += '-';
    AppendDigits(out, c.month, 2);
    out += '-';
    AppendDigits(out, c.day, 2);
    out += ' ';
    AppendDigits(out, c.hour, 2);
    out += ':';
    AppendDigits(out, c.minute, 2);
}

} // namespace

const ModifiedTimeText::Hour& ModifiedTimeText::HourOf(int64_t index) {
    Hour& hour = m_hours[static_cast<uint64_t>(index) % m_hours.size()];
    if (hour.index == index)
        return hour;
    hour.index = index;
    const int64_t start = index * kSecondsPerHour;
    int64_t localEnd = 0;
    hour.steady = LocalSeconds(start, hour.localStart) &&
                  LocalSeconds(start + kSecondsPerHour - 1, localEnd) &&
                  localEnd - hour.localStart == kSecondsPerHour - 1;
    return hour;
}

void ModifiedTimeText::Append(std::string& out, int32_t seconds) {
    const int64_t index = FloorDiv(seconds, kSecondsPerHour);
    const Hour& hour = HourOf(index);
    int64_t local = 0;
    if (hour.steady)
        local = hour.localStart + (seconds - index * kSecondsPerHour);
    else if (!LocalSeconds(seconds, local))
        return;
    const CivilMinute civil = CivilFromSeconds(local);
    if (civil.year < 0)
        return;
    AppendCivil(out, civil);
}
