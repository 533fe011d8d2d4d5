#include "package/PackageTrailer.h"
#include "package/SfxPackage.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t kPeOffset = 0x80;

void PutLe32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A PE32+ header of 512 bytes with 16 data directories, the security
// directory (index 4) still empty.
std::string PeImage() {
    std::string image(512, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    PutLe32(image, 0x3C, kPeOffset);
    image.replace(kPeOffset, 4, std::string("PE\0\0", 4));
    image[kPeOffset + 24] = 0x0B;
    image[kPeOffset + 25] = 0x02;
    PutLe32(image, kPeOffset + 24 + 108, 16);
    return image;
}
constexpr size_t kSecurityEntry = kPeOffset + 24 + 112 + 4 * 8;

// The image, one payload "data\n\r\n\x1a" named "setup.exe", the trailer.
std::string Package() {
    std::string bytes = PeImage();
    const std::string payload = "data\n\r\n\x1a";
    CPackageTrailer trailer;
    CSfxEntry entry;
    entry.m_strName = "setup.exe";
    entry.m_nOffset = static_cast<int32_t>(bytes.size());
    entry.m_nSize = static_cast<int32_t>(payload.size());
    trailer.m_entries.push_back(entry);
    bytes += payload;
    trailer.EncodeTo(bytes);
    return bytes;
}

// What a signing tool does: zero padding and a certificate table, which the
// security directory points to.
std::string Signed(std::string package, size_t padding, size_t tableSize = 1200) {
    package.append(padding, '\0');
    PutLe32(package, kSecurityEntry, static_cast<uint32_t>(package.size()));
    PutLe32(package, kSecurityEntry + 4, static_cast<uint32_t>(tableSize));
    package.append(tableSize, '\x30');
    return package;
}

class SignedPackageTest : public ::testing::TestWithParam<size_t> {};

TEST_P(SignedPackageTest, TheTrailerBeforeTheCertificateTableIsFound) {
    ScratchFolder dir;
    WriteFileBytes(dir / "signed.exe", Signed(Package(), GetParam()));
    CSfxPackage package;
    ASSERT_EQ(package.ReadDirectory(dir / "signed.exe"), SFX_OK);
    ASSERT_EQ(package.GetCount(), 1);
    EXPECT_EQ(package.GetEntry(0).m_strName, "setup.exe");
    EXPECT_EQ(package.GetEntry(0).m_nOffset, 512);
    EXPECT_EQ(package.GetEntry(0).m_nSize, 8);
    ASSERT_EQ(package.ExtractFrom(dir / "signed.exe", dir / ""), SFX_OK);
    EXPECT_EQ(ReadFileBytes(dir / "setup.exe"), "data\n\r\n\x1a");
}

INSTANTIATE_TEST_SUITE_P(Padding, SignedPackageTest, ::testing::Range<size_t>(0, 8));

TEST(SignedPackage, OnlyZeroPaddingOfAtMostSevenBytesIsSkipped) {
    ScratchFolder dir;
    CSfxPackage package;
    WriteFileBytes(dir / "eight", Signed(Package(), 8));
    EXPECT_EQ(package.ReadDirectory(dir / "eight"), SFX_ERR_MARKER);

    std::string dirty = Signed(Package(), 4);
    dirty[Package().size() + 1] = 'x';
    WriteFileBytes(dir / "dirty", dirty);
    EXPECT_EQ(package.ReadDirectory(dir / "dirty"), SFX_ERR_MARKER);
}

TEST(SignedPackage, ASecurityDirectoryThatDoesNotEndTheFileIsRefused) {
    ScratchFolder dir;
    CSfxPackage package;
    std::string shortTable = Signed(Package(), 0);
    PutLe32(shortTable, kSecurityEntry + 4, 1000); // 200 bytes short of the end
    WriteFileBytes(dir / "short", shortTable);
    EXPECT_EQ(package.ReadDirectory(dir / "short"), SFX_ERR_MARKER);

    std::string past = Signed(Package(), 0);
    PutLe32(past, kSecurityEntry + 4, 0x7FFFFFF0); // past the end
    WriteFileBytes(dir / "past", past);
    EXPECT_EQ(package.ReadDirectory(dir / "past"), SFX_ERR_MARKER);

    std::string noPe = Signed(Package(), 0);
    noPe[kPeOffset] = 'X';
    WriteFileBytes(dir / "nope", noPe);
    EXPECT_EQ(package.ReadDirectory(dir / "nope"), SFX_ERR_MARKER);

    std::string fewDirectories = Signed(Package(), 0);
    PutLe32(fewDirectories, kPeOffset + 24 + 108, 4);
    WriteFileBytes(dir / "few", fewDirectories);
    EXPECT_EQ(package.ReadDirectory(dir / "few"), SFX_ERR_MARKER);
}

TEST(SignedPackage, AnUnsignedPackageReadsAsBefore) {
    ScratchFolder dir;
    WriteFileBytes(dir / "plain", Package());
    CSfxPackage package;
    EXPECT_EQ(package.ReadDirectory(dir / "plain"), SFX_OK);
}

} // namespace
