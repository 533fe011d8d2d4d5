// The request readers of the setup server, as tables: which paths reach a
// lookup and with what, and how a Range header is answered for a body size.
#include "cli/serve/ByteRange.h"
#include "cli/serve/ServeRoute.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Kind = ServeRoute::Kind;

struct RouteCase {
    const char* name;
    std::string path;
    Kind kind;
    std::string id; // the affiliate ID, or the file name for ByKey
    uint16_t key = 0;
};

class RouteCases : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteCases, Route) {
    const RouteCase& c = GetParam();
    const ServeRoute route = RouteOfPath(c.path);
    EXPECT_EQ(route.kind, c.kind);
    if (c.kind == Kind::ByAffiliateId)
        EXPECT_EQ(route.affiliateId, c.id);
    if (c.kind == Kind::ByKey) {
        EXPECT_EQ(route.key, c.key);
        EXPECT_EQ(route.fileName, c.id);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Serve, RouteCases,
    ::testing::Values(RouteCase{"health", "/healthz", Kind::Health, ""},
                      RouteCase{"by_id", "/setup/42", Kind::ByAffiliateId, "42"},
                      RouteCase{"id_escaped", "/setup/a%20b%C3%A9", Kind::ByAffiliateId,
                                "a b\xC3\xA9"},
                      RouteCase{"id_named_key", "/setup/key", Kind::ByAffiliateId, "key"},
                      RouteCase{"by_key", "/setup/key/7", Kind::ByKey, "", 7},
                      RouteCase{"key_and_name", "/setup/key/65535/Setup_Ann.exe", Kind::ByKey,
                                "Setup_Ann.exe", 65535},
                      RouteCase{"key_too_big", "/setup/key/65536", Kind::NotFound, ""},
                      RouteCase{"key_signed", "/setup/key/+7", Kind::NotFound, ""},
                      RouteCase{"key_not_number", "/setup/key/7a", Kind::NotFound, ""},
                      RouteCase{"key_too_deep", "/setup/key/7/a/b", Kind::NotFound, ""},
                      RouteCase{"other_root", "/files/42", Kind::NotFound, ""},
                      RouteCase{"setup_alone", "/setup", Kind::NotFound, ""},
                      RouteCase{"trailing_slash", "/setup/42/", Kind::BadRequest, ""},
                      RouteCase{"dot_dot", "/setup/../p.vkp", Kind::BadRequest, ""},
                      RouteCase{"encoded_dot_dot", "/setup/%2E%2e", Kind::BadRequest, ""},
                      RouteCase{"dot", "/setup/./42", Kind::BadRequest, ""},
                      RouteCase{"encoded_slash", "/setup/key/1/a%2Fb", Kind::BadRequest, ""},
                      RouteCase{"encoded_backslash", "/setup/a%5cb", Kind::BadRequest, ""},
                      RouteCase{"encoded_nul", "/setup/a%00", Kind::BadRequest, ""},
                      RouteCase{"raw_nul", std::string("/setup/a\0b", 10), Kind::BadRequest, ""},
                      RouteCase{"control", "/setup/a%0Ab", Kind::BadRequest, ""},
                      RouteCase{"short_escape", "/setup/a%4", Kind::BadRequest, ""},
                      RouteCase{"bad_escape", "/setup/a%G1", Kind::BadRequest, ""},
                      RouteCase{"empty_segment", "/setup//42", Kind::BadRequest, ""},
                      RouteCase{"relative", "setup/42", Kind::BadRequest, ""},
                      RouteCase{"at_limit", "/setup/" + std::string(kMaxServePath - 7, 'a'),
                                Kind::ByAffiliateId, std::string(kMaxServePath - 7, 'a')},
                      RouteCase{"over_limit", "/setup/" + std::string(kMaxServePath - 6, 'a'),
                                Kind::TooLong, ""}),
    [](const auto& info) { return std::string(info.param.name); });

using RangeKind = ByteRangeAnswer::Kind;

struct RangeCase {
    const char* name;
    const char* header;
    int64_t size;
    RangeKind kind;
    int64_t first = 0;
    int64_t last = 0;
};

class RangeCases : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeCases, Answer) {
    const RangeCase& c = GetParam();
    const ByteRangeAnswer answer = AnswerRange(c.header, c.size);
    EXPECT_EQ(answer.kind, c.kind);
    if (c.kind == RangeKind::Partial) {
        EXPECT_EQ(answer.first, c.first);
        EXPECT_EQ(answer.last, c.last);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Serve, RangeCases,
    ::testing::Values(
        RangeCase{"start", "bytes=0-99", 1000, RangeKind::Partial, 0, 99},
        RangeCase{"open_end", "bytes=990-", 1000, RangeKind::Partial, 990, 999},
        RangeCase{"last_past_end", "bytes=10-5000", 1000, RangeKind::Partial, 10, 999},
        RangeCase{"suffix", "bytes=-10", 1000, RangeKind::Partial, 990, 999},
        RangeCase{"suffix_longer", "bytes=-5000", 1000, RangeKind::Partial, 0, 999},
        RangeCase{"unit_case", "BYTES=1-1", 1000, RangeKind::Partial, 1, 1},
        RangeCase{"blanks", "bytes = 1 - 2 ", 1000, RangeKind::Partial, 1, 2},
        RangeCase{"huge_last", "bytes=5-99999999999999999999999", 1000, RangeKind::Partial, 5, 999},
        RangeCase{"first_at_end", "bytes=1000-", 1000, RangeKind::Unsatisfiable},
        RangeCase{"huge_first", "bytes=99999999999999999999999-", 1000, RangeKind::Unsatisfiable},
        RangeCase{"suffix_zero", "bytes=-0", 1000, RangeKind::Unsatisfiable},
        RangeCase{"empty_body", "bytes=0-", 0, RangeKind::Unsatisfiable},
        RangeCase{"two_ranges", "bytes=0-1,5-6", 1000, RangeKind::Whole},
        RangeCase{"other_unit", "items=0-1", 1000, RangeKind::Whole},
        RangeCase{"backwards", "bytes=9-5", 1000, RangeKind::Whole},
        RangeCase{"no_dash", "bytes=5", 1000, RangeKind::Whole},
        RangeCase{"negative", "bytes=-5-6", 1000, RangeKind::Whole},
        RangeCase{"no_numbers", "bytes=-", 1000, RangeKind::Whole},
        RangeCase{"no_equals", "bytes 0-1", 1000, RangeKind::Whole}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
