#include "package/AuthenticodeDigest.h"
#include "package/CertificateEntry.h"
#include "package/DerCodec.h"
#include "package/LaunchAffiliateInfo.h"
#include "package/SetupStamp.h"
#include "package/SfxPackage.h"
#include "package/SignatureStamp.h"
#include "package/StampContent.h"
#include "package/StampTemplate.h"
#include "tests/package/SignedSample.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif
#include <vector>

using namespace signedsample;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Spit(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// ---- DER elements -------------------------------------------------------

struct DerCase {
    const char* name;
    std::string bytes;
    bool ok;
    size_t header = 0;
    size_t length = 0;
};

class DerReadTest : public ::testing::TestWithParam<DerCase> {};

TEST_P(DerReadTest, ReadsOnlyWhatFitsInShortestForm) {
    const DerCase& c = GetParam();
    DerElement e;
    ASSERT_EQ(ReadDerElement(c.bytes, 0, c.bytes.size(), e), c.ok) << c.name;
    if (c.ok) {
        EXPECT_EQ(e.header, c.header);
        EXPECT_EQ(e.length, c.length);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, DerReadTest,
    ::testing::Values(
        DerCase{"short",
                std::string("\x04\x02"
                            "ab",
                            4),
                true, 2, 2},
        DerCase{"empty content", std::string("\x05\x00", 2), true, 2, 0},
        DerCase{"one length byte", "\x04\x81\x80" + std::string(128, 'x'), true, 3, 128},
        DerCase{"two length bytes", std::string("\x04\x82\x01\x00", 4) + std::string(256, 'x'),
                true, 4, 256},
        DerCase{"content one past the end",
                std::string("\x04\x03"
                            "ab",
                            4),
                false},
        DerCase{"long form for a short length",
                std::string("\x04\x81\x02"
                            "ab",
                            5),
                false},
        DerCase{"leading zero length byte",
                std::string("\x04\x82\x00\x80", 4) + std::string(128, 'x'), false},
        DerCase{"indefinite length", std::string("\x30\x80\x00\x00", 4), false},
        DerCase{"five length bytes", std::string("\x04\x85\x01\x00\x00\x00\x00", 7), false},
        DerCase{"length bytes cut", std::string("\x04\x82\x01", 3), false},
        DerCase{"huge length", std::string("\x04\x84\xFF\xFF\xFF\xFF", 6), false},
        DerCase{"multi-byte tag", std::string("\x1F\x01\x00", 3), false},
        DerCase{"tag alone", std::string("\x04", 1), false}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(DerWriteTest, HeadersRoundTripAtEveryLengthBoundary) {
    for (const size_t length : {size_t{0}, size_t{127}, size_t{128}, size_t{255}, size_t{256},
                                size_t{65535}, size_t{65536}}) {
        const std::string element = DerWrap(kDerOctetString, std::string(length, 'z'));
        DerElement e;
        ASSERT_TRUE(ReadDerElement(element, 0, element.size(), kDerOctetString, e)) << length;
        EXPECT_EQ(e.length, length);
        EXPECT_EQ(e.End(), element.size());
    }
    EXPECT_EQ(DerHeader(kDerSequence, 0x1234), std::string("\x30\x82\x12\x34", 4));
}

TEST(DerReadTest, AnElementNeverPassesTheEndOfItsParent) {
    // The outer element holds 3 bytes; the inner one claims 4 after its header.
    const std::string bytes = std::string("\x30\x03\x04\x04", 4) + "abcd";
    DerElement outer, inner;
    ASSERT_TRUE(ReadDerElement(bytes, 0, bytes.size(), outer));
    ASSERT_TRUE(ReadDerElement(bytes, 2, bytes.size(), inner));
    EXPECT_FALSE(ReadDerElement(bytes, 2, outer.End(), inner));
}

// ---- The slot ----------------------------------------------------------

TEST(StampSlotTest, EncodesMagicLengthInfoAndZeroFill) {
    std::string slot;
    ASSERT_TRUE(EncodeStampSlot("K1", slot));
    ASSERT_EQ(slot.size(), kStampSlotSize);
    EXPECT_EQ(slot.substr(0, 18), std::string("!KOVA_STAMP!\x02\x00\x00\x00K1", 18));
    EXPECT_EQ(slot.find_first_not_of('\0', 18), std::string::npos);
    std::string info;
    ASSERT_TRUE(DecodeStampSlot(slot, info));
    EXPECT_EQ(info, "K1");
    EXPECT_TRUE(EncodeStampSlot(std::string(kStampMaxInfo, 'x'), slot));
    EXPECT_FALSE(EncodeStampSlot(std::string(kStampMaxInfo + 1, 'x'), slot));
}

struct SlotDamage {
    const char* name;
    size_t at;
    char value;
};

class BrokenSlotTest : public ::testing::TestWithParam<SlotDamage> {};

TEST_P(BrokenSlotTest, IsRefused) {
    std::string slot;
    ASSERT_TRUE(EncodeStampSlot("info", slot));
    slot[GetParam().at] = GetParam().value;
    std::string info;
    EXPECT_FALSE(DecodeStampSlot(slot, info));
}

INSTANTIATE_TEST_SUITE_P(Damage, BrokenSlotTest,
                         ::testing::Values(SlotDamage{"magic", 0, '?'},
                                           SlotDamage{"length past the slot", 13, '\x30'},
                                           SlotDamage{"length shorter than the info", 12, '\x03'},
                                           SlotDamage{"fill not zero", kStampSlotSize - 1, '\x01'}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (ch == ' ')
                                     ch = '_';
                             return n;
                         });

// ---- The slot inside a SignedData --------------------------------------

const std::string kDigest(32, 'D');

std::string CounterSignature() {
    return DerWrap(kDerSequence, Oid(kCounterSignatureOid) +
                                     DerWrap(kDerSet, DerWrap(kDerSequence, std::string(90, 'T'))));
}

class SlotPlacementTest : public ::testing::TestWithParam<bool> {};

TEST_P(SlotPlacementTest, AddsAnEmptySlotAndKeepsEverySignedByte) {
    const std::string unsignedAttributes = GetParam() ? CounterSignature() : std::string();
    const std::string original = ContentInfo(kSha256Oid, kDigest, unsignedAttributes);
    std::string slotted;
    ASSERT_TRUE(AddStampSlot(original, slotted));
    for (const std::string& part : {kSignedAttributes, kSignature,
                                    EncapsulatedContent(kSha256Oid, kDigest), unsignedAttributes})
        EXPECT_NE(slotted.find(part), std::string::npos);
    StampSlot slot = FindStampSlot(slotted);
    EXPECT_EQ(slot.fault, StampFault::None);
    EXPECT_TRUE(slot.present);
    EXPECT_TRUE(slot.info.empty());
    EXPECT_EQ(Sha256DigestOfSignature(slotted), kDigest);

    std::string filled;
    ASSERT_TRUE(EncodeStampSlot("affiliate", filled));
    slotted.replace(slot.offset, filled.size(), filled);
    slot = FindStampSlot(slotted);
    EXPECT_EQ(slot.info, "affiliate");
    std::string again;
    EXPECT_FALSE(AddStampSlot(slotted, again)) << "one slot per signature";
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutOtherAttributes, SlotPlacementTest, ::testing::Bool());

TEST(SlotPlacementTest, ASignatureWithoutSlotHasNoStamp) {
    const StampSlot slot = FindStampSlot(ContentInfo(kSha256Oid, kDigest, CounterSignature()));
    EXPECT_EQ(slot.fault, StampFault::None);
    EXPECT_FALSE(slot.present);
}

// The elements from the ContentInfo down to the slot, as child indexes.
struct LengthPath {
    const char* name;
    std::vector<int> children;
};

DerElement Descend(const std::string& bytes, const std::vector<int>& children) {
    DerElement e;
    EXPECT_TRUE(ReadDerElement(bytes, 0, bytes.size(), e));
    for (const int child : children) {
        size_t pos = e.Content();
        DerElement c;
        for (int i = 0; i <= child; ++i) {
            EXPECT_TRUE(ReadDerElement(bytes, pos, e.End(), c));
            pos = c.End();
        }
        e = c;
    }
    return e;
}

class BrokenLengthTest : public ::testing::TestWithParam<std::tuple<LengthPath, int>> {};

TEST_P(BrokenLengthTest, EveryLengthOnTheWayIsChecked) {
    const auto& [path, delta] = GetParam();
    std::string bytes;
    ASSERT_TRUE(AddStampSlot(ContentInfo(kSha256Oid, kDigest, CounterSignature()), bytes));
    std::string filled;
    EncodeStampSlot("info", filled);
    bytes.replace(FindStampSlot(bytes).offset, filled.size(), filled);
    bytes.append(8, '\0'); // the entry's padding, as in a file
    const DerElement e = Descend(bytes, path.children);
    ASSERT_GT(e.header, 2u) << "long-form length expected";
    const size_t last = e.start + e.header - 1;
    bytes[last] = static_cast<char>(static_cast<unsigned char>(bytes[last]) + delta);
    const StampSlot slot = FindStampSlot(bytes);
    EXPECT_NE(slot.fault, StampFault::None) << path.name << " " << delta;
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, BrokenLengthTest,
    ::testing::Combine(::testing::Values(LengthPath{"ContentInfo", {}},
                                         LengthPath{"explicit content", {1}},
                                         LengthPath{"SignedData", {1, 0}},
                                         LengthPath{"signer infos", {1, 0, 4}},
                                         LengthPath{"signer", {1, 0, 4, 0}},
                                         LengthPath{"unsigned attributes", {1, 0, 4, 0, 6}},
                                         LengthPath{"stamp attribute", {1, 0, 4, 0, 6, 1}},
                                         LengthPath{"stamp values", {1, 0, 4, 0, 6, 1, 1}},
                                         LengthPath{"slot", {1, 0, 4, 0, 6, 1, 1, 0}}),
                       ::testing::Values(-1, 1)));

// ---- Files: template, copies, digest, launcher -------------------------

CAffiliateInfo Info(const std::string& key, const std::string& link, const std::string& site) {
    CAffiliateInfo info;
    info.m_strKey = key;
    info.m_strLink = link;
    info.m_strWebSite = site;
    return info;
}

// A signed custom setup: PE image, entry 0 the information file of info,
// entry 1 a setup, trailer, signature.
class StampFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.Path().empty());
        Spit(m_dir / "afflreg.dat", EncodeAffiliateInfo(Info("K1", "vendor-link", "vendor-site")));
        Spit(m_dir / "setup.exe", std::string(5000, 's'));
        CSfxPackage pkg;
        ASSERT_TRUE(pkg.AddFile(m_dir / "afflreg.dat"));
        ASSERT_TRUE(pkg.AddFile(m_dir / "setup.exe"));
        const std::string image = PeImage();
        ASSERT_EQ(pkg.BuildWithImage(image.data(), image.size(), m_dir / "built.exe"), SFX_OK);
        m_template = SignSha256(Slurp(m_dir / "built.exe"));
        Spit(TemplatePath(), m_template);
    }
    std::string TemplatePath() const { return m_dir / "template.exe"; }

    CAffiliateInfo LaunchInfo(const std::string& path, int& result) const {
        CSfxPackage package;
        CAffiliateInfo info;
        result = ReadLaunchPackage(path, package, info);
        return info;
    }

    TempFolder m_dir;
    std::string m_template;
};

TEST_F(StampFileTest, ACopyCarriesTheStampAndKeepsTheTemplatesBytesAndDigest) {
    ASSERT_EQ(CheckAuthenticodeDigest(TemplatePath()).state, DigestCheck::State::Matches);
    CStampTemplate stampTemplate;
    ASSERT_TRUE(stampTemplate.Open(TemplatePath())) << stampTemplate.Problem();
    const std::string copy = m_dir / "copy.exe";
    ASSERT_EQ(stampTemplate.WriteCopy(StampContentOf(Info("K1", "aff-link", "aff-site")), copy),
              SFX_OK);

    const std::string bytes = Slurp(copy);
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), stampTemplate.CopySize());
    const size_t table = GetLe32(m_template, kSecurityEntry);
    EXPECT_EQ(GetLe32(bytes, kSecurityEntry), table);
    EXPECT_EQ(GetLe32(bytes, kSecurityEntry + 4), bytes.size() - table);
    EXPECT_EQ(bytes.size() % 8, 0u);
    std::string before = bytes.substr(0, table), expected = m_template.substr(0, table);
    before.replace(kSecurityEntry, 8, 8, '\0');
    expected.replace(kSecurityEntry, 8, 8, '\0');
    EXPECT_EQ(before, expected);
    EXPECT_EQ(CheckAuthenticodeDigest(copy).state, DigestCheck::State::Matches);

    const SetupStamp stamp = ReadSetupStampOfFile(copy);
    ASSERT_EQ(stamp.state, SetupStamp::State::Stamped);
    EXPECT_EQ(stamp.info.m_strLink, "aff-link");
    int result = 0;
    EXPECT_EQ(LaunchInfo(copy, result).m_strWebSite, "aff-site");
    EXPECT_EQ(result, SFX_OK);
}

