#include "platform/Uuid.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

TEST(Uuid, UpperCaseVersion4InGroupsOf8_4_4_4_12) {
    const std::string a = platform::NewUuidText();
    ASSERT_EQ(a.size(), 36u);
    for (size_t i = 0; i < a.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            EXPECT_EQ(a[i], '-') << a;
        } else {
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(a[i])) ||
                        (a[i] >= 'A' && a[i] <= 'F'))
                << a;
        }
    }
    EXPECT_EQ(a[14], '4') << a;
    EXPECT_NE(std::string("89AB").find(a[19]), std::string::npos) << a;
    EXPECT_NE(platform::NewUuidText(), a);
}

} // namespace
