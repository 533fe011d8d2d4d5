#include "model/AffProject.h"
#include "model/ProjectFile.h"

#include <gtest/gtest.h>

namespace {

CReseller Named(const std::string& name) {
    CReseller r;
    r.m_strName = name;
    r.m_nId = 999; // never copied: the project assigns the id
    return r;
}

TEST(AffProjectKeys, KeysAreNeverReused) {
    CAffProject p;
    for (int i = 0; i < 3; ++i)
        p.AddReseller(Named("r"));
    p.RemoveReseller(1);
    p.RemoveReseller(42); // absent: nothing happens
    uint16_t key = 0;
    ASSERT_EQ(p.AddReseller(Named("new"), &key), CAffProject::AddResult::Added);
    EXPECT_EQ(key, 3);
    EXPECT_EQ(p.LookupReseller(3)->m_nId, 3u);
    EXPECT_EQ(p.LookupReseller(1), nullptr);
    EXPECT_EQ(p.m_mapResellers.GetCount(), 3u);
}

TEST(AffProjectKeys, ClearStartsAgainAtZeroAndKeepsThePath) {
    CAffProject p;
    p.m_strProjectPath = "/p/x.vkp";
    p.m_strTitle = "T";
    p.m_dwReserved = 3;
    p.AddReseller(Named("a"));
    p.AddReseller(Named("b"));
    p.Clear();
    EXPECT_EQ(p.m_strTitle, "");
    EXPECT_EQ(p.m_dwReserved, 0u);
    EXPECT_EQ(p.m_strProjectPath, "/p/x.vkp");
    uint16_t key = 7;
    p.AddReseller(Named("c"), &key);
    EXPECT_EQ(key, 0);
}

TEST(AffProjectKeys, WrappedKeysSkipOccupiedOnes) {
    CAffProject p;
    p.m_nNextResellerId = 0xFFFF;
    p.AddReseller(Named("last")); // key 0xFFFF, id 0xFFFF
    p.m_nNextResellerId = 0;
    p.AddReseller(Named("zero"));
    p.AddReseller(Named("one"));
    p.m_nNextResellerId = 0x1FFFF; // wraps onto key 0xFFFF
    uint16_t key = 0;
    ASSERT_EQ(p.AddReseller(Named("new"), &key), CAffProject::AddResult::Added);
    EXPECT_EQ(key, 2);
    EXPECT_EQ(p.LookupReseller(2)->m_nId, 0x20002u);
    EXPECT_EQ(p.m_nNextResellerId, 0x20003u);
    EXPECT_EQ(p.LookupReseller(0xFFFF)->m_strName, "last");
    EXPECT_EQ(p.LookupReseller(0)->m_strName, "zero");
    EXPECT_EQ(p.LookupReseller(1)->m_strName, "one");
}

TEST(AffProjectKeys, FullKeySpaceRefusesAndSavesWithTheCountEscape) {
    CAffProject p;
    for (uint32_t i = 0; i < 65536; ++i)
        ASSERT_EQ(p.AddReseller(CReseller{}), CAffProject::AddResult::Added);
    const uint32_t next = p.m_nNextResellerId;
    EXPECT_EQ(p.AddReseller(Named("extra")), CAffProject::AddResult::KeySpaceFull);
    EXPECT_EQ(p.m_nNextResellerId, next);
    EXPECT_EQ(p.m_mapResellers.GetCount(), 65536u);
    p.m_mapResellers.ForEach([](uint16_t, const CReseller& r) { ASSERT_NE(r.m_strName, "extra"); });

    const std::string bytes = EncodeProject(p);
    // 65,536 affiliates: the count escapes to a u32 right after the header.
    EXPECT_EQ(bytes.substr(22, 6), std::string("\xFF\xFF\x00\x00\x01\x00", 6));
    CAffProject q;
    ASSERT_TRUE(DecodeProject(bytes, q).Ok());
    EXPECT_EQ(q.m_mapResellers.GetCount(), 65536u);
}

} // namespace
