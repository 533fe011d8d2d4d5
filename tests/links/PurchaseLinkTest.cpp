#include "model/PurchaseLink.h"
#include "model/AffProject.h"
#include "model/RegistrationServices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::string Endpoint(int32_t service) {
    return std::string(ServiceTable()[static_cast<size_t>(service)].endpoint);
}

void AddRegInfo(CAffProject& project, uint16_t service, const std::string& productId) {
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = service;
    info->m_strProductId = productId;
    project.m_mapRegInfo.SetAt(service, std::move(info));
}

} // namespace

TEST(ComposeProductLink, EmptyLinkStartsFromEndpoint) {
    const std::string E = Endpoint(kServiceRegNow);
    std::string link;
    EXPECT_TRUE(ComposeProductLink(kServiceRegNow, link, "1234-1", ComposeMode::Keep));
    EXPECT_EQ(link, E + "?item=1234-1");

    link.clear();
    ComposeProductLink(kServiceShareIt, link, "77", ComposeMode::Keep);
    EXPECT_EQ(link, Endpoint(kServiceShareIt) + "?productid=77");
}

TEST(ComposeProductLink, KeepModeKeepsTypedLinkResetModeDiscardsIt) {
    const std::string E = Endpoint(kServiceRegNow);
    std::string link = "https://mine.example/buy?z=1";
    ComposeProductLink(kServiceRegNow, link, "5", ComposeMode::Keep);
    EXPECT_EQ(link, "https://mine.example/buy?item=5&z=1");

    link = "https://mine.example/buy?z=1";
    ComposeProductLink(kServiceRegNow, link, "5", ComposeMode::Reset);
    EXPECT_EQ(link, E + "?item=5");
}

TEST(ComposeProductLink, BareHttpPrefixInAnyCaseStartsFromEndpoint) {
    const std::string E = Endpoint(kServiceRegNow);
    for (const char* start : {"http://", "HTTP://", "HtTp://"}) {
        std::string link = start;
        ComposeProductLink(kServiceRegNow, link, "9", ComposeMode::Keep);
        EXPECT_EQ(link, E + "?item=9") << start;
    }
    // Anything longer is a link the user typed and is kept.
    std::string link = "http://x";
    ComposeProductLink(kServiceRegNow, link, "9", ComposeMode::Keep);
    EXPECT_EQ(link, "http://x?item=9");
}

TEST(ComposeProductLink, EmptyProductIdGivesEmptyValue) {
    std::string link;
    ComposeProductLink(kServiceRegSoft, link, "", ComposeMode::Keep);
    EXPECT_EQ(link, Endpoint(kServiceRegSoft) + "?productid=");
}

TEST(ComposeProductLink, OtherAndNoServiceNeverChangeTheLink) {
    for (int32_t service : {int32_t{kServiceOther}, -1, 4, 1000}) {
        std::string link = "typed by hand";
        EXPECT_FALSE(ComposeProductLink(service, link, "1", ComposeMode::Keep));
        EXPECT_FALSE(ComposeProductLink(service, link, "1", ComposeMode::Reset));
        EXPECT_EQ(link, "typed by hand");
        std::string empty;
        EXPECT_FALSE(ComposeProductLink(service, empty, "1", ComposeMode::Reset));
        EXPECT_EQ(empty, "");
    }
}

// IDs are percent-encoded where a query value needs it: plain letters and
// digits compose as typed, and a reparsed link keeps every ID in one piece.
struct EncodedIdCase {
    const char* affiliateId;
    const char* productId;
    const char* query; // of the composed RegNow link
};

class ComposeEncodesIds : public ::testing::TestWithParam<EncodedIdCase> {};

TEST_P(ComposeEncodesIds, IntoOneQueryValueEach) {
    const EncodedIdCase& c = GetParam();
    CAffProject project;
    AddRegInfo(project, kServiceRegNow, c.productId);
    std::string link;
    ASSERT_TRUE(
        ComposeAffiliateLink(kServiceRegNow, link, c.affiliateId, project, ComposeMode::Keep));
    EXPECT_EQ(link, Endpoint(kServiceRegNow) + c.query);
    // Composing again on the composed link changes nothing and adds no key.
    std::string again = link;
    ASSERT_TRUE(
        ComposeAffiliateLink(kServiceRegNow, again, c.affiliateId, project, ComposeMode::Keep));
    EXPECT_EQ(again, link);
    std::string product;
    ASSERT_TRUE(ComposeProductLink(kServiceRegNow, product, c.productId, ComposeMode::Keep));
    EXPECT_EQ(product.substr(product.find("?item=")),
              link.substr(link.find("&item=") + 1).insert(0, "?"));
}

