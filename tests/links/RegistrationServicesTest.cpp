#include "model/RegistrationServices.h"

#include <gtest/gtest.h>

#include <string>

TEST(RegistrationServices, TableOrderNamesAndKeys) {
    const auto& table = ServiceTable();
    const char* names[] = {"RegNow", "ShareIt", "RegSoft", "Other"};
    for (int i = 0; i < kServiceCount; ++i) {
        EXPECT_EQ(table[i].nIndex, i);
        EXPECT_EQ(table[i].name, names[i]);
        EXPECT_EQ(ServiceNameFromIndex(i), names[i]);
    }
    EXPECT_EQ(table[0].productKey, "item");
    EXPECT_EQ(table[0].affiliateKey, "affiliate");
    EXPECT_EQ(table[1].productKey, "productid");
    EXPECT_EQ(table[1].affiliateKey, "resellerid");
    EXPECT_EQ(table[2].productKey, "productid");
    EXPECT_EQ(table[2].affiliateKey, "affiliateid");
    EXPECT_TRUE(table[3].endpoint.empty());
    EXPECT_TRUE(table[3].productKey.empty());
    EXPECT_TRUE(table[3].affiliateKey.empty());
}

TEST(RegistrationServices, EndpointSchemesAndPaths) {
    auto check = [](std::string_view endpoint, std::string_view scheme, std::string_view path) {
        const std::string prefix = std::string(scheme) + "://";
        ASSERT_EQ(endpoint.substr(0, prefix.size()), prefix) << endpoint;
        const std::string_view rest = endpoint.substr(prefix.size());
        const size_t slash = rest.find('/');
        ASSERT_NE(slash, std::string_view::npos) << endpoint;
        EXPECT_GT(slash, 0u) << "host missing in " << endpoint;
        EXPECT_EQ(rest.substr(slash), path);
        EXPECT_EQ(endpoint.find('?'), std::string_view::npos);
    };
    const auto& table = ServiceTable();
    check(table[0].endpoint, "https", "/softsell/nph-softsell.cgi");
    check(table[1].endpoint, "https", "/shareit/checkout.html");
    check(table[2].endpoint, "http", "/purchase.php3");
}

TEST(RegistrationServices, IndexFromNameIgnoresCaseAndFallsBackToOther) {
    EXPECT_EQ(ServiceIndexFromName("RegNow"), 0);
    EXPECT_EQ(ServiceIndexFromName("regnow"), 0);
    EXPECT_EQ(ServiceIndexFromName("SHAREIT"), 1);
    EXPECT_EQ(ServiceIndexFromName("rEgSoFt"), 2);
    EXPECT_EQ(ServiceIndexFromName("other"), 3);
    EXPECT_EQ(ServiceIndexFromName(""), 3);
    EXPECT_EQ(ServiceIndexFromName("RegNow "), 3);
    EXPECT_EQ(ServiceIndexFromName("Reg"), 3);
    EXPECT_EQ(ServiceIndexFromName("Unknown"), 3);
}

TEST(RegistrationServices, NameFromIndexOutOfRangeIsEmpty) {
    EXPECT_TRUE(ServiceNameFromIndex(-1).empty());
    EXPECT_TRUE(ServiceNameFromIndex(4).empty());
    EXPECT_TRUE(ServiceNameFromIndex(65535).empty());
}