TEST_F(StampFileTest, RestampingReplacesTheStampInPlace) {
    CStampTemplate first;
    ASSERT_TRUE(first.Open(TemplatePath()));
    ASSERT_EQ(first.WriteCopy(StampContentOf(Info("K1", "one", "")), m_dir / "a.exe"), SFX_OK);
    CStampTemplate second;
    ASSERT_TRUE(second.Open(m_dir / "a.exe")) << second.Problem();
    ASSERT_EQ(second.WriteCopy(StampContentOf(Info("K1", "two", "")), m_dir / "b.exe"), SFX_OK);
    EXPECT_EQ(Slurp(m_dir / "a.exe").size(), Slurp(m_dir / "b.exe").size());
    EXPECT_EQ(ReadSetupStampOfFile(m_dir / "b.exe").info.m_strLink, "two");
}

TEST_F(StampFileTest, TheLauncherTakesEntryZeroWithoutAStamp) {
    int result = 0;
    EXPECT_EQ(LaunchInfo(TemplatePath(), result).m_strLink, "vendor-link");
    EXPECT_EQ(result, SFX_OK);
    EXPECT_EQ(ReadSetupStampOfFile(TemplatePath()).state, SetupStamp::State::Unstamped);
    EXPECT_EQ(LaunchInfo(m_dir / "built.exe", result).m_strLink, "vendor-link");
    EXPECT_EQ(ReadSetupStampOfFile(m_dir / "built.exe").state, SetupStamp::State::NotSigned);
}

