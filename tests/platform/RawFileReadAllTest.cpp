#include "platform/RawFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

struct ReadAllCase {
    const char* name;
    int64_t from;
    size_t length;
    bool whole;
    const char* expected; // the bytes read when whole
};

class RawFileReadAll : public ::testing::TestWithParam<ReadAllCase> {};

// Exactly the bytes asked for, or false: a reader never works on a buffer
// that the file filled only in part.
TEST_P(RawFileReadAll, ReadsExactlyOrFails) {
    const ReadAllCase& c = GetParam();
    TempFolder dir("velkora-readall");
    ASSERT_FALSE(dir.Path().empty());
    const std::filesystem::path path = std::filesystem::path(dir.Path()) / "f";
    WriteBytes(path, "hello");
    platform::RawFile file = platform::RawFile::OpenRead(path.string());
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(file.SeekTo(c.from));
    std::string buffer(c.length, '\0');
    EXPECT_EQ(file.ReadAll(buffer.data(), buffer.size()), c.whole);
    if (c.whole)
        EXPECT_EQ(buffer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, RawFileReadAll,
                         ::testing::Values(ReadAllCase{"whole_file", 0, 5, true, "hello"},
                                           ReadAllCase{"tail", 3, 2, true, "lo"},
                                           ReadAllCase{"nothing", 5, 0, true, ""},
                                           ReadAllCase{"one_past_the_end", 0, 6, false, ""},
                                           ReadAllCase{"from_the_end", 5, 1, false, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
