#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "tests/model/ProjectFileBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test::FileBytes;

ProjectFileResult Decode(const std::string& bytes, CAffProject& p) {
    return DecodeProject(bytes, p);
}

void ExpectBadFormat(const std::string& bytes, const char* what) {
    CAffProject p;
    ProjectFileResult r = DecodeProject(bytes, p);
    EXPECT_EQ(r.code, ProjectFileResult::Code::BadFormat) << what;
    EXPECT_EQ(r.message, "Unexpected file format.") << what;
}

TEST(ProjectFileLoad, TagExampleWithTwoAffiliatesAndTwoRecords) {
    CAffProject p;
    CReseller r;
    p.AddReseller(r); // key 0
    p.AddReseller(r); // key 1
    for (uint16_t service : {0, 1}) {
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = service;
        p.m_mapRegInfo.SetAt(service, std::move(info));
    }
    FileBytes expected;
    expected.U32(100).U32(2).U32(0);
    for (int i = 0; i < 6; ++i)
        expected.Text("");
    expected.U16(0).Text("").Text("");
    // Keys 0 and 1 share a bucket: the one inserted last comes first.
    expected.U16(2).U16(1).NewClass("CReseller", 100).ResellerFields(1, "");
    expected.U16(0).U16(0x8001).ResellerFields(0, "");
    expected.U16(2).U16(1).NewClass("CProductRegInfo", 2).RegInfoFields(1, "");
    expected.U16(0).U16(0x8004).RegInfoFields(0, "");
    EXPECT_EQ(EncodeProject(p), expected.s);

    CAffProject loaded;
    ASSERT_TRUE(Decode(expected.s, loaded).Ok());
    EXPECT_EQ(loaded.m_mapResellers.GetCount(), 2u);
    ASSERT_NE(loaded.LookupRegInfo(1), nullptr);
    EXPECT_EQ(loaded.LookupRegInfo(1)->m_strServiceName, "ShareIt");
}

TEST(ProjectFileLoad, Version99HasNoSelfCreatorPath) {
    FileBytes f;
    f.U32(99).U32(4).U32(0).Text("T");
    for (int i = 0; i < 5; ++i)
        f.Text("");
    f.U16(2).Text("out").U16(1).U16(3).NewClass("CReseller", 100).ResellerFields(3, "A");
    f.U16(0);
    CAffProject p;
    p.m_strSelfCreatorPath = "stale";
    ASSERT_TRUE(Decode(f.s, p).Ok());
    EXPECT_EQ(p.m_strSelfCreatorPath, "");
    EXPECT_EQ(p.m_strOutputDir, "out");
    EXPECT_EQ(p.m_wDefaultService, 2);
    EXPECT_EQ(p.m_nNextResellerId, 4u);
    ASSERT_NE(p.LookupReseller(3), nullptr);
    EXPECT_EQ(p.LookupReseller(3)->m_strName, "A");
}

TEST(ProjectFileLoad, WideTextsAndCountEscapeAreRead) {
    FileBytes f;
    f.U32(100).U32(0).U32(0);
    f.Raw("\xFF\xFE\xFF\x02").Raw(std::string("P\0\xE9\0", 4)); // title "Pé" in UTF-16LE
    for (int i = 0; i < 5; ++i)
        f.Text("");
    f.U16(0).Text("").Text("");
    f.U16(0xFFFF).U32(1).U16(0).NewClass("CReseller", 100).ResellerFields(0, "A");
    f.U16(0xFFFF).U32(0);
    CAffProject p;
    ASSERT_TRUE(Decode(f.s, p).Ok());
    EXPECT_EQ(p.m_strTitle, "P\xC3\xA9");
    EXPECT_EQ(p.m_mapResellers.GetCount(), 1u);
}

TEST(ProjectFileLoad, SameKeyTwiceReplacesTheEarlierRecord) {
    FileBytes f;
    f.Header().U16(2);
    f.U16(5).NewClass("CReseller", 100).ResellerFields(5, "first");
    f.U16(5).U16(0x8001).ResellerFields(5, "second");
    f.U16(2);
    f.U16(1).NewClass("CProductRegInfo", 2).RegInfoFields(1, "x");
    f.U16(1).U16(0x8004).RegInfoFields(1, "y");
    CAffProject p;
    ASSERT_TRUE(Decode(f.s, p).Ok());
    ASSERT_EQ(p.m_mapResellers.GetCount(), 1u);
    EXPECT_EQ(p.LookupReseller(5)->m_strName, "second");
    ASSERT_EQ(p.m_mapRegInfo.GetCount(), 1u);
    EXPECT_EQ(p.LookupRegInfo(1)->m_strProductId, "y");
}

