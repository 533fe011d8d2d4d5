// Any request path and Range header through the setup server's readers: a
// path that reaches a lookup carries no separator, NUL or "..", and a range
// answered in part lies inside the body.
#include "FuzzCheck.h"

#include "cli/serve/ByteRange.h"
#include "cli/serve/ServeRoute.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsSafeName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes = FuzzBytes(data, size);
    const ServeRoute route = RouteOfPath(bytes);
    FUZZ_CHECK((route.kind == ServeRoute::Kind::TooLong) == (bytes.size() > kMaxServePath),
               "a path judged by its length wrongly");
    if (route.kind == ServeRoute::Kind::ByAffiliateId)
        FUZZ_CHECK(IsSafeName(route.affiliateId), "an unsafe affiliate ID reached a lookup");
    if (route.kind == ServeRoute::Kind::ByKey && !route.fileName.empty())
        FUZZ_CHECK(IsSafeName(route.fileName), "an unsafe file name reached a lookup");

    int64_t bodySize = 0;
    if (size >= sizeof bodySize)
        std::memcpy(&bodySize, data, sizeof bodySize);
    bodySize = bodySize < 0 ? -(bodySize + 1) : bodySize;
    const ByteRangeAnswer range = AnswerRange(bytes, bodySize);
    if (range.kind == ByteRangeAnswer::Kind::Partial)
        FUZZ_CHECK(range.first >= 0 && range.first <= range.last && range.last < bodySize,
                   "a range outside the body");
    return 0;
}
