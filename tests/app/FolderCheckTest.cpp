#include "app/FolderCheck.h"

#include "FakePrompts.h"
#include "model/FolderPathForm.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using platform::PathStyle;

namespace {

std::string Invalid(const std::string& path) {
    return "The folder:\n\n" + path + "\n\nis invalid. Please reenter.";
}
std::string CreateOffer(const std::string& path) {
    return "The folder:\n\n" + path + "\n\ndoes not exist. Do you want the folder to be created?";
}
std::string NotCreated(const std::string& path) {
    return "The folder:\n\n" + path + "\n\ncan not be created. Please double check.";
}

// --- The form of a typed path ----------------------------------------------

struct FormCase {
    PathStyle style;
    const char* path;
    bool wellFormed;
};

class FolderFormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(FolderFormTest, IsJudgedOnTheTextAlone) {
    const FormCase& c = GetParam();
    EXPECT_EQ(IsWellFormedFolderPath(c.path, c.style), c.wellFormed);
    // A refused form is told as "invalid" and nothing is asked.
    if (!c.wellFormed) {
        FakePrompts prompts;
        EXPECT_EQ(CheckChosenFolder(c.path, prompts, c.style), FolderCheckResult::Invalid);
        EXPECT_EQ(prompts.shown, std::vector<std::string>{Invalid(c.path)});
        EXPECT_EQ(prompts.icons, std::vector<PromptIcon>{PromptIcon::Warning});
        EXPECT_TRUE(prompts.asked.empty());
    }
}

constexpr PathStyle W = PathStyle::Windows;
constexpr PathStyle P = PathStyle::Posix;

INSTANTIATE_TEST_SUITE_P(
    Paths, FolderFormTest,
    ::testing::Values(FormCase{W, "C:\\", true}, FormCase{W, "z:\\", true},
                      FormCase{W, "C:\\Out", true}, FormCase{W, "C:\\a b\\x.y\\Größe", true},
                      FormCase{W, "C:\\Out\\", false}, FormCase{W, "C:Out", false},
                      FormCase{W, "C:", false}, FormCase{W, "C", false}, FormCase{W, "", false},
                      FormCase{W, "\\\\server\\share", false}, FormCase{W, "\\Out", false},
                      FormCase{W, "1:\\Out", false}, FormCase{W, "C:/Out", false},
                      FormCase{W, "C:\\a/b", false}, FormCase{W, "C:\\a\\\\b", false},
                      FormCase{W, "C:\\name.", false}, FormCase{W, "C:\\name \\b", false},
                      FormCase{W, "C:\\ name", false}, FormCase{W, "C:\\.hidden", false},
                      FormCase{W, "C:\\a\\..\\b", false}, FormCase{P, "/", true},
                      FormCase{P, "/data/Out 1/x.y", true}, FormCase{P, "/жук", true},
                      FormCase{P, "/Out/", false}, FormCase{P, "Out", false},
                      FormCase{P, "", false}, FormCase{P, "//server/share", false},
                      FormCase{P, "/a//b", false}, FormCase{P, "/data/name.", false},
                      FormCase{P, "/data/name ", false}, FormCase{P, "/data/\tname", false},
                      FormCase{P, "/a/./b", false}, FormCase{P, "C:\\Out", false},
                      FormCase{P, "/a\\b", false}));

// Each forbidden character inside a name, in either style (the style's own
// separator splits the name instead); blanks, tabs and full stops only at the edges.
TEST(FolderNameTest, ForbiddenCharactersAndEdges) {
    for (const char c : std::string_view("\"*/:<>?\\|")) {
        const std::string name = std::string("a") + c + "b";
        EXPECT_FALSE(IsValidFolderName(name)) << name;
        EXPECT_EQ(IsWellFormedFolderPath("C:\\" + name, W), c == '\\') << name;
        EXPECT_EQ(IsWellFormedFolderPath("/" + name, P), c == '/') << name;
    }
    for (const char* bad : {"", " a", "a ", "\ta", "a\t", ".a", "a.", "."})
        EXPECT_FALSE(IsValidFolderName(bad)) << '"' << bad << '"';
    for (const char* good : {"a", "a.b c", "a\tb", "Größe"})
        EXPECT_TRUE(IsValidFolderName(good)) << good;
}

TEST(FolderPathPartsTest, RootAndNamesFromTheTopDown) {
    const auto drive = SplitFolderPath("C:\\a\\b c", W);
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->root, "C:\\");
    EXPECT_EQ(drive->names, (std::vector<std::string>{"a", "b c"}));
    const auto posix = SplitFolderPath("/", P);
    ASSERT_TRUE(posix);
    EXPECT_EQ(posix->root, "/");
    EXPECT_TRUE(posix->names.empty());
    // The folders a chooser's tree may put into its field.
    for (const char* rooted : {"C:\\", "c:\\Out\\"})
        EXPECT_TRUE(BeginsWithFolderRoot(rooted, W)) << rooted;
    for (const char* other : {"", "C:Out", "\\\\server\\share", "::{20D04FE0}"})
        EXPECT_FALSE(BeginsWithFolderRoot(other, W)) << other;
    EXPECT_TRUE(BeginsWithFolderRoot("/a/", P));
    EXPECT_FALSE(BeginsWithFolderRoot("C:\\a", P));
}