TEST(ProjectFileLoad, ServiceNamesOnlyForKnownIndices) {
    FileBytes f;
    f.Header().U16(0).U16(2);
    f.U16(3).NewClass("CProductRegInfo", 2).RegInfoFields(3, "o");
    f.U16(7).U16(0x8001).RegInfoFields(7, "x");
    f.Raw("trailing bytes are not read");
    CAffProject p;
    ASSERT_TRUE(Decode(f.s, p).Ok());
    EXPECT_EQ(p.LookupRegInfo(3)->m_strServiceName, "Other");
    EXPECT_EQ(p.LookupRegInfo(7)->m_strServiceName, "");
}

TEST(ProjectFileLoad, ContentFaultsAreRefused) {
    const std::string reseller = FileBytes().NewClass("CReseller", 100).ResellerFields(0, "A").s;
    auto withResellers = [](const std::string& entries, unsigned count) {
        FileBytes f;
        f.Header().U16(count).Raw(entries).U16(0);
        return f.s;
    };
    auto withRegInfo = [](const std::string& entries, unsigned count) {
        FileBytes f;
        f.Header().U16(0).U16(count).Raw(entries);
        return f.s;
    };
    ExpectBadFormat(withResellers(FileBytes().U16(0).U16(0).ResellerFields(0, "A").s, 1),
                    "null tag");
    ExpectBadFormat(withResellers(FileBytes().U16(0).Raw(reseller).U16(1).U16(2).s, 2),
                    "reference to an earlier object");
    ExpectBadFormat(
        withResellers(FileBytes().U16(0).NewClass("CResellex", 100).ResellerFields(0, "A").s, 1),
        "unknown class");
    ExpectBadFormat(
        withResellers(
            FileBytes().U16(0).NewClass(std::string(64, 'C'), 100).ResellerFields(0, "A").s, 1),
        "class name of 64 bytes");
    ExpectBadFormat(
        withResellers(FileBytes().U16(0).NewClass("CProductRegInfo", 2).RegInfoFields(0, "").s, 1),
        "registration info in the affiliate map");
    ExpectBadFormat(withRegInfo(FileBytes().U16(0).Raw(reseller).s, 1),
                    "affiliate in the registration-info map");
    ExpectBadFormat(withRegInfo(FileBytes()
                                    .U16(0)
                                    .NewClass("CProductRegInfo", 2)
                                    .RegInfoFields(0, "")
                                    .U16(1)
                                    .U16(0x8002)
                                    .RegInfoFields(1, "")
                                    .s,
                                2),
                    "class-seen tag naming an object");
    ExpectBadFormat(withRegInfo(FileBytes().U16(0).U16(0x8001).RegInfoFields(0, "").s, 1),
                    "class-seen tag naming nothing");
    ExpectBadFormat(
        withRegInfo(FileBytes().U16(0).NewClass("CProductRegInfo", 3).RegInfoFields(0, "").s, 1),
        "registration info with schema 3");
    // A complete file whose affiliate map then names the affiliate class from
    // the registration-info map by its class-seen tag.
    FileBytes mixed;
    mixed.Header().U16(1).U16(0).Raw(reseller).U16(1).U16(0).U16(0x8001).RegInfoFields(0, "");
    ExpectBadFormat(mixed.s, "class-seen tag of the wrong class");

    // For comparison: the versionable affiliate class takes any schema.
    CAffProject p;
    EXPECT_TRUE(Decode(withResellers(
                           FileBytes().U16(0).NewClass("CReseller", 7).ResellerFields(0, "A").s, 1),
                       p)
                    .Ok());
}

TEST(ProjectFileLoad, FileCutAtEveryLengthLoadsOrReportsTheFormat) {
    CAffProject p;
    p.m_strTitle = std::string(300, 't');
    p.m_strSelfCreatorPath = "self.exe";
    CReseller r;
    r.m_strName = "one";
    r.m_strPurchaseLink = "https://example.test/buy?a=1";
    p.AddReseller(r);
    r.m_strName = "two";
    p.AddReseller(r);
    for (uint16_t s : {0, 2}) {
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = s;
        info->m_strProductId = "id";
        p.m_mapRegInfo.SetAt(s, std::move(info));
    }
    const std::string full = EncodeProject(p);
    for (size_t n = 0; n <= full.size(); ++n) {
        CAffProject loaded;
        ProjectFileResult result = DecodeProject(std::string_view(full).substr(0, n), loaded);
        if (n == 0 || n == full.size()) {
            EXPECT_TRUE(result.Ok()) << n;
        } else {
            EXPECT_EQ(result.code, ProjectFileResult::Code::BadFormat) << n;
            EXPECT_EQ(result.message, "Unexpected file format.") << n;
        }
    }
    CAffProject empty;
    empty.m_strTitle = "stale";
    ASSERT_TRUE(DecodeProject("", empty).Ok());
    EXPECT_EQ(empty.m_strTitle, "");
    EXPECT_TRUE(empty.m_mapResellers.IsEmpty());
}

