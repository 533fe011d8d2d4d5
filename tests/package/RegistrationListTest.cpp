#include "package/RegistrationList.h"
#include "model/AffProject.h"

#include <gtest/gtest.h>

namespace {

void AddRegInfo(CAffProject& project, uint16_t service, const std::string& name,
                const std::string& productId) {
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = service;
    info->m_strServiceName = name;
    info->m_strProductId = productId;
    info->m_strPurchaseLink = "https://example.invalid/?item=" + productId;
    project.m_mapRegInfo.SetAt(service, std::move(info));
}

TEST(RegistrationListText, TwoRecordsGiveTheirPairsInMapOrder) {
    CAffProject project;
    AddRegInfo(project, 0, "RegNow", "1234");
    AddRegInfo(project, 1, "ShareIt", "5678");
    const std::string text = ComposeRegistrationList(project);
    EXPECT_EQ(text.size(), 25u);
    // Keys 0 and 1 share bucket 0, where the record inserted last comes first.
    EXPECT_EQ(text, "ShareIt;5678;RegNow;1234;");
    // Links and the default service are not carried.
    EXPECT_EQ(text.find("example"), std::string::npos);
}

TEST(RegistrationListText, EmptyWithoutRecords) {
    EXPECT_EQ(ComposeRegistrationList(CAffProject{}), "");
}

TEST(RegistrationListText, RecordsThatWouldShiftThePairsAreLeftOut) {
    CAffProject project;
    AddRegInfo(project, 0, "RegNow", "");       // empty ID would pair RegNow with the next name
    AddRegInfo(project, 1, "ShareIt", "56;78"); // ";" would split the ID
    AddRegInfo(project, 2, "RegSoft", "9");
    AddRegInfo(project, 7, "", "77"); // unknown index: no name
    const std::string text = ComposeRegistrationList(project);
    EXPECT_EQ(text, "RegSoft;9;");
    const COfferedServices offered = ParseRegistrationList(text);
    ASSERT_EQ(offered.names.size(), 1u);
    EXPECT_EQ(offered.ProductIdOf("RegSoft"), "9");
}

TEST(RegistrationListParse, OtherIsSkippedAndTheFirstSortedNameLeads) {
    const COfferedServices offered = ParseRegistrationList("RegNow;1234;Other;99;ShareIt;5678;");
    EXPECT_EQ(offered.names, (std::vector<std::string>{"RegNow", "ShareIt"}));
    EXPECT_EQ(offered.ProductIdOf("RegNow"), "1234");
    EXPECT_EQ(offered.ProductIdOf("ShareIt"), "5678");
    EXPECT_EQ(offered.ProductIdOf("Other"), "");
    EXPECT_EQ(offered.mapProductIds.size(), 2u);
}

TEST(RegistrationListParse, NamesAreShownAsWrittenAndSortedIgnoringCase) {
    EXPECT_EQ(ParseRegistrationList("regnow;1;").names, (std::vector<std::string>{"regnow"}));
    // A byte-wise sort would put "ShareIt" before "regnow".
    const COfferedServices offered = ParseRegistrationList("SHAREIT;5;regsoft;3;regnow;1;");
    EXPECT_EQ(offered.names, (std::vector<std::string>{"regnow", "regsoft", "SHAREIT"}));
    EXPECT_EQ(offered.ProductIdOf("regsoft"), "3");
}

TEST(RegistrationListParse, SeparatorsRunsUnknownNamesAndLoneTokens) {
    // Empty tokens vanish, so ";;" counts as one separator.
    COfferedServices offered = ParseRegistrationList(";;RegSoft;;;7;;Foo;1;ShareIt");
    EXPECT_EQ(offered.names, (std::vector<std::string>{"RegSoft"}));
    EXPECT_EQ(offered.ProductIdOf("RegSoft"), "7");

    // A later pair of the same name replaces the ID; one item only.
    offered = ParseRegistrationList("RegNow;1;RegNow;2;");
    EXPECT_EQ(offered.names, (std::vector<std::string>{"RegNow"}));
    EXPECT_EQ(offered.ProductIdOf("RegNow"), "2");

    EXPECT_TRUE(ParseRegistrationList("").IsEmpty());
    EXPECT_TRUE(ParseRegistrationList("Other;99;").IsEmpty());
    EXPECT_TRUE(ParseRegistrationList(";;;").IsEmpty());
}

} // namespace
