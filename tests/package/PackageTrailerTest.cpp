#include "package/PackageTrailer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

CSfxEntry Entry(std::string name, int32_t offset, int32_t size) {
    CSfxEntry e;
    e.m_strName = std::move(name);
    e.m_nOffset = offset;
    e.m_nSize = size;
    return e;
}

// Decodes bytes as the tail of a file and records each read as (distance of
// its first byte before the end of the file, length).
struct RecordingReader {
    std::string file;
    std::vector<std::pair<int64_t, size_t>> reads;

    CPackageTrailer::ReadAt Reader() {
        return [this](int64_t pos, void* buffer, size_t length) {
            reads.emplace_back(static_cast<int64_t>(file.size()) - pos, length);
            if (pos < 0 || pos + static_cast<int64_t>(length) > static_cast<int64_t>(file.size()))
                return false;
            std::memcpy(buffer, file.data() + pos, length);
            return true;
        };
    }
};

} // namespace

TEST(PackageTrailer, OneEntryExampleBytes) {
    CPackageTrailer t;
    t.m_entries.push_back(Entry("ab", 4096, 5));
    std::string bytes;
    t.EncodeTo(bytes);
    const unsigned char expected[] = {0x00, 0x10, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x61, 0x62,
                                      0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, '!',  'K',
                                      'O',  'V',  'A',  '_',  'S',  'F',  'X',  '!'};
    ASSERT_EQ(bytes.size(), sizeof expected);
    EXPECT_EQ(t.EncodedLength(), 28u);
    EXPECT_EQ(0, std::memcmp(bytes.data(), expected, sizeof expected));
}

TEST(PackageTrailer, TwoEntryWalkReadsAtTheDocumentedDistances) {
    CPackageTrailer t;
    t.m_entries.push_back(Entry("setup.ino", 100, 7));   // 9-byte name
    t.m_entries.push_back(Entry("setup1.exe", 107, 30)); // 10-byte name
    RecordingReader r;
    r.file.assign(137, 'x');
    t.EncodeTo(r.file);
    ASSERT_EQ(t.EncodedLength(), 57u);

    CPackageTrailer back;
    ASSERT_EQ(back.DecodeFrom(r.Reader(), static_cast<int64_t>(r.file.size())), SFX_OK);
    const std::vector<std::pair<int64_t, size_t>> expected = {
        {14, 14}, {18, 4}, {28, 10}, {32, 4}, {36, 4}, {40, 4}, {49, 9}, {53, 4}, {57, 4}};
    EXPECT_EQ(r.reads, expected);
    ASSERT_EQ(back.m_entries.size(), 2u);
    EXPECT_EQ(back.m_entries[0].m_strName, "setup.ino");
    EXPECT_EQ(back.m_entries[0].m_nOffset, 100);
    EXPECT_EQ(back.m_entries[0].m_nSize, 7);
    EXPECT_EQ(back.m_entries[1].m_strName, "setup1.exe");
    EXPECT_EQ(back.m_entries[1].m_nOffset, 107);
    EXPECT_EQ(back.m_entries[1].m_nSize, 30);
}

TEST(PackageTrailer, EntryNamesThatCouldLeaveTheFolderAreInvalid) {
    EXPECT_TRUE(IsValidSfxEntryName("setup.exe"));
    EXPECT_TRUE(IsValidSfxEntryName("..."));
    EXPECT_TRUE(IsValidSfxEntryName(std::string(999, 'n')));
    EXPECT_FALSE(IsValidSfxEntryName(std::string(1000, 'n')));
    EXPECT_FALSE(IsValidSfxEntryName(""));
    EXPECT_FALSE(IsValidSfxEntryName("."));
    EXPECT_FALSE(IsValidSfxEntryName(".."));
    EXPECT_FALSE(IsValidSfxEntryName("../x"));
    EXPECT_FALSE(IsValidSfxEntryName("a/b"));
    EXPECT_FALSE(IsValidSfxEntryName("a\\b"));
    EXPECT_FALSE(IsValidSfxEntryName(std::string("a\0b", 3)));
}
