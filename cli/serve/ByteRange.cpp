#include "cli/serve/ByteRange.h"

#include <limits>

namespace {

constexpr int64_t kHuge = std::numeric_limits<int64_t>::max();

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Digits only; a number too large for 64 bits reads as kHuge.
bool NumberOf(std::string_view text, int64_t& value) {
    if (text.empty())
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const int digit = c - '0';
        value = value > (kHuge - digit) / 10 ? kHuge : value * 10 + digit;
    }
    return true;
}

bool IsBytesUnit(std::string_view unit) {
    if (unit.size() != 5)
        return false;
    for (size_t i = 0; i < 5; ++i)
        if ((unit[i] | 0x20) != "bytes"[i])
            return false;
    return true;
}

ByteRangeAnswer Whole() {
    return {};
}

} // namespace

ByteRangeAnswer AnswerRange(std::string_view header, int64_t size) {
    const size_t equals = header.find('=');
    if (equals == std::string_view::npos || !IsBytesUnit(Trimmed(header.substr(0, equals))))
        return Whole();
    const std::string_view rangeText = Trimmed(header.substr(equals + 1));
    // Several ranges would need a multipart body: the whole body is sent.
    if (rangeText.find(',') != std::string_view::npos)
        return Whole();
    const size_t dash = rangeText.find('-');
    if (dash == std::string_view::npos)
        return Whole();
    const std::string_view firstText = Trimmed(rangeText.substr(0, dash));
    const std::string_view lastText = Trimmed(rangeText.substr(dash + 1));

    ByteRangeAnswer answer;
    answer.kind = ByteRangeAnswer::Kind::Unsatisfiable;
    int64_t first = 0;
    int64_t last = 0;
    if (firstText.empty()) {
        // The last n bytes.
        if (!NumberOf(lastText, last))
            return Whole();
        if (last == 0 || size == 0)
            return answer;
        first = last >= size ? 0 : size - last;
        last = size - 1;
    } else {
        if (!NumberOf(firstText, first))
            return Whole();
        if (lastText.empty())
            last = kHuge;
        else if (!NumberOf(lastText, last) || last < first)
            return Whole();
        if (first >= size)
            return answer;
        if (last >= size)
            last = size - 1;
    }
    answer.kind = ByteRangeAnswer::Kind::Partial;
    answer.first = first;
    answer.last = last;
    return answer;
}
