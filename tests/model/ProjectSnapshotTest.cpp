#include "model/ProjectSnapshot.h"
#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "tests/model/ProjectFileBytes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

using test::FileBytes;

// A snapshot must read every file exactly as a project does: the same outcome,
// the same affiliates in the same order, and the same bytes when saved.
struct SnapshotCase {
    std::string name;
    std::string bytes;
};

void PrintTo(const SnapshotCase& c, std::ostream* os) {
    *os << c.name << " (" << c.bytes.size() << " bytes)";
}

// An affiliate whose name is stored in the wide form: "Zoë".
std::string WideNamedAffiliate(uint32_t id) {
    FileBytes f;
    f.U32(100).U32(id).Raw("\xFF\xFE\xFF\x03").Raw(std::string("Z\0o\0\xEB\0", 6));
    f.Text("https://w.test").Text("").U32(1).Text("s.exe").Text("e@x.test").Text("a1");
    return f.U32(1600000000).s;
}

std::vector<SnapshotCase> Cases() {
    std::vector<SnapshotCase> cases;
    {
        FileBytes f;
        f.Header().U16(2);
        f.U16(5).NewClass("CReseller", 100).ResellerFields(5, "first");
        f.U16(5).U16(0x8001).ResellerFields(5, "second");
        f.U16(0);
        cases.push_back({"same_key_twice", f.s});
    }
    {
        // Keys of buckets 1, 0, 1, 0 in turn: the file's order is not the map's.
        FileBytes f;
        f.Header().U16(4);
        f.U16(16).NewClass("CReseller", 100).ResellerFields(16, "b1");
        f.U16(0).U16(0x8001).ResellerFields(0, "a1");
        f.U16(17).U16(0x8001).ResellerFields(17, "b2");
        f.U16(272).U16(0x8001).ResellerFields(272, "a2");
        f.U16(1).U16(1).NewClass("CProductRegInfo", 2).RegInfoFields(1, "x");
        cases.push_back({"buckets_interleaved", f.s});
    }
    {
        FileBytes f;
        f.Header().U16(2);
        f.U16(7).NewClass("CReseller", 100).Raw(WideNamedAffiliate(7));
        f.U16(8).U16(0x8001).Raw(WideNamedAffiliate(8));
        f.U16(0);
        cases.push_back({"wide_texts", f.s});
    }
    {
        FileBytes f;
        f.Header(99).U16(1).U16(3).NewClass("CReseller", 100).ResellerFields(3, "old").U16(0);
        cases.push_back({"version_99", f.s});
    }
    {
        FileBytes f;
        f.Header().U16(1).U16(0).NewClass("CResellex", 100).ResellerFields(0, "A").U16(0);
        cases.push_back({"unknown_class", f.s});
    }

    // A project as the program writes it, and the same cut at every length.
    CAffProject p;
    p.m_strTitle = "Product";
    for (const char* name : {"one", "two", "three"}) {
        CReseller r;
        r.m_strName = name;
        r.m_strPurchaseLink = std::string("https://example.test/buy?a=") + name;
        p.AddReseller(r);
    }
    const std::string full = EncodeProject(p);
    for (size_t n = 0; n <= full.size(); ++n)
        cases.push_back({"cut_at_" + std::to_string(n), full.substr(0, n)});

    for (const auto& entry : std::filesystem::directory_iterator(PROJECT_FILE_SAMPLES_DIR)) {
        std::ifstream in(entry.path(), std::ios::binary);
        cases.push_back({"sample_" + entry.path().stem().string(),
                         std::string(std::istreambuf_iterator<char>(in), {})});
    }
    return cases;
}

std::vector<std::string> Fields(const CReseller& r) {
    return {std::to_string(r.m_nId),
            r.m_strName,
            r.m_strWebSite,
            r.m_strPurchaseLink,
            r.m_strSetupPath,
            r.m_strEmail,
            r.m_strAffiliateId,
            std::to_string(r.m_nService),
            std::to_string(r.m_tModified)};
}

std::vector<std::string> Fields(const CResellerView& r) {
    return {std::to_string(r.m_nId),         std::string(r.m_strName),
            std::string(r.m_strWebSite),     std::string(r.m_strPurchaseLink),
            std::string(r.m_strSetupPath),   std::string(r.m_strEmail),
            std::string(r.m_strAffiliateId), std::to_string(r.m_nService),
            std::to_string(r.m_tModified)};
}

class ProjectSnapshotReads : public testing::TestWithParam<SnapshotCase> {};

TEST_P(ProjectSnapshotReads, AsTheProjectDoes) {
    const std::string& bytes = GetParam().bytes;
    CAffProject project;
    const ProjectFileResult expected = DecodeProject(bytes, project);
    CProjectSnapshot snapshot;
    const ProjectFileResult got = snapshot.Decode(bytes);
    ASSERT_EQ(got.code, expected.code);
    EXPECT_EQ(got.message, expected.message);
    if (!expected.Ok())
        return;

    EXPECT_EQ(snapshot.resellers.Keys(), project.m_mapResellers.Keys());
    std::vector<std::vector<std::string>> viewed, owned;
    snapshot.resellers.ForEach(
        [&](uint16_t, const CResellerView& r) { viewed.push_back(Fields(r)); });
    project.m_mapResellers.ForEach(
        [&](uint16_t, const CReseller& r) { owned.push_back(Fields(r)); });
    EXPECT_EQ(viewed, owned);
    EXPECT_EQ(snapshot.product.m_strTitle, project.m_strTitle);
    EXPECT_EQ(snapshot.product.m_mapRegInfo.Keys(), project.m_mapRegInfo.Keys());
    EXPECT_TRUE(snapshot.product.m_mapResellers.IsEmpty());
    EXPECT_EQ(snapshot.Encode(), EncodeProject(project));
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectSnapshotReads, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<SnapshotCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// The wide texts live in the snapshot, so a second read must not leave the
// first one's texts behind, and a failed read leaves nothing to show.
TEST(ProjectSnapshot, ReadingAgainReplacesEverything) {
    FileBytes wide;
    wide.Header().U16(1).U16(7).NewClass("CReseller", 100).Raw(WideNamedAffiliate(7)).U16(0);
    CProjectSnapshot snapshot;
    ASSERT_TRUE(snapshot.Decode(wide.s).Ok());
    ASSERT_EQ(snapshot.resellers.Lookup(7)->m_strName, "Zo\xC3\xAB");

    FileBytes plain;
    plain.Header().U16(1).U16(9).NewClass("CReseller", 100).ResellerFields(9, "nine").U16(0);
    ASSERT_TRUE(snapshot.Decode(plain.s).Ok());
    EXPECT_EQ(snapshot.resellers.Keys(), std::vector<uint16_t>{9});
    EXPECT_EQ(snapshot.resellers.Lookup(9)->m_strName, "nine");

    ASSERT_TRUE(snapshot.Decode("").Ok());
    EXPECT_TRUE(snapshot.resellers.IsEmpty());
}

} // namespace
