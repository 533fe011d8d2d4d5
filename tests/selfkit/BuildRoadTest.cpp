#include "tests/support/SelfCreatorFixtures.h"

#include "selfkit/BuildRoad.h"
#include "selfkit/SelfKitTexts.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Records what the road asks of the dialog; answers from its settings.
class RecordingView : public ISelfKitView {
public:
    void ShowMessage(MessageKind kind, const std::string& text) override {
        messages.emplace_back(kind, text);
    }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return runNow;
    }
    void BeginProgress() override { ++progressShown; }
    bool StepProgress(int position) override {
        steps.push_back(position);
        return position != cancelAt;
    }
    void EndProgress() override { ++progressClosed; }
    bool StartPackage(const std::string& path) override {
        started.push_back(path);
        return startWorks;
    }

    bool runNow = false;
    bool startWorks = true;
    int cancelAt = 0;
    int progressShown = 0;
    int progressClosed = 0;
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::vector<std::string> questions;
    std::vector<int> steps;
    std::vector<std::string> started;
};

class BuildRoadFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MakeSelfCreator(work, work / "VelkSMNG.exe",
                                    ProductInfoBytes(kTestUuid, "RegNow;1234;"), "#!SETUP"));
        ASSERT_TRUE(StartSelfKit(kit, view));
    }
    CCustomBuildRequest Request() { return {"RegNow", "A", "", target / "custom.exe"}; }

    ScratchFolder work;
    ScratchFolder temp;
    ScratchFolder target;
    CSelfKit kit{work / "VelkSMNG.exe", temp.Path()};
    RecordingView view;
};

using Message = std::pair<MessageKind, std::string>;

TEST_F(BuildRoadFixture, SuccessWalksTheStepsThenOffersToRun) {
    view.runNow = true;
    EXPECT_EQ(RunBuildRoad(kit, Request(), view), SelfKitStatus::Ok);
    EXPECT_EQ(view.steps, (std::vector<int>{2, 6, 6, 6, 7, 8, 9, 10}));
    EXPECT_EQ(view.progressShown, 1);
    EXPECT_EQ(view.progressClosed, 1);
    EXPECT_EQ(view.messages,
              (std::vector<Message>{{MessageKind::Information, selfkit_text::kSuccess}}));
    EXPECT_EQ(view.questions, (std::vector<std::string>{selfkit_text::kRunNow}));
    EXPECT_EQ(view.started, (std::vector<std::string>{target / "custom.exe"}));
}

TEST_F(BuildRoadFixture, ASetupThatDoesNotStartIsAWarning) {
    view.runNow = true;
    view.startWorks = false;
    EXPECT_EQ(RunBuildRoad(kit, Request(), view), SelfKitStatus::Ok);
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[1], (Message{MessageKind::Warning, selfkit_text::kStartFailed}));
}

TEST_F(BuildRoadFixture, CancelBeforeThePackageIsWrittenShowsNothingAndWritesNothing) {
    view.cancelAt = 7;
    EXPECT_EQ(RunBuildRoad(kit, Request(), view), SelfKitStatus::Cancelled);
    EXPECT_EQ(view.steps.back(), 7);
    EXPECT_EQ(view.progressClosed, 1);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.questions.empty());
    EXPECT_FALSE(std::filesystem::exists(target / "custom.exe"));
}

TEST_F(BuildRoadFixture, ARefusalNeverOpensTheProgress) {
    CCustomBuildRequest request = Request();
    request.strService = "ShareIt";
    EXPECT_EQ(RunBuildRoad(kit, request, view), SelfKitStatus::NoService);
    EXPECT_EQ(view.progressShown, 0);
    EXPECT_EQ(view.messages,
              (std::vector<Message>{{MessageKind::Warning, selfkit_text::kNoService}}));
}

TEST_F(BuildRoadFixture, AFailedBuildNamesThePathWithAWarning) {
    // A folder where the package should go cannot be replaced by a file.
    std::filesystem::create_directories(target / "custom.exe");
    EXPECT_EQ(RunBuildRoad(kit, Request(), view), SelfKitStatus::BuildFailed);
    EXPECT_EQ(view.messages,
              (std::vector<Message>{
                  {MessageKind::Warning, "Error! Can't build affiliate setup file [" +
                                             std::string(target / "custom.exe") + "]."}}));
    EXPECT_TRUE(view.questions.empty());
}

TEST(BuildRoadStart, ACorruptedSelfCreatorIsAWarning) {
    ScratchFolder work;
    WriteBytes(work / "bare", std::string(5000, 'B'));
    CSelfKit kit(work / "bare", work.Path());
    RecordingView view;
    EXPECT_FALSE(StartSelfKit(kit, view));
    EXPECT_EQ(view.messages,
              (std::vector<Message>{{MessageKind::Warning, selfkit_text::kCorrupted}}));
}

} // namespace
