#include "package/PeHeader.h"
#include "package/LauncherChoice.h"
#include "package/LauncherKind.h"
#include "package/SignatureTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

// The Windows headers of tests/data/pe/: sound ones and ones broken at each
// step of the reading. Every reader of those headers (the launcher choice,
// the launcher facts of verify, the signature table) must agree with the one
// header reader, and none may read a byte outside the file.

namespace {

std::string Sample(const std::string& name) {
    std::ifstream in(std::string(VELKORA_TEST_DATA) + "/pe/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads from bytes; a read outside them fails the test instead of the reader.
PeReadAt CheckedReader(const std::string& bytes) {
    return [&bytes](int64_t pos, void* buffer, size_t length) {
        const bool inside = pos >= 0 && static_cast<uint64_t>(pos) + length <= bytes.size();
        EXPECT_TRUE(inside) << "read of " << length << " bytes at " << pos << " in "
                            << bytes.size();
        if (!inside)
            return false;
        std::memcpy(buffer, bytes.data() + pos, length);
        return true;
    };
}

struct PeCase {
    const char* file;
    PeFault fault;
    PeFormat format;
    std::optional<uint32_t> securityAt;  // the security directory's offset, when read
    std::optional<int64_t> certificates; // where the certificate table starts, when signed
};

std::ostream& operator<<(std::ostream& os, const PeCase& c) {
    return os << c.file;
}

class PeHeaderTest : public ::testing::TestWithParam<PeCase> {};

TEST_P(PeHeaderTest, ReadsAsFarAsTheFileHolds) {
    const std::string bytes = Sample(GetParam().file);
    const PeHeader header = ReadPeHeader(CheckedReader(bytes), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(PeFaultName(header.fault), PeFaultName(GetParam().fault));
    EXPECT_EQ(header.format, GetParam().format);
    ASSERT_EQ(header.security.has_value(), GetParam().securityAt.has_value());
    if (header.security) {
        EXPECT_EQ(header.security->address, *GetParam().securityAt);
    }

    const PeHeader fromMemory =
        ReadPeHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    EXPECT_EQ(fromMemory.fault, header.fault);
    EXPECT_EQ(fromMemory.format, header.format);
}

TEST_P(PeHeaderTest, EveryReaderAgrees) {
    const std::string bytes = Sample(GetParam().file);
    const int64_t size = static_cast<int64_t>(bytes.size());
    const ProgramKind expectedProgram = GetParam().format == PeFormat::Pe32 ? ProgramKind::Windows32
                                        : GetParam().format == PeFormat::Pe32Plus
                                            ? ProgramKind::Windows64
                                            : ProgramKind::Other;
    EXPECT_EQ(ProgramKindOfFile(std::string(VELKORA_TEST_DATA) + "/pe/" + GetParam().file),
              expectedProgram);
    EXPECT_EQ(
        ProgramKindOfBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
        expectedProgram);

    const LauncherKind expectedLauncher = GetParam().format == PeFormat::Pe32 ? LauncherKind::I686
                                          : GetParam().format == PeFormat::Pe32Plus
                                              ? LauncherKind::X86_64
                                              : LauncherKind::Unknown;
    EXPECT_EQ(ReadLauncherFacts(CheckedReader(bytes), size).kind, expectedLauncher);

    EXPECT_EQ(CertificateTableOffset(CheckedReader(bytes), size), GetParam().certificates);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, PeHeaderTest,
    ::testing::Values(
        PeCase{"pe32.exe", PeFault::None, PeFormat::Pe32, 0u, std::nullopt},
        PeCase{"pe32plus-signed.exe", PeFault::None, PeFormat::Pe32Plus, 0x1F0u, 0x1F0},
        // Too few directories to hold the security one: not signed, not broken.
        PeCase{"few-directories.exe", PeFault::None, PeFormat::Pe32Plus, std::nullopt,
               std::nullopt},
        // The count is not a length: only the security entry is read.
        PeCase{"many-directories.exe", PeFault::None, PeFormat::Pe32Plus, 0x1F0u, 0x1F0},
        // A table that does not end at the end of the file is no signature.
        PeCase{"table-past-end.exe", PeFault::None, PeFormat::Pe32Plus, 0x100u, std::nullopt},
        PeCase{"shorter-than-dos-header.exe", PeFault::ShorterThanDosHeader, PeFormat::None,
               std::nullopt, std::nullopt},
        PeCase{"no-mz.exe", PeFault::NoDosMagic, PeFormat::None, std::nullopt, std::nullopt},
        PeCase{"pe-offset-past-end.exe", PeFault::PeHeaderOutside, PeFormat::None, std::nullopt,
               std::nullopt},
        PeCase{"pe-header-cut.exe", PeFault::PeHeaderOutside, PeFormat::None, std::nullopt,
               std::nullopt},
        PeCase{"no-pe-signature.exe", PeFault::NoPeSignature, PeFormat::None, std::nullopt,
               std::nullopt},
        PeCase{"unknown-magic.exe", PeFault::UnknownMagic, PeFormat::None, std::nullopt,
               std::nullopt},
        PeCase{"pe32-count-cut.exe", PeFault::DirectoriesOutside, PeFormat::Pe32, std::nullopt,
               std::nullopt},
        PeCase{"count-cut.exe", PeFault::DirectoriesOutside, PeFormat::Pe32Plus, std::nullopt,
               std::nullopt},
        PeCase{"security-entry-cut.exe", PeFault::DirectoriesOutside, PeFormat::Pe32Plus,
               std::nullopt, std::nullopt}),
    [](const ::testing::TestParamInfo<PeCase>& info) {
        std::string name = info.param.file;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(PeHeader, NoPrefixOfASignedFileIsReadPastItsEnd) {
    const std::string whole = Sample("pe32plus-signed.exe");
    for (size_t length = 0; length < whole.size(); ++length) {
        const std::string prefix = whole.substr(0, length);
        const PeHeader header =
            ReadPeHeader(CheckedReader(prefix), static_cast<int64_t>(prefix.size()));
        // The security entry ends at 0x130; any shorter file stops with a fault.
        EXPECT_EQ(header.fault == PeFault::None, length >= 0x130) << length;
        // The table is past the end of every prefix, so none is signed.
        EXPECT_EQ(CertificateTableOffset(CheckedReader(prefix), static_cast<int64_t>(length)),
                  std::nullopt)
            << length;
    }
}

TEST(PeHeader, AFailedReadIsAFault) {
    const std::string bytes = Sample("pe32.exe");
    const PeHeader header = ReadPeHeader([](int64_t, void*, size_t) { return false; },
                                         static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(header.fault, PeFault::ReadFailed);
    EXPECT_EQ(header.format, PeFormat::None);
}

} // namespace
