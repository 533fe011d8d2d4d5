// Every writer under a failing file layer: the Nth open, write or rename of a
// save, a Build All, a self creator build or an extraction fails, for every N
// the road has. Afterwards each file is its previous content or its new one,
// whole; no temporary file is left; and a failure is reported with the
// road's own message.
#include "BuilderTestSupport.h"

#include "model/ProjectFile.h"
#include "package/AffiliateInfoFile.h"
#include "package/SelfCreatorBuilder.h"
#include "platform/Beep.h"
#include "platform/FileFaults.h"

#include <gtest/gtest.h>

#include <map>

using namespace buildertest;
using platform::FileFaults;
using platform::FileOperation;

namespace {

enum class Road { Save, BuildAll, BuildSelfCreator, Extraction };

struct FaultCase {
    Road road;
    FileOperation operation;
};

std::string Name(const ::testing::TestParamInfo<FaultCase>& info) {
    static const char* roads[] = {"Save", "BuildAll", "BuildSelfCreator", "Extraction"};
    static const char* operations[] = {"Open", "Write", "Rename"};
    return std::string(roads[static_cast<int>(info.param.road)]) +
           operations[static_cast<int>(info.param.operation)];
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

// One world per try: a saved project with three affiliates whose packages and
// self creator were built from the first link, then the link is changed.
class FileFaultTest : public ::testing::TestWithParam<FaultCase>, public BuilderFixture {
protected:
    const std::vector<std::string> kNames = {"a", "b", "c"};

    void MakeWorld() {
        FileFaults::Reset();
        fs::remove_all(root / "proj");
        fs::remove_all(root / "out");
        fs::remove_all(root / "x");
        fs::create_directories(root / "x");
        project = Product();
        for (const std::string& name : kNames)
            project.AddReseller(Affiliate(name, "../out/" + name + ".exe"));
        project.m_strSelfCreatorPath = "../out/VelkSMNG.exe";
        ASSERT_TRUE(SaveProjectFile(project.m_strProjectPath, project).Ok());
        ASSERT_EQ(BuildAll(), 0);
        ASSERT_EQ(BuildSelfCreator(), SelfCreatorResult::Built);
        before.clear();
        for (const auto& e : fs::directory_iterator(root / "out"))
            before[e.path().filename().string()] = ReadFile(e.path());
        projectBefore = ReadFile(project.m_strProjectPath);
        ASSERT_EQ(before.size(), 4u);

        for (uint16_t key : project.m_mapResellers.Keys())
            project.LookupReseller(key)->m_strPurchaseLink += "&new=1";
        sink.Clear();
    }

    int BuildAll() {
        CAffiliateBuilder builder(Environment());
        return builder.BuildAll(project)->Wait();
    }

    SelfCreatorResult BuildSelfCreator() {
        CSelfCreatorBuilder builder(sink, [] { return kStartTime; });
        builder.SetTempFolder(tempFolder.string());
        return builder.Build(project);
    }

    // Runs the road once; true when it reported a failure, which must then
    // be in its own words.
    bool RunRoad() {
        switch (GetParam().road) {
        case Road::Save: {
            ProjectFileResult result = SaveProjectFile(project.m_strProjectPath, project);
            if (!result.Ok())
                EXPECT_FALSE(result.message.empty());
            return !result.Ok();
        }
        case Road::BuildAll: {
            const int errors = BuildAll();
            if (errors > 0)
                ExpectBuildLogSays(errors);
            return errors > 0;
        }
        case Road::BuildSelfCreator: {
            const SelfCreatorResult result = BuildSelfCreator();
            if (result != SelfCreatorResult::Built)
                ExpectBuildLogSays(1);
            return result != SelfCreatorResult::Built;
        }
        case Road::Extraction: {
            CSfxPackage package;
            extracted =
                package.ExtractFrom((root / "out" / "a.exe").string(), (root / "x").string());
            return extracted != SFX_OK;
        }
        }
        return false;
    }

    // The build's lines name each failure with the builders' own messages.
    void ExpectBuildLogSays(int errors) {
        int said = 0;
        for (const std::string& line : sink.Lines())
            if (StartsWith(line, "Error! Can't build affiliate setup file [") ||
                StartsWith(line, "Internal Error!") ||
                StartsWith(line, "Error! Can't open program setup file[") ||
                StartsWith(line, "Error! Can't build selfmanaged stand-alone software.["))
                ++said;
        EXPECT_EQ(said, errors);
    }

    // Each package is the previous one or a whole new one with the new link.
    void ExpectFilesWholeAndNoStrays() {
        for (const auto& e : fs::directory_iterator(root / "out")) {
            const std::string name = e.path().filename().string();
            ASSERT_EQ(before.count(name), 1u) << "left behind: " << name;
            if (ReadFile(e.path()) == before[name])
                continue;
            CSfxPackage pkg;
            ASSERT_EQ(pkg.ReadDirectory(e.path().string()), SFX_OK) << name;
            std::string info;
            ASSERT_EQ(pkg.ReadEntryBytes(0, 100000, info), SFX_OK);
            if (name != "VelkSMNG.exe") {
                CAffiliateInfo decoded;
                ASSERT_EQ(DecodeAffiliateInfo(info, decoded), SFX_OK);
                EXPECT_NE(decoded.m_strLink.find("&new=1"), std::string::npos) << name;
            }
        }
        EXPECT_EQ(before.size(),
                  static_cast<size_t>(std::distance(fs::directory_iterator(root / "out"),
                                                    fs::directory_iterator())));
        const std::string projectNow = ReadFile(project.m_strProjectPath);
        EXPECT_TRUE(projectNow == projectBefore || projectNow == EncodeProject(project));
        EXPECT_EQ(std::distance(fs::directory_iterator(root / "proj"), fs::directory_iterator()),
                  1);
        EXPECT_TRUE(TempFolderEntries().empty());
        ExpectExtractedFilesWhole();
    }

    // An extraction leaves whole entries or none.
    void ExpectExtractedFilesWhole() {
        CSfxPackage pkg;
        ASSERT_EQ(pkg.ReadDirectory((root / "out" / "a.exe").string()), SFX_OK);
        for (const auto& e : fs::directory_iterator(root / "x")) {
            const std::string name = e.path().filename().string();
            bool whole = false;
            for (int i = 0; i < pkg.GetCount(); ++i) {
                std::string bytes;
                if (pkg.GetEntry(i).m_strName == name &&
                    pkg.ReadEntryBytes(i, 1 << 20, bytes) == SFX_OK)
                    whole = whole || bytes == ReadFile(e.path());
            }
            EXPECT_TRUE(whole) << "partial extracted file " << name;
        }
    }

    CAffProject project;
    std::map<std::string, std::string> before;
    std::string projectBefore;
    int extracted = SFX_OK;
};

TEST_P(FileFaultTest, EveryFailureLeavesFilesWholeAndIsReported) {
    platform::SetBeepHandler([] {});
    MakeWorld();
    ASSERT_FALSE(HasFatalFailure());
    FileFaults::Reset();
    ASSERT_FALSE(RunRoad()) << "the road works without faults";
    const int operations = FileFaults::Count(GetParam().operation);

    int reported = 0;
    for (int n = 1; n <= operations; ++n) {
        SCOPED_TRACE("failing operation " + std::to_string(n) + " of " +
                     std::to_string(operations));
        MakeWorld();
        ASSERT_FALSE(HasFatalFailure());
        FileFaults::FailNth(GetParam().operation, n);
        if (RunRoad())
            ++reported;
        FileFaults::Reset();
        ExpectFilesWholeAndNoStrays();
        if (HasFailure())
            break;
    }
    FileFaults::Reset();
    platform::SetBeepHandler({});
    // Every road of the table does this kind of operation, and failing it
    // cannot always be recovered from.
    EXPECT_GT(operations, 0);
    EXPECT_GT(reported, 0) << operations << " operations";
}

INSTANTIATE_TEST_SUITE_P(Roads, FileFaultTest,
                         ::testing::Values(FaultCase{Road::Save, FileOperation::Open},
                                           FaultCase{Road::Save, FileOperation::Write},
                                           FaultCase{Road::Save, FileOperation::Rename},
                                           FaultCase{Road::BuildAll, FileOperation::Open},
                                           FaultCase{Road::BuildAll, FileOperation::Write},
                                           FaultCase{Road::BuildAll, FileOperation::Rename},
                                           FaultCase{Road::BuildSelfCreator, FileOperation::Open},
                                           FaultCase{Road::BuildSelfCreator, FileOperation::Write},
                                           FaultCase{Road::BuildSelfCreator, FileOperation::Rename},
                                           FaultCase{Road::Extraction, FileOperation::Open},
                                           FaultCase{Road::Extraction, FileOperation::Write}),
                         Name);

} // namespace
