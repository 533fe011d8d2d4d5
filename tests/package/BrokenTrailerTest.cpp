// The broken packages under tests/data/trailers: the reader names each fault,
// the component's edge maps it to its result code, and `inspect` prints it.
#include "cli/CliCommand.h"
#include "cli/CliRunner.h"
#include "package/SfxPackage.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct BrokenSample {
    const char* file;
    TrailerFault fault;
    int entry;
    SfxResult result;
    const char* reason; // what inspect prints after "is not a package: "
};

const BrokenSample kSamples[] = {
    {"shorter-than-tail", TrailerFault::ShorterThanTail, -1, SFX_ERR_MARKER,
     "the file is shorter than a package trailer"},
    {"bad-marker", TrailerFault::BadMarker, -1, SFX_ERR_MARKER,
     "it does not end with the package marker"},
    {"count-zero", TrailerFault::NoEntries, -1, SFX_ERR_EMPTY, nullptr},
    {"count-257", TrailerFault::CountOutOfRange, -1, SFX_ERR_MARKER,
     "the entry count 257 is outside 1 to 256"},
    {"count-negative", TrailerFault::CountOutOfRange, -1, SFX_ERR_MARKER,
     "the entry count -1 is outside 1 to 256"},
    {"count-past-start", TrailerFault::CountPastStart, 0, SFX_ERR_MARKER,
     "the entry count promises more entries than the file holds (entry 0 runs past the start "
     "of the file)"},
    {"name-length-1000", TrailerFault::NameLengthOutOfRange, 0, SFX_ERR_MARKER,
     "entry 0 has a name length of 1000, outside 1 to 999"},
    {"name-length-zero", TrailerFault::NameLengthOutOfRange, 0, SFX_ERR_MARKER,
     "entry 0 has a name length of 0, outside 1 to 999"},
    {"name-with-folder", TrailerFault::BadName, 0, SFX_ERR_MARKER,
     "entry 0 has a name that is not a plain file name"},
    {"negative-size", TrailerFault::NegativeField, 0, SFX_ERR_MARKER,
     "entry 0 has a negative offset or size"},
    {"size-into-trailer", TrailerFault::EntryOutsideFile, 0, SFX_ERR_MARKER,
     "entry 0 lies outside the payload part of the file"},
    {"second-entry-outside", TrailerFault::EntryOutsideFile, 1, SFX_ERR_MARKER,
     "entry 1 lies outside the payload part of the file"},
};

std::string SamplePath(const char* name) {
    return std::string(VELKORA_TEST_DATA) + "/trailers/" + name + ".pkg";
}

class BrokenTrailer : public ::testing::TestWithParam<BrokenSample> {};

TEST_P(BrokenTrailer, ReaderNamesTheFaultAndKeepsTheResultCode) {
    const BrokenSample& s = GetParam();
    CSfxPackage package;
    EXPECT_EQ(package.ReadDirectory(SamplePath(s.file)), s.result);
    EXPECT_EQ(package.DirectoryStatus().fault, s.fault);
    EXPECT_EQ(package.DirectoryStatus().entry, s.entry);
    EXPECT_EQ(package.GetCount(), 0);
}

TEST_P(BrokenTrailer, InspectPrintsTheReason) {
    const BrokenSample& s = GetParam();
    std::ostringstream out, err;
    const std::string path = SamplePath(s.file);
    EXPECT_EQ(RunCli({"inspect", path}, out, err), kExitFailed);
    // A package without entries is a package: it has its own message.
    EXPECT_EQ(err.str(), s.reason ? "'" + path + "' is not a package: " + s.reason + ".\n"
                                  : "'" + path + "' is a package without entries.\n");
    EXPECT_EQ(out.str(), "");
}

INSTANTIATE_TEST_SUITE_P(Samples, BrokenTrailer, ::testing::ValuesIn(kSamples),
                         [](const auto& info) {
                             std::string name;
                             for (const char* p = info.param.file; *p; ++p)
                                 name += *p == '-' ? '_' : *p;
                             return name;
                         });

TEST(BrokenTrailerSamples, TheSoundSampleReads) {
    CSfxPackage package;
    ASSERT_EQ(package.ReadDirectory(SamplePath("sound")), SFX_OK);
    EXPECT_TRUE(package.DirectoryStatus().Ok());
    ASSERT_EQ(package.GetCount(), 2);
    EXPECT_EQ(package.GetEntry(1).m_strName, "b");
}

} // namespace