TEST_F(StampFileTest, AChangedCodeByteBreaksTheDigestButNotTheStamp) {
    CStampTemplate stampTemplate;
    ASSERT_TRUE(stampTemplate.Open(TemplatePath()));
    ASSERT_EQ(stampTemplate.WriteCopy(StampContentOf(Info("K1", "l", "w")), m_dir / "c.exe"),
              SFX_OK);
    std::string bytes = Slurp(m_dir / "c.exe");
    bytes[600] ^= 1;
    Spit(m_dir / "c.exe", bytes);
    EXPECT_EQ(CheckAuthenticodeDigest(m_dir / "c.exe").state, DigestCheck::State::Differs);
    EXPECT_EQ(ReadSetupStampOfFile(m_dir / "c.exe").state, SetupStamp::State::Stamped);
}

TEST_F(StampFileTest, ACopyOfAChecksummedTemplateGetsItsOwnChecksum) {
    std::string withSum = m_template;
    PutLe32(withSum, kChecksumField, PeChecksum(withSum));
    Spit(TemplatePath(), withSum);
    CStampTemplate stampTemplate;
    ASSERT_TRUE(stampTemplate.Open(TemplatePath()));
    for (const char* link : {"x", "a much longer purchase link"}) {
        ASSERT_EQ(stampTemplate.WriteCopy(StampContentOf(Info("K1", link, "")), m_dir / "s.exe"),
                  SFX_OK);
        const std::string bytes = Slurp(m_dir / "s.exe");
        EXPECT_EQ(GetLe32(bytes, kChecksumField), PeChecksum(bytes)) << link;
    }
}

