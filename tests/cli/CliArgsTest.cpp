#include "cli/CliArgs.h"

#include <gtest/gtest.h>

namespace {
const std::vector<CliOption> kOptions = {{"title", true}, {"json", false}};
}

TEST(CliArgs, ValuesFlagsAndPositionals) {
    CliArgs args;
    std::string error;
    ASSERT_TRUE(args.Parse({"f.vkp", "--title", "T 1", "--json"}, kOptions, 1, 1, error)) << error;
    EXPECT_EQ(args.Positionals(), std::vector<std::string>{"f.vkp"});
    EXPECT_EQ(args.Value("title"), "T 1");
    EXPECT_TRUE(args.Has("json"));

    ASSERT_TRUE(args.Parse({"--title=--odd=x", "f.vkp", "--", "--json"}, kOptions, 2, 2, error));
    EXPECT_EQ(args.Value("title"), "--odd=x");
    EXPECT_FALSE(args.Has("json"));
    EXPECT_EQ(args.Positionals()[1], "--json");

    ASSERT_TRUE(args.Parse({"f", "--title", ""}, kOptions, 1, 1, error));
    EXPECT_TRUE(args.Has("title"));
    EXPECT_EQ(args.Value("title"), "");
}

TEST(CliArgs, RefusesMalformedLines) {
    CliArgs args;
    std::string error;
    EXPECT_FALSE(args.Parse({"f", "--colour", "red"}, kOptions, 1, 1, error));
    EXPECT_EQ(error, "Unknown option --colour.");
    EXPECT_FALSE(args.Parse({"f", "--title", "a", "--title", "b"}, kOptions, 1, 1, error));
    EXPECT_EQ(error, "Option --title is given more than once.");
    EXPECT_FALSE(args.Parse({"f", "--title"}, kOptions, 1, 1, error));
    EXPECT_EQ(error, "Option --title needs a value.");
    EXPECT_FALSE(args.Parse({"f", "--title", "--json"}, kOptions, 1, 1, error));
    EXPECT_EQ(error, "Option --title needs a value.");
    EXPECT_FALSE(args.Parse({"f", "--json=1"}, kOptions, 1, 1, error));
    EXPECT_EQ(error, "Option --json takes no value.");
    EXPECT_FALSE(args.Parse({}, kOptions, 1, 1, error));
    EXPECT_EQ(error, "Missing argument.");
    EXPECT_FALSE(args.Parse({"a", "b"}, kOptions, 1, 1, error));
    EXPECT_EQ(error, "Unexpected argument 'b'.");
}