// --- The whole check on the disk (Linux paths) -----------------------------

struct DiskCase {
    const char* what;
    std::string below; // appended to the test folder; "/" alone stands for itself
    bool offered;      // the offer to create was made
    bool yes;          // and answered Yes
    FolderCheckResult result;
};

class FolderCheckDiskTest : public ::testing::TestWithParam<DiskCase> {};

TEST_P(FolderCheckDiskTest, AsksAndMakesAsAnswered) {
    const DiskCase& c = GetParam();
    TempFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    std::filesystem::create_directory(dir / "exists");
    WriteBytes(dir / "file", "in the way");
    const std::string path = c.below == "/" ? "/" : dir.Path() + c.below;

    FakePrompts prompts;
    prompts.yesNo = {c.yes};
    EXPECT_EQ(CheckChosenFolder(path, prompts, P), c.result);

    const bool failed = c.result == FolderCheckResult::NotCreated;
    std::vector<std::string> asked, shown;
    std::vector<PromptIcon> icons;
    if (c.offered) {
        asked.push_back(CreateOffer(path));
        icons.push_back(PromptIcon::Question);
    }
    if (failed) {
        shown.push_back(NotCreated(path));
        icons.push_back(PromptIcon::Warning);
    }
    EXPECT_EQ(prompts.asked, asked);
    EXPECT_EQ(prompts.shown, shown);
    EXPECT_EQ(prompts.icons, icons);
    std::error_code tooLong;
    EXPECT_EQ(std::filesystem::is_directory(path, tooLong),
              c.result == FolderCheckResult::Accepted);
}

constexpr FolderCheckResult kAccepted = FolderCheckResult::Accepted;
constexpr FolderCheckResult kFailed = FolderCheckResult::NotCreated;
const std::string kLongName(300, 'n');

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderCheckDiskTest,
    ::testing::Values(DiskCase{"existing", "/exists", false, false, kAccepted},
                      DiskCase{"root", "/", false, false, kAccepted},
                      DiskCase{"missing_no", "/a/b/c", true, false, FolderCheckResult::Declined},
                      DiskCase{"missing_yes", "/a/b/c", true, true, kAccepted},
                      DiskCase{"below_existing_yes", "/exists/new", true, true, kAccepted},
                      DiskCase{"file_in_the_way", "/file/sub", true, true, kFailed},
                      DiskCase{"file_itself", "/file", true, true, kFailed},
                      DiskCase{"name_too_long", "/x/" + kLongName, true, true, kFailed}),
    [](const ::testing::TestParamInfo<DiskCase>& info) { return std::string(info.param.what); });

} // namespace
