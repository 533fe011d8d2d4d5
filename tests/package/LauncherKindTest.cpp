#include "package/LauncherKind.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Put32(std::string& image, size_t pos, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        image[pos + i] = static_cast<char>(value >> (8 * i));
}

// A Windows header: "MZ", the PE offset at 0x3C, "PE\0\0", a COFF header, the
// optional header's magic, the directory count and the security directory.
std::string PeImage(uint16_t magic, uint32_t securitySize, uint32_t directories = 16) {
    std::string image(1024, '\0');
    image[0] = 'M', image[1] = 'Z';
    const uint32_t pe = 0x80;
    Put32(image, 0x3C, pe);
    std::memcpy(&image[pe], "PE\0\0", 4);
    const size_t optional = pe + 4 + 20;
    image[optional] = static_cast<char>(magic & 0xFF);
    image[optional + 1] = static_cast<char>(magic >> 8);
    const size_t count = optional + (magic == 0x20B ? 108 : 92);
    Put32(image, count, directories);
    Put32(image, count + 4 + 8 * 4, 0x400);
    Put32(image, count + 4 + 8 * 4 + 4, securitySize);
    return image;
}

LauncherFacts Facts(const std::string& image, int64_t imageSize = -1) {
    return ReadLauncherFacts(
        [&](int64_t pos, void* buffer, size_t length) {
            if (pos < 0 || static_cast<size_t>(pos) + length > image.size())
                return false;
            std::memcpy(buffer, image.data() + pos, length);
            return true;
        },
        imageSize < 0 ? static_cast<int64_t>(image.size()) : imageSize);
}

struct KindCase {
    std::string label;
    std::string image;
    LauncherKind kind;
    bool signedImage;
};

std::ostream& operator<<(std::ostream& os, const KindCase& c) {
    return os << c.label;
}

class LauncherKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(LauncherKindTest, TellsTheKindFromTheHeader) {
    const LauncherFacts facts = Facts(GetParam().image);
    EXPECT_EQ(facts.kind, GetParam().kind);
    EXPECT_EQ(facts.signedImage, GetParam().signedImage);
}

std::string WithPeOffset(std::string image, uint32_t offset) {
    Put32(image, 0x3C, offset);
    return image;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, LauncherKindTest,
    ::testing::Values(
        KindCase{"elf",
                 std::string("\x7F"
                             "ELF\x02\x01\x01",
                             7) +
                     std::string(64, '\0'),
                 LauncherKind::Linux, false},
        KindCase{"pe32", PeImage(0x10B, 0), LauncherKind::I686, false},
        KindCase{"pe32-signed", PeImage(0x10B, 0x5A8), LauncherKind::I686, true},
        KindCase{"pe32plus", PeImage(0x20B, 0), LauncherKind::X86_64, false},
        KindCase{"pe32plus-signed", PeImage(0x20B, 16), LauncherKind::X86_64, true},
        KindCase{"no-security-directory", PeImage(0x20B, 16, 4), LauncherKind::X86_64, false},
        KindCase{"rom-magic", PeImage(0x107, 0), LauncherKind::Unknown, false},
        KindCase{"pe-offset-past-the-image", WithPeOffset(PeImage(0x10B, 0), 0xFFFFFFF0),
                 LauncherKind::Unknown, false},
        KindCase{"text", std::string("#!/bin/sh\n"), LauncherKind::Unknown, false},
        KindCase{"too-short", std::string("MZ"), LauncherKind::Unknown, false}));

TEST(LauncherKind, HeadersBeyondTheImageAreNotRead) {
    // The image ends before the optional header: what follows is payload.
    EXPECT_EQ(Facts(PeImage(0x10B, 0), 0x90).kind, LauncherKind::Unknown);
    EXPECT_EQ(LauncherKindName(LauncherKind::I686), "i686");
}

} // namespace
