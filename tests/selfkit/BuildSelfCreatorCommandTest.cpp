#include "tests/support/SelfCreatorFixtures.h"

#include "package/SfxPackage.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/LogRecorder.h"
#include "ui/RecentFileList.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraDoc.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

TEST(BuildSelfCreatorCommand, WritesIntoTheLogAndKeepsTheProjectUnmodified) {
    ScratchFolder work, temp;
    FakePrompts prompts;
    CRecentFileList recent;
    CVelkoraDoc doc(prompts, recent);
    LogRecorder log;
    log.Append("earlier build");
    doc.SetLog(&log);
    doc.clock = [] { return std::time_t(0); };
    doc.adjustBuildEnvironment = [&](BuildEnvironment& env) { env.tempFolder = temp.Path(); };

    CAffProject& project = doc.Project();
    project.m_strUuid = kTestUuid;
    WriteBytes(work / "setup.exe", "#!SETUP");
    project.m_strSetupFile = work / "setup.exe";
    project.m_strOutputDir = work / "out";
    doc.SetModifiedFlag(false);

    doc.OnBuildSelfCreator();

    const std::string output = work / "out/VelkSMNG";
    ASSERT_EQ(log.Lines().size(), 6u);
    EXPECT_EQ(log.Lines()[0].rfind("***Start building [", 0), 0u);
    EXPECT_EQ(log.Lines()[5], "File '" + output + "' created successfully.");
    EXPECT_EQ(project.m_strSelfCreatorPath, output);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(temp.Names().empty());
    CSfxPackage package;
    EXPECT_EQ(package.ReadDirectory(output), SFX_OK);
}

} // namespace