TEST(ProjectFileLoad, RoundTripKeepsEveryStoredField) {
    CAffProject p;
    p.m_wDefaultService = 2;
    p.m_strOutputDir = "out";
    p.m_strSelfCreatorPath = "self.exe";
    p.m_dwReserved = 0xDEADBEEF;
    p.m_nNextResellerId = 0x12345; // above 16 bits: keys wrap
    p.m_strTitle = "Title";
    p.m_strReserved = "reserved";
    p.m_strUuid = "0B5D5C1E-7A41-4F7E-9C2B-5D3E4F506172";
    p.m_strWebSite = "https://w.test";
    p.m_strVersion = "1.2";
    p.m_strSetupFile = "setup.exe";
    CReseller r;
    r.m_strEmail = "a@b.test";
    r.m_strAffiliateId = "aff";
    r.m_strName = "N";
    r.m_strWebSite = "https://a.test";
    r.m_strPurchaseLink = "https://buy.test/?x=1";
    r.m_nService = -1;
    r.m_strSetupPath = "out\\a.exe";
    r.m_tModified = -5;
    p.AddReseller(r);
    r.m_strName = "M";
    p.AddReseller(r);
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = 1;
    info->m_strProductId = "pid";
    info->m_strPurchaseLink = "https://link.test";
    p.m_mapRegInfo.SetAt(1, std::move(info));

    CAffProject q;
    ASSERT_TRUE(DecodeProject(EncodeProject(p), q).Ok());
    EXPECT_EQ(q.m_wDefaultService, 2);
    EXPECT_EQ(q.m_strOutputDir, "out");
    EXPECT_EQ(q.m_strSelfCreatorPath, "self.exe");
    EXPECT_EQ(q.m_dwReserved, 0xDEADBEEFu);
    EXPECT_EQ(q.m_nNextResellerId, 0x12347u);
    EXPECT_EQ(q.m_strTitle, "Title");
    EXPECT_EQ(q.m_strReserved, "reserved");
    EXPECT_EQ(q.m_strUuid, p.m_strUuid);
    EXPECT_EQ(q.m_strWebSite, "https://w.test");
    EXPECT_EQ(q.m_strVersion, "1.2");
    EXPECT_EQ(q.m_strSetupFile, "setup.exe");
    // Both keys share a bucket; loading keeps the order of the file, so a
    // load and save gives back the same bytes.
    EXPECT_EQ(p.m_mapResellers.Keys(), (std::vector<uint16_t>{0x2346, 0x2345}));
    EXPECT_EQ(q.m_mapResellers.Keys(), (std::vector<uint16_t>{0x2346, 0x2345}));
    const CReseller* a = q.LookupReseller(0x2345);
    const CReseller* b = q.LookupReseller(0x2346);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->m_nId, 0x12345u);
    EXPECT_EQ(b->m_nId, 0x12346u);
    EXPECT_EQ(a->m_strName, "N");
    EXPECT_EQ(b->m_strName, "M");
    EXPECT_EQ(a->m_strEmail, "a@b.test");
    EXPECT_EQ(a->m_strAffiliateId, "aff");
    EXPECT_EQ(a->m_strWebSite, "https://a.test");
    EXPECT_EQ(a->m_strPurchaseLink, "https://buy.test/?x=1");
    EXPECT_EQ(a->m_nService, -1);
    EXPECT_EQ(a->m_strSetupPath, "out\\a.exe");
    EXPECT_EQ(a->m_tModified, -5);
    const CProductRegInfo* i = q.LookupRegInfo(1);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->m_strProductId, "pid");
    EXPECT_EQ(i->m_strPurchaseLink, "https://link.test");
    EXPECT_EQ(EncodeProject(q), EncodeProject(p));
}

TEST(ProjectFileLoad, EntriesFollowTheBucketOrder) {
    CAffProject p;
    // Buckets: 0, 1 and 272 in bucket 0; 16 and 17 in bucket 1.
    for (uint32_t id : {0u, 16u, 1u, 272u, 17u}) {
        p.m_nNextResellerId = id;
        CReseller r;
        r.m_strName = "k" + std::to_string(id);
        p.AddReseller(r);
    }
    const std::vector<uint16_t> expected = {272, 1, 0, 17, 16};
    EXPECT_EQ(p.m_mapResellers.Keys(), expected);
    const std::string bytes = EncodeProject(p);
    size_t last = 0;
    for (uint16_t key : expected) {
        const size_t named = bytes.find(std::string(1, char(1 + std::to_string(key).size())) + "k" +
                                        std::to_string(key));
        ASSERT_NE(named, std::string::npos) << key;
        EXPECT_GT(named, last) << key;
        last = named;
    }
}

} // namespace
