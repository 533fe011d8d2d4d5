#include "SelfKitTestSupport.h"

#include "package/BuildLogSink.h"
#include "package/SfxPackage.h"
#include "ui/RecentFileList.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraDoc.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

class CSilentPrompts : public IUserPrompts {
public:
    void Message(QWidget*, const QString& text, PromptIcon, const QString&) override {
        shown << text;
    }
    bool Question(QWidget*, const QString& text, PromptIcon, const QString&) override {
        shown << text;
        return false;
    }
    QString OpenFile(QWidget*, const FileRequest&) override { return {}; }
    QString SaveFile(QWidget*, const FileRequest&) override { return {}; }
    QString ChooseFolder(QWidget*, const FolderRequest&) override { return {}; }
    QStringList shown;
};

class CRecordingLog : public IBuildLogSink {
public:
    void Clear() override { lines.clear(); }
    void Append(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

TEST(BuildSelfCreatorCommand, WritesIntoTheLogAndKeepsTheProjectUnmodified) {
    ScratchFolder work, temp;
    CSilentPrompts prompts;
    CRecentFileList recent;
    CVelkoraDoc doc(prompts, recent);
    CRecordingLog log;
    log.lines = {"earlier build"};
    doc.SetLog(&log);
    doc.clock = [] { return std::time_t(0); };
    doc.adjustBuildEnvironment = [&](BuildEnvironment& env) { env.tempFolder = temp.Path(); };

    CAffProject& project = doc.Project();
    project.m_strUuid = kTestUuid;
    WriteBytes(work / "setup.exe", "SETUP");
    project.m_strSetupFile = work / "setup.exe";
    project.m_strOutputDir = work / "out";
    doc.SetModifiedFlag(false);

    doc.OnBuildSelfCreator();

    const std::string output = work / "out/VelkSMNG.exe";
    ASSERT_EQ(log.lines.size(), 6u);
    EXPECT_EQ(log.lines[0].rfind("***Start building [", 0), 0u);
    EXPECT_EQ(log.lines[5], "File '" + output + "' created successfully.");
    EXPECT_EQ(project.m_strSelfCreatorPath, output);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(temp.Names().empty());
    CSfxPackage package;
    EXPECT_EQ(package.ReadDirectory(output), SFX_OK);
}

} // namespace
