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

enum class Expect { Nothing, Offer, OfferThenNotCreated };

struct DiskCase {
    const char* what;
    std::string below; // appended to the test folder; "/" alone stands for itself
    std::deque<bool> answers;
    FolderCheckResult result;
    Expect told;
    bool folderAfterwards;
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
    prompts.yesNo = c.answers;
    EXPECT_EQ(CheckChosenFolder(path, prompts, P), c.result);

    const std::vector<std::string> noTexts;
    EXPECT_EQ(prompts.asked,
              c.told == Expect::Nothing ? noTexts : std::vector<std::string>{CreateOffer(path)});
    EXPECT_EQ(prompts.shown, c.told == Expect::OfferThenNotCreated
                                 ? std::vector<std::string>{NotCreated(path)}
                                 : noTexts);
    std::vector<PromptIcon> icons;
    if (c.told != Expect::Nothing)
        icons.push_back(PromptIcon::Question);
    if (c.told == Expect::OfferThenNotCreated)
        icons.push_back(PromptIcon::Warning);
    EXPECT_EQ(prompts.icons, icons);
    std::error_code tooLong;
    EXPECT_EQ(std::filesystem::is_directory(path, tooLong), c.folderAfterwards);
    EXPECT_TRUE(prompts.yesNo.empty()) << "an answer was not asked for";
}

const std::string kLongName(300, 'n');

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderCheckDiskTest,
    ::testing::Values(
        DiskCase{"existing", "/exists", {}, FolderCheckResult::Accepted, Expect::Nothing, true},
        DiskCase{"root", "/", {}, FolderCheckResult::Accepted, Expect::Nothing, true},
        DiskCase{
            "missing_no", "/a/b/c", {false}, FolderCheckResult::Declined, Expect::Offer, false},
        DiskCase{"missing_yes", "/a/b/c", {true}, FolderCheckResult::Accepted, Expect::Offer, true},
        DiskCase{"below_existing_yes",
                 "/exists/new",
                 {true},
                 FolderCheckResult::Accepted,
                 Expect::Offer,
                 true},
        DiskCase{"file_in_the_way",
                 "/file/sub",
                 {true},
                 FolderCheckResult::NotCreated,
                 Expect::OfferThenNotCreated,
                 false},
        DiskCase{"file_itself",
                 "/file",
                 {true},
                 FolderCheckResult::NotCreated,
                 Expect::OfferThenNotCreated,
                 false},
        DiskCase{"name_too_long",
                 "/x/" + kLongName,
                 {true},
                 FolderCheckResult::NotCreated,
                 Expect::OfferThenNotCreated,
                 false}),
    [](const ::testing::TestParamInfo<DiskCase>& info) { return std::string(info.param.what); });

} // namespace
