#include "BuilderTestSupport.h"

#include "package/AffiliateInfoFile.h"
#include "package/BuildRunningFlag.h"

#include <gtest/gtest.h>

using namespace buildertest;

namespace {

class BuilderConcurrencyTest : public ::testing::Test, public BuilderFixture {};

// The user edits, deletes and adds affiliates while their build runs: every
// package must still be whole and carry the data of the moment the command
// was given.
TEST_F(BuilderConcurrencyTest, EditsDuringABuildNeverReachItsPackages) {
    constexpr int kRounds = 15;
    constexpr int kAffiliates = 12;
    for (int round = 0; round < kRounds; ++round) {
        CAffProject project = Product(std::string(20000 + round, 'P'));
        const fs::path outFolder = root / ("round" + std::to_string(round));
        for (int i = 0; i < kAffiliates; ++i) {
            std::string name = "aff" + std::to_string(i);
            project.AddReseller(Affiliate(name, (outFolder / (name + ".exe")).string()));
        }
        const CAffProject snapshot = project;

        std::atomic<bool> done{false};
        BuildEnvironment env = Environment();
        env.onFinished = [&](int) { done = true; };
        CAffiliateBuilder builder(env);
        auto job = builder.BuildAll(project);

        // Keep changing the project until the worker is finished.
        int edits = 0;
        while (!done || edits < 50) {
            for (uint16_t key : project.m_mapResellers.Keys()) {
                if (CReseller* r = project.LookupReseller(key)) {
                    r->m_strPurchaseLink.assign(300 + edits % 50, 'z');
                    r->m_strWebSite.clear();
                    r->m_strSetupPath = (root / "never" / "x.exe").string();
                }
            }
            if (!project.m_mapResellers.IsEmpty())
                project.RemoveReseller(project.m_mapResellers.Keys().front());
            project.AddReseller(Affiliate("late" + std::to_string(edits), "late.exe"));
            project.m_strUuid = "CHANGED";
            project.m_strSetupFile = "gone.exe";
            ++edits;
        }
        EXPECT_EQ(job->Wait(), 0);
        EXPECT_FALSE(IsBuildRunning());
        EXPECT_FALSE(fs::exists(root / "never"));

        snapshot.m_mapResellers.ForEach([&](uint16_t, const CReseller& r) {
            CSfxPackage pkg;
            ASSERT_EQ(pkg.ReadDirectory(r.m_strSetupPath), SFX_OK) << r.m_strSetupPath;
            ASSERT_EQ(pkg.GetCount(), 2);
            std::string info, setup;
            ASSERT_EQ(pkg.ReadEntryBytes(0, 100000, info), SFX_OK);
            ASSERT_EQ(pkg.ReadEntryBytes(1, 100000, setup), SFX_OK);
            CAffiliateInfo decoded;
            ASSERT_EQ(DecodeAffiliateInfo(info, decoded), SFX_OK);
            EXPECT_EQ(decoded.m_strKey, snapshot.m_strUuid);
            EXPECT_EQ(decoded.m_strLink, r.m_strPurchaseLink);
            EXPECT_EQ(decoded.m_strWebSite, r.m_strWebSite);
            EXPECT_EQ(setup, std::string(20000 + round, 'P'));
        });
        EXPECT_EQ(sink.Lines().back(), "*** Finished! - 0 error(s)");
        EXPECT_TRUE(TempFolderEntries().empty());
    }
}

// Two builds side by side (Run Setup during Build All): both finish whole,
// their information files never collide, and each keeps its own count.
TEST_F(BuilderConcurrencyTest, TwoWorkersSideBySide) {
    CAffProject project = Product();
    for (int i = 0; i < 8; ++i)
        project.AddReseller(Affiliate("a" + std::to_string(i),
                                      (root / "a" / ("a" + std::to_string(i) + ".exe")).string()));
    CAffProject broken = project;
    broken.m_strSetupFile = (root / "missing.exe").string();

    CAffiliateBuilder builder(Environment());
    auto first = builder.Start(MakeBuildAllRequest(project));
    auto second = builder.Start(MakeBuildAllRequest(broken));
    EXPECT_EQ(first->Wait(), 0);
    EXPECT_EQ(second->Wait(), 1);
    EXPECT_FALSE(IsBuildRunning());
    EXPECT_TRUE(TempFolderEntries().empty());
    project.m_mapResellers.ForEach([&](uint16_t, const CReseller& r) {
        CSfxPackage pkg;
        EXPECT_EQ(pkg.ReadDirectory(r.m_strSetupPath), SFX_OK);
    });
}

} // namespace