INSTANTIATE_TEST_SUITE_P(
    Links, ComposeEncodesIds,
    ::testing::Values(
        EncodedIdCase{"42", "1234-1", "?affiliate=42&item=1234-1"},
        EncodedIdCase{"x y&z=1", "9", "?affiliate=x%20y%26z%3D1&item=9"},
        EncodedIdCase{"a#b+c%d", "p q", "?affiliate=a%23b%2Bc%25d&item=p%20q"},
        EncodedIdCase{"Zo\xC3\xAB", "\xE6\x97\xA5", "?affiliate=Zo%C3%AB&item=%E6%97%A5"},
        EncodedIdCase{"A-z_0.9~!$'()*,;:@/?", "1", "?affiliate=A-z_0.9~!$'()*,;:@/?&item=1"},
        EncodedIdCase{"\x01\x7F\"<>\\^`{|}[]", "",
                      "?affiliate=%01%7F%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D&item="}));

TEST(ComposeAffiliateLink, KeepModeResortsAndKeepsExistingParameters) {
    const std::string E = Endpoint(kServiceRegNow);
    CAffProject project;
    AddRegInfo(project, kServiceRegNow, "9");
    std::string link = E + "?b=2&affiliate=7&a=1";
    EXPECT_TRUE(ComposeAffiliateLink(kServiceRegNow, link, "42", project, ComposeMode::Keep));
    EXPECT_EQ(link, E + "?a=1&affiliate=42&b=2&item=9");
}

TEST(ComposeAffiliateLink, ResetModeAndStartingTexts) {
    CAffProject project;
    AddRegInfo(project, kServiceShareIt, "300");
    const std::string E = Endpoint(kServiceShareIt);

    std::string link = "https://old.example/x?q=1";
    ComposeAffiliateLink(kServiceShareIt, link, "A1", project, ComposeMode::Reset);
    EXPECT_EQ(link, E + "?productid=300&resellerid=A1");

    link = "Http://";
    ComposeAffiliateLink(kServiceShareIt, link, "A2", project, ComposeMode::Keep);
    EXPECT_EQ(link, E + "?productid=300&resellerid=A2");

    link.clear();
    ComposeAffiliateLink(kServiceShareIt, link, "", project, ComposeMode::Keep);
    EXPECT_EQ(link, E + "?productid=300&resellerid=");
}

TEST(ComposeAffiliateLink, NothingWithoutRegistrationInfoForTheService) {
    CAffProject project;
    AddRegInfo(project, kServiceRegNow, "9");
    std::string link = "http://";
    EXPECT_FALSE(ComposeAffiliateLink(kServiceRegSoft, link, "42", project, ComposeMode::Keep));
    EXPECT_FALSE(ComposeAffiliateLink(kServiceRegSoft, link, "42", project, ComposeMode::Reset));
    EXPECT_EQ(link, "http://");
}

TEST(ComposeAffiliateLink, OtherNeverChangesTheLinkEvenWithItsRecord) {
    CAffProject project;
    AddRegInfo(project, kServiceOther, "9");
    for (int32_t service : {int32_t{kServiceOther}, -1, 5}) {
        std::string link = "https://own.example/?a=1";
        EXPECT_FALSE(ComposeAffiliateLink(service, link, "42", project, ComposeMode::Reset));
        EXPECT_EQ(link, "https://own.example/?a=1");
    }
}

TEST(ComposeAffiliateLink, FragmentComesBackAfterTheQuery) {
    CAffProject project;
    AddRegInfo(project, kServiceRegNow, "9");
    std::string link = "http://mine/x#top";
    EXPECT_TRUE(ComposeAffiliateLink(kServiceRegNow, link, "42", project, ComposeMode::Keep));
    EXPECT_EQ(link, "http://mine/x?affiliate=42&item=9#top");
    // Composing again finds the parameters in the query, not in the fragment.
    EXPECT_TRUE(ComposeAffiliateLink(kServiceRegNow, link, "43", project, ComposeMode::Keep));
    EXPECT_EQ(link, "http://mine/x?affiliate=43&item=9#top");
}

TEST(ComposeProductLink, FragmentComesBackAfterTheQuery) {
    std::string link = "https://mine.example/buy?a=1#pay";
    EXPECT_TRUE(ComposeProductLink(kServiceShareIt, link, "300", ComposeMode::Keep));
    EXPECT_EQ(link, "https://mine.example/buy?a=1&productid=300#pay");
    // Reset starts from the endpoint: the typed fragment goes with the typed link.
    EXPECT_TRUE(ComposeProductLink(kServiceShareIt, link, "300", ComposeMode::Reset));
    EXPECT_EQ(link, Endpoint(kServiceShareIt) + "?productid=300");
}
