#include "model/PurchaseUrl.h"

#include <gtest/gtest.h>

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