TEST_F(StampFileTest, TemplatesThatCannotBeStampedAreRefused) {
    CStampTemplate stampTemplate;
    EXPECT_FALSE(stampTemplate.Open(m_dir / "built.exe"));
    EXPECT_EQ(stampTemplate.Problem(), "is not signed");
    EXPECT_FALSE(stampTemplate.Open(m_dir / "missing.exe"));
    EXPECT_EQ(stampTemplate.Problem(), "cannot be read");
    ASSERT_TRUE(stampTemplate.Open(TemplatePath()));
    EXPECT_EQ(stampTemplate.WriteCopy("x", TemplatePath()), SFX_ERR_CREATE) << "never over itself";
    EXPECT_EQ(stampTemplate.WriteCopy(std::string(kStampMaxInfo + 1, 'x'), m_dir / "o.exe"),
              SFX_ERR_CREATE);
}

// Damage done to a stamped copy's certificate table; each is a malformed
// stamp, which the launcher takes as an unreadable information file.
struct TableDamage {
    const char* name;
    void (*apply)(std::string& bytes, size_t table);
};

class MalformedStampTest : public StampFileTest,
                           public ::testing::WithParamInterface<TableDamage> {};

TEST_P(MalformedStampTest, IsRefusedByTheLauncher) {
    CStampTemplate stampTemplate;
    ASSERT_TRUE(stampTemplate.Open(TemplatePath()));
    const std::string copy = m_dir / "m.exe";
    ASSERT_EQ(stampTemplate.WriteCopy(StampContentOf(Info("K1", "l", "w")), copy), SFX_OK);
    std::string bytes = Slurp(copy);
    GetParam().apply(bytes, GetLe32(bytes, kSecurityEntry));
    Spit(copy, bytes);
    EXPECT_EQ(ReadSetupStampOfFile(copy).state, SetupStamp::State::Malformed);
    // A table that does not end the file hides the package trailer as well;
    // the launcher still takes it for an unreadable information file.
    int result = 0;
    EXPECT_TRUE(LaunchInfo(copy, result).m_strKey.empty());
    EXPECT_EQ(result, SFX_ERR_OPEN);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, MalformedStampTest,
    ::testing::Values(
        TableDamage{"table_not_at_the_end", [](std::string& b, size_t) { b.append(8, '\0'); }},
        TableDamage{"table_misaligned",
                    [](std::string& b, size_t t) {
                        PutLe32(b, kSecurityEntry, static_cast<uint32_t>(t - 4));
                        PutLe32(b, kSecurityEntry + 4, static_cast<uint32_t>(b.size() - t + 4));
                    }},
        TableDamage{"entry_longer_than_table",
                    [](std::string& b, size_t t) {
                        PutLe32(b, t, static_cast<uint32_t>(b.size() - t + 8));
                    }},
        TableDamage{"entry_not_pkcs7", [](std::string& b, size_t t) { b[t + 6] = 1; }},
        TableDamage{
            "content_info_length_too_long",
            [](std::string& b, size_t t) { b[t + 8 + 3] = static_cast<char>(b[t + 8 + 3] + 1); }},
        TableDamage{
            "content_info_length_too_short",
            [](std::string& b, size_t t) { b[t + 8 + 3] = static_cast<char>(b[t + 8 + 3] - 1); }},
        TableDamage{"slot_missing",
                    [](std::string& b, size_t) {
                        const size_t magic = b.rfind("!KOVA_STAMP!");
                        b[magic - 4] = '\x05'; // the slot's tag: no octet string
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

// What is already at the output: a copy is the same bytes whatever it was,
// a file of ours is written over in place, and nothing else is written
// through.
struct ExistingOutput {
    const char* name;
    // Prepares path (in folder) and returns what must stay unchanged elsewhere.
    std::string (*prepare)(const std::string& folder, const std::string& path);
    bool inPlace; // the output keeps its file identity
};

class ExistingOutputTest : public StampFileTest,
                           public ::testing::WithParamInterface<ExistingOutput> {};

TEST_P(ExistingOutputTest, GetsTheWholeCopy) {
    CStampTemplate stampTemplate;
    ASSERT_TRUE(stampTemplate.Open(TemplatePath()));
    const std::string info = StampContentOf(Info("K1", "aff-link", "aff-site"));
    ASSERT_EQ(stampTemplate.WriteCopy(info, m_dir / "fresh.exe"), SFX_OK);

    const std::string output = m_dir / "out.exe";
    const std::string elsewhere = GetParam().prepare(m_dir.Path(), output);
    if (elsewhere == "skip")
        GTEST_SKIP() << "links cannot be made here";
#ifndef _WIN32
    struct stat st {};
    const ino_t inode = ::lstat(output.c_str(), &st) == 0 ? st.st_ino : 0;
#endif

    ASSERT_EQ(stampTemplate.WriteCopy(info, output), SFX_OK);
    EXPECT_EQ(Slurp(output), Slurp(m_dir / "fresh.exe"));
    EXPECT_FALSE(std::filesystem::is_symlink(output));
    EXPECT_EQ(Slurp(m_dir / "elsewhere"), elsewhere) << "written through another name";
#ifndef _WIN32
    ASSERT_EQ(::lstat(output.c_str(), &st), 0);
    EXPECT_EQ(st.st_ino == inode, GetParam().inPlace) << "written in place";
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, ExistingOutputTest,
    ::testing::Values(ExistingOutput{"none",
                                     [](const std::string& folder, const std::string&) {
                                         Spit(folder + "/elsewhere", "other");
                                         return std::string("other");
                                     },
                                     false},
                      ExistingOutput{"longer_file_of_ours",
                                     [](const std::string& folder, const std::string& path) {
                                         Spit(path, std::string(200000, 'x'));
                                         Spit(folder + "/elsewhere", "other");
                                         return std::string("other");
                                     },
                                     true},
                      ExistingOutput{"shorter_file_of_ours",
                                     [](const std::string& folder, const std::string& path) {
                                         Spit(path, "short");
                                         Spit(folder + "/elsewhere", "other");
                                         return std::string("other");
                                     },
                                     true},
                      ExistingOutput{"link_to_another_file",
                                     [](const std::string& folder, const std::string& path) {
                                         Spit(folder + "/elsewhere", "target");
                                         std::error_code ec;
                                         std::filesystem::create_symlink(folder + "/elsewhere",
                                                                         path, ec);
                                         return std::string(ec ? "skip" : "target");
                                     },
                                     false},
                      ExistingOutput{"file_of_another_user",
                                     [](const std::string& folder, const std::string& path) {
                                         Spit(path, "theirs");
                                         Spit(folder + "/elsewhere", "other");
#ifndef _WIN32
                                         if (::chown(path.c_str(), 65534, 65534) == 0)
                                             return std::string("other");
#endif
                                         return std::string("skip");
                                     },
                                     false},
                      ExistingOutput{"file_with_a_second_name",
                                     [](const std::string& folder, const std::string& path) {
                                         Spit(path, "shared bytes");
                                         std::error_code ec;
                                         std::filesystem::create_hard_link(
                                             path, folder + "/elsewhere", ec);
                                         return std::string(ec ? "skip" : "shared bytes");
                                     },
                                     false}),
    [](const auto& info) { return std::string(info.param.name); });
