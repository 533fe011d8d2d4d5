#include "cli/AffiliateDraft.h"
#include "cli/JsonText.h"

#include <gtest/gtest.h>

TEST(AffiliateSetupFileName, TitleNameExtension) {
    EXPECT_EQ(AffiliateSetupFileName("setup.exe", "Bob"), "setup_Bob.exe");
    EXPECT_EQ(AffiliateSetupFileName("C:\\Prod\\v1.2\\Setup.EXE", "Bob"), "Setup_Bob.EXE");
    EXPECT_EQ(AffiliateSetupFileName("/srv/v1.2/setup", "Bob"), "setup_Bob");
    EXPECT_EQ(AffiliateSetupFileName("pkg.tar.gz", "A B"), "pkg.tar_A B.gz");
    EXPECT_EQ(AffiliateSetupFileName("", "Bob"), "_Bob");
}

TEST(JsonQuote, EscapesAndKeepsOutputValid) {
    EXPECT_EQ(JsonQuote("plain"), "\"plain\"");
    EXPECT_EQ(JsonQuote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonQuote("\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
    EXPECT_EQ(JsonQuote(std::string("\x00\x1f\x7f", 3)), "\"\\u0000\\u001f\\u007f\"");
    // Valid UTF-8 stays; anything else is read as Latin-1, byte by byte.
    EXPECT_EQ(JsonQuote("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
    EXPECT_EQ(JsonQuote("caf\xE9"), "\"caf\\u00e9\"");
    EXPECT_EQ(JsonQuote("\xC0\xAF"), "\"\\u00c0\\u00af\"");            // overlong form
    EXPECT_EQ(JsonQuote("\xED\xA0\x80"), "\"\\u00ed\\u00a0\\u0080\""); // surrogate
    EXPECT_EQ(JsonQuote("\xE2\x82"), "\"\\u00e2\\u0082\"");            // cut short
}
