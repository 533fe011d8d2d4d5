#include "cli/serve/ServeRoute.h"

#include <charconv>
#include <vector>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::vector<std::string_view> SegmentsOf(std::string_view path) {
    std::vector<std::string_view> segments;
    size_t start = 1; // after the leading '/'
    while (true) {
        const size_t slash = path.find('/', start);
        segments.push_back(
            path.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos)
            return segments;
        start = slash + 1;
    }
}

bool KeyOf(std::string_view text, uint16_t& key) {
    if (text.empty() || text.size() > 5 || text.front() == '+')
        return false;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFF)
        return false;
    key = static_cast<uint16_t>(value);
    return true;
}

ServeRoute Answer(ServeRoute::Kind kind) {
    ServeRoute route;
    route.kind = kind;
    return route;
}

} // namespace

bool DecodePathSegment(std::string_view segment, std::string& decoded) {
    decoded.clear();
    for (size_t i = 0; i < segment.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(segment[i]);
        if (c == '%') {
            if (i + 2 >= segment.size())
                return false;
            const int high = HexValue(segment[i + 1]);
            const int low = HexValue(segment[i + 2]);
            if (high < 0 || low < 0)
                return false;
            c = static_cast<unsigned char>(high * 16 + low);
            i += 2;
        }
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\')
            return false;
        decoded.push_back(static_cast<char>(c));
    }
    return !decoded.empty() && decoded != "." && decoded != "..";
}

ServeRoute RouteOfPath(std::string_view path) {
    if (path.size() > kMaxServePath)
        return Answer(ServeRoute::Kind::TooLong);
    if (path.empty() || path.front() != '/')
        return Answer(ServeRoute::Kind::BadRequest);
    if (path == "/healthz")
        return Answer(ServeRoute::Kind::Health);

    const std::vector<std::string_view> raw = SegmentsOf(path);
    std::vector<std::string> segments;
    for (const std::string_view segment : raw) {
        std::string decoded;
        if (!DecodePathSegment(segment, decoded))
            return Answer(ServeRoute::Kind::BadRequest);
        segments.push_back(std::move(decoded));
    }
    if (segments.size() < 2 || segments[0] != "setup")
        return Answer(ServeRoute::Kind::NotFound);
    if (segments.size() == 2) {
        ServeRoute route = Answer(ServeRoute::Kind::ByAffiliateId);
        route.affiliateId = segments[1];
        return route;
    }
    if (segments[1] != "key" || segments.size() > 4)
        return Answer(ServeRoute::Kind::NotFound);
    ServeRoute route = Answer(ServeRoute::Kind::ByKey);
    if (!KeyOf(segments[2], route.key))
        return Answer(ServeRoute::Kind::NotFound);
    if (segments.size() == 4)
        route.fileName = segments[3];
    return route;
}
