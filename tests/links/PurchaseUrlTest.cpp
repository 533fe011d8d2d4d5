#include "model/PurchaseUrl.h"

#include <gtest/gtest.h>

#include <ostream>

TEST(PurchaseUrl, LinkWithoutQuestionMarkGainsOneInTextForm) {
    const CPurchaseUrl url = CPurchaseUrl::Parse("https://h.example/p");
    EXPECT_EQ(url.Base(), "https://h.example/p");
    EXPECT_TRUE(url.Parameters().empty());
    EXPECT_EQ(url.Text(), "https://h.example/p?");
    EXPECT_EQ(CPurchaseUrl::Parse("").Text(), "?");
    EXPECT_EQ(CPurchaseUrl::Parse("https://h.example/p?").Text(), "https://h.example/p?");
}

TEST(PurchaseUrl, SegmentWithoutEqualsGetsEmptyValue) {
    const CPurchaseUrl url = CPurchaseUrl::Parse("E?x&y=1");
    ASSERT_EQ(url.Parameters().size(), 2u);
    EXPECT_EQ(url.Parameters().at("x"), "");
    EXPECT_EQ(url.Parameters().at("y"), "1");
    EXPECT_EQ(url.Text(), "E?x=&y=1");
}

TEST(PurchaseUrl, ValueKeepsEverythingAfterFirstEquals) {
    const CPurchaseUrl url = CPurchaseUrl::Parse("b?k=v=w==&z==");
    EXPECT_EQ(url.Parameters().at("k"), "v=w==");
    EXPECT_EQ(url.Parameters().at("z"), "=");
    EXPECT_EQ(url.Text(), "b?k=v=w==&z==");
}

TEST(PurchaseUrl, EmptyKeysAreSkipped) {
    const CPurchaseUrl url = CPurchaseUrl::Parse("b?&&=orphan&a=1&&=&");
    ASSERT_EQ(url.Parameters().size(), 1u);
    EXPECT_EQ(url.Parameters().at("a"), "1");
    EXPECT_EQ(url.Text(), "b?a=1");
}

TEST(PurchaseUrl, RepeatedKeyReplacesEarlierValue) {
    const CPurchaseUrl url = CPurchaseUrl::Parse("b?a=1&b=2&a=3");
    ASSERT_EQ(url.Parameters().size(), 2u);
    EXPECT_EQ(url.Parameters().at("a"), "3");
    EXPECT_EQ(url.Text(), "b?a=3&b=2");
}

TEST(PurchaseUrl, BaseEndsAtFirstQuestionMark) {
    const CPurchaseUrl url = CPurchaseUrl::Parse("b?q=what?&r=1");
    EXPECT_EQ(url.Base(), "b");
    EXPECT_EQ(url.Parameters().at("q"), "what?");
}

TEST(PurchaseUrl, KeysSortByteWisePrefixFirst) {
    CPurchaseUrl url = CPurchaseUrl::Parse("b?itemx=2&item=1&Z=0&a=3");
    EXPECT_EQ(url.Text(), "b?Z=0&a=3&item=1&itemx=2");
    url.SetParameter("\xE9", "hi"); // bytes above 0x7F sort after ASCII
    EXPECT_EQ(url.Text(), "b?Z=0&a=3&item=1&itemx=2&\xE9=hi");
}

TEST(PurchaseUrl, SetParameterInsertsOrReplacesWithoutCoding) {
    CPurchaseUrl url = CPurchaseUrl::Parse("b?a=1");
    url.SetParameter("a", "x y%20&=");
    url.SetParameter("c", "");
    EXPECT_EQ(url.Text(), "b?a=x y%20&=&c=");
}

// A fragment ("#...") ends the query: it is kept aside when parsing and put
// back after the query, or the browser would never send the parameters.
struct FragmentCase {
    const char* link;
    const char* base;
    const char* fragment;
    const char* text; // after SetParameter("k", "1")
};

void PrintTo(const FragmentCase& c, std::ostream* os) {
    *os << '"' << c.link << '"';
}

class PurchaseUrlFragment : public ::testing::TestWithParam<FragmentCase> {};

TEST_P(PurchaseUrlFragment, StaysBehindTheQuery) {
    const FragmentCase& c = GetParam();
    CPurchaseUrl url = CPurchaseUrl::Parse(c.link);
    EXPECT_EQ(url.Base(), c.base);
    EXPECT_EQ(url.Fragment(), c.fragment);
    url.SetParameter("k", "1");
    EXPECT_EQ(url.Text(), c.text);
    EXPECT_EQ(CPurchaseUrl::Parse(url.Text()).Text(), url.Text());
}

INSTANTIATE_TEST_SUITE_P(Links, PurchaseUrlFragment,
                         ::testing::Values(FragmentCase{"http://mine/x#top", "http://mine/x",
                                                        "#top", "http://mine/x?k=1#top"},
                                           FragmentCase{"b?a=2#f", "b", "#f", "b?a=2&k=1#f"},
                                           FragmentCase{"b?k=0#f?k=5&z=1", "b", "#f?k=5&z=1",
                                                        "b?k=1#f?k=5&z=1"},
                                           FragmentCase{"b#", "b", "#", "b?k=1#"},
                                           FragmentCase{"b?#", "b", "#", "b?k=1#"},
                                           FragmentCase{"#only", "", "#only", "?k=1#only"},
                                           FragmentCase{"b#x#y", "b", "#x#y", "b?k=1#x#y"},
                                           FragmentCase{"b?a=1", "b", "", "b?a=1&k=1"},
                                           FragmentCase{"E#f?x=1", "E", "#f?x=1", "E?k=1#f?x=1"}));

// Without parameters a fragment keeps its place right behind the base: a "?"
// inside the fragment is not a query, and none is added in front of it.
TEST(PurchaseUrl, FragmentAloneStaysAsTyped) {
    EXPECT_EQ(CPurchaseUrl::Parse("b#f").Text(), "b#f");
    EXPECT_EQ(CPurchaseUrl::Parse("E#f?x=1").Text(), "E#f?x=1");
    EXPECT_TRUE(CPurchaseUrl::Parse("E#f?x=1").Parameters().empty());
    EXPECT_EQ(CPurchaseUrl::Parse("b?#f").Text(), "b#f");
    EXPECT_EQ(CPurchaseUrl::Parse("b").Text(), "b?");
    EXPECT_TRUE(CPurchaseUrl::Parse("b?#a=1").Parameters().empty());
}
