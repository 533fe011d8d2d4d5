// The platform of a Windows installer database, read from the summary
// information in its compound file: two databases made by wixl (Intel and
// x64) and damaged copies of them.
#include "model/ByteOrder.h"
#include "package/CompoundFile.h"
#include "package/InstallerPlatform.h"
#include "package/LauncherChoice.h"
#include "package/SummaryTemplate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::u16string_view kSummary = u"\u0005SummaryInformation";
constexpr size_t kNoCut = SIZE_MAX;

std::string Sample(const char* name) {
    std::ifstream in(std::string(VELKORA_TEST_DATA) + "/msi/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A reader that fails the test when asked for bytes outside the file.
CompoundReadAt ReaderOf(const std::string& bytes) {
    return [&bytes](int64_t pos, void* buffer, size_t length) {
        if (pos < 0 || static_cast<size_t>(pos) > bytes.size() ||
            length > bytes.size() - static_cast<size_t>(pos)) {
            ADD_FAILURE() << "read of " << length << " bytes at " << pos << " outside the file";
            return false;
        }
        std::memcpy(buffer, bytes.data() + pos, length);
        return true;
    };
}

// Where a damage is written: offsets from the file's start, from a directory
// entry, or the FAT (mini FAT) entry of the sector (mini sector) given.
enum class At { File, SummaryEntry, RootEntry, FatEntry, MiniFatEntry };
constexpr uint32_t kOwnId = 0xF00D; // stands for the summary entry's own id

struct Patch {
    At at;
    size_t offset;
    uint32_t value;
    int width = 4;
};

size_t EntryOffset(const std::string& file, std::u16string_view name) {
    return file.find(std::string(reinterpret_cast<const char*>(name.data()), name.size() * 2));
}

// summary, root: where those entries are in the undamaged file.
void Apply(std::string& file, const Patch& patch, size_t summary, size_t root) {
    size_t pos = patch.offset;
    if (patch.at == At::SummaryEntry)
        pos += summary;
    else if (patch.at == At::RootEntry)
        pos += root;
    else if (patch.at == At::FatEntry)
        pos = (ReadU32LE(file.data() + 76) + 1) * 512 + 4 * patch.offset;
    else if (patch.at == At::MiniFatEntry)
        pos = (ReadU32LE(file.data() + 60) + 1) * 512 + 4 * patch.offset;
    const uint32_t value =
        patch.value == kOwnId ? static_cast<uint32_t>((summary - root) / 128) : patch.value;
    ASSERT_LE(pos + patch.width, file.size());
    if (patch.width == 1)
        file[pos] = static_cast<char>(value);
    else if (patch.width == 2)
        StoreU16LE(file.data() + pos, static_cast<uint16_t>(value));
    else
        StoreU32LE(file.data() + pos, value);
}

struct DatabaseCase {
    const char* name;
    const char* sample;
    std::vector<Patch> patches;
    size_t cut;
    CompoundFault fault;
    InstallerPlatform platform;
};

class InstallerDatabase : public ::testing::TestWithParam<DatabaseCase> {};

TEST_P(InstallerDatabase, ReadsThePlatformOrNamesTheFault) {
    std::string file = Sample(GetParam().sample);
    ASSERT_GT(file.size(), 4096u);
    const size_t summary = EntryOffset(file, kSummary);
    const size_t root = EntryOffset(file, u"Root Entry");
    ASSERT_NE(summary, std::string::npos);
    ASSERT_NE(root, std::string::npos);
    for (const Patch& patch : GetParam().patches)
        Apply(file, patch, summary, root);
    if (GetParam().cut != kNoCut)
        file.resize(GetParam().cut);
    const int64_t size = static_cast<int64_t>(file.size());
    const CompoundStream stream = ReadRootStream(ReaderOf(file), size, kSummary, 64 * 1024);
    EXPECT_EQ(CompoundFaultName(stream.fault), CompoundFaultName(GetParam().fault));
    EXPECT_EQ(InstallerPlatformOf(ReaderOf(file), size), GetParam().platform);
    const auto* data = reinterpret_cast<const unsigned char*>(file.data());
    const ProgramKind kind = ProgramKindOfBytes(data, file.size());
    const ProgramKind expected = GetParam().fault == CompoundFault::NoSignature ? ProgramKind::Other
                                 : GetParam().platform == InstallerPlatform::X64
                                     ? ProgramKind::Installer64
                                     : ProgramKind::Installer;
    EXPECT_EQ(kind, expected);
}

// The summary renamed, so that the walk goes on through its siblings.
const Patch kRenamed{At::SummaryEntry, 2, 'X', 2};

using F = CompoundFault;
using P = InstallerPlatform;

// A damaged copy of the x64 database, whose platform can then not be read.
DatabaseCase Damaged(const char* name, std::vector<Patch> patches, CompoundFault fault,
                     size_t cut = kNoCut) {
    return {name, "x64.msi", std::move(patches), cut, fault, P::Unreadable};
}

INSTANTIATE_TEST_SUITE_P(
    Samples, InstallerDatabase,
    ::testing::Values(
        DatabaseCase{"intel", "intel.msi", {}, kNoCut, F::None, P::Intel},
        DatabaseCase{"x64", "x64.msi", {}, kNoCut, F::None, P::X64},
        DatabaseCase{"high_half_of_a_v3_size_ignored",
                     "x64.msi",
                     {{At::SummaryEntry, 124, 7}},
                     kNoCut,
                     F::None,
                     P::X64},
        Damaged("only_the_signature", {}, F::BadHeader, 8),
        Damaged("other_signature", {{At::File, 0, 0}}, F::NoSignature),
        Damaged("byte_order", {{At::File, 28, 0xFFFF, 2}}, F::BadHeader),
        Damaged("v3_with_4096_byte_sectors", {{At::File, 30, 12, 2}}, F::BadHeader),
        Damaged("no_fat", {{At::File, 44, 0}}, F::BadHeader),
        Damaged("more_fat_than_sectors", {{At::File, 44, 19}}, F::BadHeader),
        Damaged("fat_sectors_unnamed", {{At::File, 44, 18}}, F::SectorOutside),
        Damaged("directory_outside", {{At::File, 48, 0x1000}}, F::SectorOutside),
        Damaged("directory_chain_loop", {{At::FatEntry, 12, 12}}, F::SectorOutside),
        Damaged("cut_before_the_directory", {}, F::SectorOutside, 4864),
        Damaged("root_is_a_storage", {{At::RootEntry, 66, 1, 1}}, F::DirectoryBroken),
        Damaged("sibling_is_the_root", {kRenamed, {At::SummaryEntry, 68, 0}}, F::DirectoryBroken),
        Damaged("sibling_is_itself", {kRenamed, {At::SummaryEntry, 72, kOwnId}},
                F::DirectoryBroken),
        Damaged("odd_name_length", {{At::SummaryEntry, 64, 41, 2}}, F::DirectoryBroken),
        Damaged("renamed", {kRenamed}, F::StreamMissing),
        Damaged("mini_start_outside", {{At::SummaryEntry, 116, 0x10000}}, F::SectorOutside),
        Damaged("longer_than_its_mini_chain", {{At::SummaryEntry, 120, 4095}}, F::SectorOutside),
        Damaged("regular_chain_outside", {{At::SummaryEntry, 120, 5000}}, F::SectorOutside),
        Damaged("mini_stream_past_the_file", {{At::RootEntry, 120, 0x100000}}, F::SectorOutside),
        Damaged("mini_fat_outside", {{At::File, 60, 0x1000}}, F::SectorOutside),
        // A mini chain that loops is read as far as the stream's length: the
        // bytes are wrong, the read ends.
        Damaged("mini_chain_loop", {{At::MiniFatEntry, 38, 38}}, F::None)),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstallerDatabase, AStreamLongerThanAllowedIsNotRead) {
    const std::string file = Sample("x64.msi");
    const CompoundStream stream =
        ReadRootStream(ReaderOf(file), static_cast<int64_t>(file.size()), kSummary, 100);
    EXPECT_EQ(stream.fault, CompoundFault::StreamTooLong);
    EXPECT_TRUE(stream.bytes.empty());
}

// A summary property set holding one property: the Template by default.
struct SetParts {
    uint32_t setCount = 1;
    unsigned char format0 = 0xE0;
    uint32_t setOffset = 48;
    uint32_t propertyCount = 1;
    uint32_t id = 7;
    uint32_t propertyOffset = 16;
    uint16_t type = 30;
    std::string text = std::string("x64;1033", 9);
    uint32_t lengthExtra = 0;
};

std::string PropertySet(const SetParts& parts) {
    std::string stream;
    AppendU16LE(stream, 0xFFFE);
    AppendU16LE(stream, 0);
    AppendU32LE(stream, 0x00020006);
    stream.append(16, '\0');
    AppendU32LE(stream, parts.setCount);
    stream += std::string(1, static_cast<char>(parts.format0)) +
              std::string("\x85\x9F\xF2\xF9\x4F\x68\x10\xAB\x91\x08\x00\x2B\x27\xB3\xD9", 15);
    AppendU32LE(stream, parts.setOffset);
    const uint32_t setSize = 16 + 8 + static_cast<uint32_t>(parts.text.size());
    AppendU32LE(stream, setSize);
    AppendU32LE(stream, parts.propertyCount);
    AppendU32LE(stream, parts.id);
    AppendU32LE(stream, parts.propertyOffset);
    AppendU32LE(stream, parts.type);
    AppendU32LE(stream, static_cast<uint32_t>(parts.text.size()) + parts.lengthExtra);
    return stream + parts.text;
}

struct TemplateCase {
    const char* name;
    std::function<void(SetParts&)> change;
    std::optional<std::string> text;
};

class SummaryTemplateRead : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(SummaryTemplateRead, TakesTheTextOnlyFromInsideTheSet) {
    SetParts parts;
    GetParam().change(parts);
    const std::string stream = PropertySet(parts);
    EXPECT_EQ(SummaryTemplate(reinterpret_cast<const unsigned char*>(stream.data()), stream.size()),
              GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    PropertySets, SummaryTemplateRead,
    ::testing::Values(
        TemplateCase{"template", [](SetParts&) {}, "x64;1033"},
        TemplateCase{"without_terminator", [](SetParts& p) { p.text = "Intel;0"; }, "Intel;0"},
        TemplateCase{"no_set", [](SetParts& p) { p.setCount = 0; }, std::nullopt},
        TemplateCase{"other_format", [](SetParts& p) { p.format0 = 0xE1; }, std::nullopt},
        TemplateCase{"set_outside", [](SetParts& p) { p.setOffset = 1000; }, std::nullopt},
        TemplateCase{"more_properties_than_fit", [](SetParts& p) { p.propertyCount = 100; },
                     std::nullopt},
        TemplateCase{"no_template", [](SetParts& p) { p.id = 2; }, std::nullopt},
        TemplateCase{"property_outside", [](SetParts& p) { p.propertyOffset = 0xFFFFFFF0; },
                     std::nullopt},
        TemplateCase{"not_text", [](SetParts& p) { p.type = 3; }, std::nullopt},
        TemplateCase{"text_past_the_set", [](SetParts& p) { p.lengthExtra = 1; }, std::nullopt},
        TemplateCase{"text_length_wraps", [](SetParts& p) { p.lengthExtra = 0xFFFFFFF0; },
                     std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct PlatformCase {
    const char* text;
    InstallerPlatform platform;
};

class TemplatePlatform : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(TemplatePlatform, NamesTheMachines) {
    EXPECT_EQ(InstallerPlatformOfTemplate(GetParam().text), GetParam().platform);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TemplatePlatform,
    ::testing::Values(PlatformCase{"Intel;1033", P::Intel}, PlatformCase{";1033", P::Intel},
                      PlatformCase{"", P::Intel}, PlatformCase{"x64;1033,1031", P::X64},
                      PlatformCase{" X64 ;0", P::X64}, PlatformCase{"AMD64;1033", P::X64},
                      PlatformCase{"Arm64;1033", P::Other}, PlatformCase{"Intel64;1033", P::Other},
                      PlatformCase{"x64x;1033", P::Other}));

} // namespace
