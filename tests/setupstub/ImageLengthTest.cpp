#include "setupstub/ImageLength.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int64_t LengthOf(const std::string& bytes) {
    const ImageReadAt read = [&bytes](int64_t pos, void* buffer, size_t length) {
        if (pos < 0 || static_cast<uint64_t>(pos) + length > bytes.size())
            return false;
        std::memcpy(buffer, bytes.data() + pos, length);
        return true;
    };
    return ExecutableImageLength(read, static_cast<int64_t>(bytes.size()));
}

} // namespace

// The launcher's own program: its headers account for every byte of it, and
// for none of what a package appends.
TEST(ImageLength, LauncherProgramIsItsWholeFileAndNothingAppended) {
    const std::string image = ReadFileBytes(SETUPSTUB_PROGRAM);
    ASSERT_GT(image.size(), 1000u);
    EXPECT_EQ(LengthOf(image), static_cast<int64_t>(image.size()));
    EXPECT_EQ(LengthOf(image + std::string(5000, 'p')), static_cast<int64_t>(image.size()));
    EXPECT_EQ(ExecutableImageLengthOf(SETUPSTUB_PROGRAM), static_cast<int64_t>(image.size()));
}

TEST(ImageLength, WindowsImagesEndWithTheirLastSectionOrTheirSignature) {
    for (const char* name : {"pe32.exe", "pe32plus-signed.exe"}) {
        const std::string image = ReadFileBytes(std::string(VELKORA_TEST_DATA) + "/pe/" + name);
        const int64_t length = LengthOf(image);
        ASSERT_GT(length, 0) << name;
        EXPECT_LE(length, static_cast<int64_t>(image.size())) << name;
        EXPECT_EQ(LengthOf(image + "appended trailer"), length) << name;
    }
}

// Headers that point outside the file, or a file of no known format, give -1.
TEST(ImageLength, UnknownOrBrokenHeadersGiveNoLength) {
    const std::string elf = ReadFileBytes(SETUPSTUB_PROGRAM);
    struct Broken {
        const char* name;
        std::string bytes;
    };
    std::string farSections = elf;
    farSections[0x28 + 7] = '\x7f'; // section headers far past the end
    // A full optional header (its section table ends at 392) and a
    // certificate table of 16 bytes right after it, cut short.
    std::string signatureCut =
        ReadFileBytes(std::string(VELKORA_TEST_DATA) + "/pe/pe32plus-signed.exe").substr(0, 407);
    signatureCut[0x94] = '\xF0';
    signatureCut[0x128] = '\x88';
    signatureCut[0x129] = '\x01';
    std::string bigEndian = elf;
    bigEndian[5] = 2;
    const Broken cases[] = {
        {"empty", ""},
        {"text", "launcher image only"},
        {"elf_header_only", elf.substr(0, 20)},
        {"elf_cut", elf.substr(0, elf.size() / 2)},
        {"sections_outside", farSections},
        {"big_endian", bigEndian},
        {"mz_without_pe", std::string("MZ") + std::string(200, '\0')},
        {"signature_cut", signatureCut},
    };
    for (const Broken& c : cases)
        EXPECT_EQ(LengthOf(c.bytes), -1) << c.name;
}
