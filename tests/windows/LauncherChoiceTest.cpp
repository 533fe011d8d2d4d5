#include "package/LauncherChoice.h"
#include "platform/ProcessStart.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// The first bytes of a PE image: "MZ", the PE header's offset at 0x3C, then
// "PE\0\0", a 20-byte file header and the optional header's magic.
std::string PeImage(uint16_t magic, uint32_t peOffset = 0x80, uint16_t machine = 0) {
    std::string bytes(peOffset + 4 + 20 + 2 + 64, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i)
        bytes[0x3C + i] = static_cast<char>((peOffset >> (8 * i)) & 0xFF);
    bytes.replace(peOffset, 4, std::string("PE\0\0", 4));
    bytes[peOffset + 4] = static_cast<char>(machine & 0xFF);
    bytes[peOffset + 5] = static_cast<char>(machine >> 8);
    bytes[peOffset + 24] = static_cast<char>(magic & 0xFF);
    bytes[peOffset + 25] = static_cast<char>(magic >> 8);
    return bytes;
}

struct KindCase {
    const char* name;
    std::string bytes;
    ProgramKind kind;
};

class ProgramKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(ProgramKindTest, FileAndBytesAgree) {
    ScratchFolder dir;
    const std::string path = dir / "setup";
    WriteFileBytes(path, GetParam().bytes);
    EXPECT_EQ(ProgramKindOfFile(path), GetParam().kind);
    const auto* data = reinterpret_cast<const unsigned char*>(GetParam().bytes.data());
    EXPECT_EQ(ProgramKindOfBytes(data, GetParam().bytes.size()), GetParam().kind);
}

std::string Cut(std::string s, size_t n) {
    s.resize(n);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ProgramKindTest,
    ::testing::Values(
        KindCase{"pe32", PeImage(0x10B), ProgramKind::Windows32},
        KindCase{"pe32plus", PeImage(0x20B), ProgramKind::Windows64},
        KindCase{"pe_header_far_out", PeImage(0x20B, 0x400), ProgramKind::Windows64},
        KindCase{"rom_magic", PeImage(0x107), ProgramKind::Other},
        KindCase{"pe_offset_past_end", Cut(PeImage(0x10B), 0x90), ProgramKind::Other},
        KindCase{"dos_header_cut", Cut(PeImage(0x10B), 40), ProgramKind::Other},
        KindCase{"no_pe_signature", std::string("MZ") + std::string(200, '\0'), ProgramKind::Other},
        KindCase{"installer", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "xx",
                 ProgramKind::Installer},
        KindCase{"installer_half_signature", std::string("\xD0\xCF\x11\xE0"), ProgramKind::Other},
        KindCase{"elf",
                 std::string("\x7f"
                             "ELF\x02\x01\x01",
                             7),
                 ProgramKind::Elf},
        KindCase{"script", "#!/bin/sh\nexit 0\n", ProgramKind::Script},
        KindCase{"empty", "", ProgramKind::Other}),
    [](const auto& info) { return std::string(info.param.name); });

// Setups no launcher starts, and kinds whose launcher this test program (which
// carries no launcher images at all) does not carry: refused with what was found.
struct RefusalCase {
    const char* name;
    std::optional<std::string> bytes; // none: no file
    const char* line;
};

class LauncherRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(LauncherRefusal, NamesTheFileAndWhatWasFound) {
    ScratchFolder dir;
    const std::string path = dir / "setup.bin";
    if (GetParam().bytes)
        WriteFileBytes(path, *GetParam().bytes);
    const LauncherPick pick = PickLauncher(path);
    EXPECT_EQ(pick.templateId, 0);
    EXPECT_EQ(LauncherRefusalLine("setup.bin", pick),
              std::string("Error! The setup file 'setup.bin' ") + GetParam().line + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Setups, LauncherRefusal,
    ::testing::Values(
        RefusalCase{"script", "#!/bin/sh\n",
                    "is a script, whose launcher this program does not carry"},
        RefusalCase{"pe32", PeImage(0x10B, 0x80, 0x14C),
                    "is a 32-bit Windows program, whose launcher this program does not carry"},
        RefusalCase{"installer", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
                    "is a Windows installer database, whose launcher this program does not carry"},
        RefusalCase{"arm64", PeImage(0x20B, 0x80, 0xAA64),
                    "is a Windows program for machine 0xAA64, which no launcher starts"},
        RefusalCase{"no_pe_signature", std::string("MZ") + std::string(200, '\0'),
                    "starts with MZ but has no Windows program's headers (no PE signature)"},
        RefusalCase{"zip", std::string("PK\x03\x04\x14\x00\x00\x00rest", 12),
                    "is not a Windows program, installer database, ELF program or script (it "
                    "starts with 50 4B 03 04 14 00 00 00)"},
        RefusalCase{"short", std::string("ab"),
                    "is not a Windows program, installer database, ELF program or script (it "
                    "starts with 61 62)"},
        RefusalCase{"empty", std::string(), "is empty"},
        RefusalCase{"missing", std::nullopt, "is not a file that can be read"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LauncherChoice, InspectNamesTheLauncher) {
    EXPECT_EQ(LauncherDescription(ProgramKind::Windows32), "Windows x86 (PE32)");
    EXPECT_EQ(LauncherDescription(ProgramKind::Windows64), "Windows x64 (PE32+)");
    EXPECT_EQ(LauncherDescription(ProgramKind::Elf), "Linux (ELF)");
    EXPECT_EQ(LauncherDescription(ProgramKind::Installer), "unknown");
}

struct TailCase {
    const char* line;
    const char* tail;
};

class ArgumentTailTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(ArgumentTailTest, TheRestAfterTheProgramNameIsKeptAsTyped) {
    EXPECT_EQ(platform::ArgumentTail(GetParam().line), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, ArgumentTailTest,
                         ::testing::Values(TailCase{"setup.exe", ""}, TailCase{"setup.exe   ", ""},
                                           TailCase{"setup.exe a b", "a b"},
                                           TailCase{"setup.exe \t \"a b\"  c", "\"a b\"  c"},
                                           TailCase{"\"C:\\My Apps\\setup.exe\" /S", "/S"},
                                           // In the program name a backslash escapes nothing.
                                           TailCase{"\"C:\\dir\\\" x \"y\"", "x \"y\""},
                                           TailCase{"\"C:\\no closing quote", ""},
                                           TailCase{"C:\\dir\\setup.exe \"C:\\dir with space\\\\\"",
                                                    "\"C:\\dir with space\\\\\""},
                                           TailCase{"", ""}),
                         [](const auto& info) { return "line" + std::to_string(info.index); });

} // namespace
