#include "model/ProjectPaths.h"
#include "model/AffProject.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace {

using platform::PathStyle;
using namespace projectpaths;

TEST(ProjectPaths, MakeRelativeWindowsExamples) {
    const auto w = PathStyle::Windows;
    EXPECT_EQ(MakeRelativePath("C:\\Work\\Proj", "C:\\Work\\Proj\\out\\a.exe", w), "out\\a.exe");
    EXPECT_EQ(MakeRelativePath("C:\\Work\\Proj", "C:\\Work\\Proj", w), ".");
    EXPECT_EQ(MakeRelativePath("C:\\Work\\Proj", "C:\\Work\\Project2\\a.exe", w),
              "C:\\Work\\Project2\\a.exe");
    EXPECT_EQ(MakeRelativePath("C:\\Work\\Proj", "D:\\x.exe", w), "D:\\x.exe");
    EXPECT_EQ(MakeRelativePath("C:\\Work\\Proj", "C:\\Work\\Proj\\\\\\a.exe", w), "a.exe");
    EXPECT_EQ(MakeRelativePath("C:\\Work\\Proj", "C:\\Work\\Proj\\", w), ".");
    // Byte-exact: another case is another path.
    EXPECT_EQ(MakeRelativePath("C:\\Work\\Proj", "c:\\work\\proj\\a.exe", w),
              "c:\\work\\proj\\a.exe");
    // A drive's root as base: the folder of "C:\x.vkp" is "C:".
    EXPECT_EQ(MakeRelativePath("C:", "C:\\out\\a.exe", w), "out\\a.exe");
}

TEST(ProjectPaths, MakeRelativePosixExamples) {
    const auto p = PathStyle::Posix;
    EXPECT_EQ(MakeRelativePath("/work/proj", "/work/proj/out/a.exe", p), "out/a.exe");
    EXPECT_EQ(MakeRelativePath("/work/proj", "/work/proj", p), ".");
    EXPECT_EQ(MakeRelativePath("/work/proj", "/work/project2/a.exe", p), "/work/project2/a.exe");
    EXPECT_EQ(MakeRelativePath("/work/proj", "/work/proj\\a.exe", p), "/work/proj\\a.exe");
    EXPECT_EQ(MakeRelativePath("/", "/a/b", p), "a/b");
    EXPECT_EQ(MakeRelativePath("", "/a/b", p), "/a/b");
}

TEST(ProjectPaths, LongPathsAreRefused) {
    const std::string base = "/work/proj";
    const std::string at260 = base + "/" + std::string(260 - base.size() - 1, 'a');
    ASSERT_EQ(at260.size(), 260u);
    EXPECT_EQ(MakeRelativePath(base, at260, PathStyle::Posix),
              std::string(260 - base.size() - 1, 'a'));
    EXPECT_EQ(MakeRelativePath(base, at260 + "b", PathStyle::Posix), "");

    EXPECT_EQ(ResolvePath(base, std::string(249, 'a'), PathStyle::Posix).size(), 260u);
    EXPECT_EQ(ResolvePath(base, std::string(250, 'a'), PathStyle::Posix), "");
    // Folding happens before the limit is checked.
    EXPECT_EQ(ResolvePath(base, std::string(300, 'a') + "/..", PathStyle::Posix), base);
}

TEST(ProjectPaths, ResolveWindows) {
    const auto w = PathStyle::Windows;
    const std::string base = "C:\\Work\\Proj";
    EXPECT_EQ(ResolvePath(base, "", w), base);
    EXPECT_EQ(ResolvePath(base, "out\\a.exe", w), "C:\\Work\\Proj\\out\\a.exe");
    EXPECT_EQ(ResolvePath(base, "out/./sub/../a.exe", w), "C:\\Work\\Proj\\out\\a.exe");
    EXPECT_EQ(ResolvePath(base, "..\\Other\\b.exe", w), "C:\\Work\\Other\\b.exe");
    EXPECT_EQ(ResolvePath(base, ".", w), base);
    EXPECT_EQ(ResolvePath(base, "out\\", w), "C:\\Work\\Proj\\out");
    EXPECT_EQ(ResolvePath(base, "D:\\x\\..\\y.exe", w), "D:\\y.exe");
    EXPECT_EQ(ResolvePath(base, "..\\..\\..\\..\\a", w), "C:\\a");
    EXPECT_EQ(ResolvePath(base, "\\top\\a.exe", w), "C:\\top\\a.exe");
    EXPECT_EQ(ResolvePath(base, "C:rel.exe", w), "C:\\Work\\Proj\\rel.exe");
    EXPECT_EQ(ResolvePath("C:", "out\\a.exe", w), "C:\\out\\a.exe");
    EXPECT_EQ(ResolvePath(base, "\\\\srv\\share\\d\\..\\f.exe", w), "\\\\srv\\share\\f.exe");
    EXPECT_EQ(ResolvePath("\\\\srv\\share\\proj", "..\\..\\x", w), "\\\\srv\\share\\x");
    EXPECT_EQ(ResolvePath("\\\\srv\\share\\proj", "\\x", w), "\\\\srv\\share\\x");
}

TEST(ProjectPaths, ResolvePosix) {
    const auto p = PathStyle::Posix;
    EXPECT_EQ(ResolvePath("/work/proj", "", p), "/work/proj");
    EXPECT_EQ(ResolvePath("/work/proj", "out/a.exe", p), "/work/proj/out/a.exe");
    // A relative path saved on Windows.
    EXPECT_EQ(ResolvePath("/work/proj", "out\\a.exe", p), "/work/proj/out/a.exe");
    EXPECT_EQ(ResolvePath("/work/proj", "..\\x//y/./", p), "/work/x/y");
    EXPECT_EQ(ResolvePath("/work/proj", "/abs/../b", p), "/b");
    EXPECT_EQ(ResolvePath("/work/proj", "../../../..", p), "/");
    EXPECT_EQ(ResolvePath("", "a/../../b", p), "../b");
    EXPECT_EQ(ResolvePath("", "a/..", p), ".");
}

TEST(ProjectPaths, FolderOfAProjectFile) {
    EXPECT_EQ(FolderOf("C:\\Work\\Proj\\p.vkp", PathStyle::Windows), "C:\\Work\\Proj");
    EXPECT_EQ(FolderOf("C:\\Work\\Proj\\\\p.vkp", PathStyle::Windows), "C:\\Work\\Proj");
    EXPECT_EQ(FolderOf("C:\\p.vkp", PathStyle::Windows), "C:");
    EXPECT_EQ(FolderOf("/work/proj/p.vkp", PathStyle::Posix), "/work/proj");
    EXPECT_EQ(FolderOf("/p.vkp", PathStyle::Posix), "/");
    EXPECT_EQ(FolderOf("p.vkp", PathStyle::Posix), "");
}

TEST(ProjectPaths, ProjectUsesItsFolderAsBase) {
    CAffProject p;
    EXPECT_EQ(p.MakeProjectRelative("/work/proj/a.exe"), "/work/proj/a.exe");
    p.SetProjectPath("/work/proj/sub/../p.vkp");
    EXPECT_EQ(p.m_strProjectPath, "/work/proj/sub/../p.vkp");
    EXPECT_EQ(p.BaseDirectory(), "/work/proj");
    EXPECT_EQ(p.MakeProjectRelative("/work/proj/out/a.exe"), "out/a.exe");
    EXPECT_EQ(p.ResolveProjectPath("out\\a.exe"), "/work/proj/out/a.exe");
    EXPECT_EQ(p.ResolveProjectPath(""), "/work/proj");

    // A relative project path is taken against the current directory.
    p.SetProjectPath("rel/p.vkp");
    EXPECT_EQ(p.BaseDirectory(), platform::CurrentDirectory() + "/rel");
    CAffProject copy = p;
    EXPECT_EQ(copy.BaseDirectory(), p.BaseDirectory());
}

// A project that gets its first file keeps the paths inside its folder
// relative, so that a copy builds into its own folder; others stay as typed.
TEST(ProjectPaths, PathsInsideTheFolderAreStoredRelative) {
    CAffProject p;
    p.m_strOutputDir = "/work/proj/out";
    p.m_strSetupFile = "/elsewhere/Setup.exe";
    p.m_strSelfCreatorPath = "/work/project2/Kit.exe";
    CReseller inside;
    inside.m_strSetupPath = "/work/proj/out/a.exe";
    CReseller outside;
    outside.m_strSetupPath = "/work/b.exe";
    ASSERT_EQ(p.AddReseller(inside), CAffProject::AddResult::Added);
    ASSERT_EQ(p.AddReseller(outside), CAffProject::AddResult::Added);
    p.SetProjectPath("/work/proj/p.vkp");
    p.StorePathsRelative();
    EXPECT_EQ(p.m_strOutputDir, "out");
    EXPECT_EQ(p.m_strSetupFile, "/elsewhere/Setup.exe");
    EXPECT_EQ(p.m_strSelfCreatorPath, "/work/project2/Kit.exe");
    EXPECT_EQ(p.LookupReseller(0)->m_strSetupPath, "out/a.exe");
    EXPECT_EQ(p.LookupReseller(1)->m_strSetupPath, "/work/b.exe");
}

// A path read back must name the same file: resolving a resolved path, or
// resolving what MakeRelativePath made of it, changes nothing, and a relative
// result never reads as an absolute one.
struct RoundTripCase {
    PathStyle style;
    const char* base;
    const char* path;
    const char* resolved;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << (c.style == PathStyle::Windows ? "Windows" : "Posix") << " base \"" << c.base
        << "\" path \"" << c.path << '"';
}

bool ReadsAsRelative(const std::string& path, PathStyle style) {
    if (path.empty())
        return true;
    if (style == PathStyle::Posix)
        return path[0] != '/';
    const bool drive =
        path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    return !drive && path[0] != '/' && path[0] != '\\';
}

class ProjectPathRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ProjectPathRoundTrip, ResolvesOnceAndComesBackFromRelative) {
    const RoundTripCase& c = GetParam();
    const std::string resolved = ResolvePath(c.base, c.path, c.style);
    EXPECT_EQ(resolved, c.resolved);
    EXPECT_EQ(ResolvePath(c.base, resolved, c.style), resolved);
    EXPECT_EQ(FoldPath("", resolved, c.style), resolved);

    const std::string relative = MakeRelativePath(c.base, resolved, c.style);
    EXPECT_EQ(ResolvePath(c.base, relative, c.style), resolved) << "relative: " << relative;
    EXPECT_EQ(MakeRelativePath(c.base, relative, c.style), relative);
    if (relative != resolved) {
        EXPECT_TRUE(ReadsAsRelative(relative, c.style)) << relative;
    }
    if (ReadsAsRelative(c.path, c.style) && ReadsAsRelative(c.base, c.style)) {
        EXPECT_TRUE(ReadsAsRelative(resolved, c.style)) << resolved;
    }
}

const auto kW = PathStyle::Windows;
const auto kP = PathStyle::Posix;

INSTANTIATE_TEST_SUITE_P(
    Paths, ProjectPathRoundTrip,
    ::testing::Values(
        // "." and ".." are no server or share names.
        RoundTripCase{kW, "\\\\srv", "", "\\\\srv"}, RoundTripCase{kW, "\\\\srv", ".", "\\\\srv"},
        RoundTripCase{kW, "\\\\srv", "a", "\\\\srv\\a"},
        RoundTripCase{kW, "\\\\srv\\share", "..\\..\\a", "\\\\srv\\share\\a"},
        RoundTripCase{kW, "C:\\b", "\\\\srv\\.\\x", "\\\\srv\\x"},
        RoundTripCase{kW, "C:\\b", "\\\\srv\\..\\x", "\\\\srv\\x"},
        // A part that looks like a drive keeps a "." in front of it.
        RoundTripCase{kW, "", ".//G:\xC3\xA6;", ".\\G:\xC3\xA6;"},
        RoundTripCase{kW, "", "a\\..\\C:x", ".\\C:x"},
        RoundTripCase{kW, "", ".\\C:x\\y", ".\\C:x\\y"},
        RoundTripCase{kW, "C:\\b", ".\\C:\\a.\\:", "C:\\b\\C:\\a.\\:"},
        RoundTripCase{kW, "C:\\b", "C:\\b\\C:x", "C:\\b\\C:x"},
        // The folder of "C:\p.vkp" is "C:", the drive's root.
        RoundTripCase{kW, "C:", "", "C:\\"}, RoundTripCase{kW, "C:", "a", "C:\\a"},
        RoundTripCase{kW, "C:\\Work\\Proj", "out\\a.exe", "C:\\Work\\Proj\\out\\a.exe"},
        RoundTripCase{kP, "/work/proj", "", "/work/proj"},
        RoundTripCase{kP, "/work/proj", "out/a", "/work/proj/out/a"},
        RoundTripCase{kP, "/", "", "/"},
        // A Posix name with "\" cannot be written relative: it would read
        // back as two names.
        RoundTripCase{kP, "/work/proj", "/work/proj/a\\b", "/work/proj/a\\b"},
        RoundTripCase{kP, "", "a/../C:x", "C:x"},
        // Rooted on a Windows drive: relative on Posix, with or without a base.
        RoundTripCase{kP, "", "\\top\\a.exe", "top/a.exe"},
        RoundTripCase{kP, "/b", "\\top\\a.exe", "/b/top/a.exe"}));

TEST(ProjectPaths, MakeRelativeNeverGivesAnAbsoluteLookingPath) {
    EXPECT_EQ(MakeRelativePath("C:\\b", "C:\\b\\C:\\a.\\:", kW), ".\\C:\\a.\\:");
    EXPECT_EQ(MakeRelativePath("C:\\b", "C:\\b\\D:", kW), ".\\D:");
    EXPECT_EQ(MakeRelativePath("/b", "/b/C:x", kP), "C:x");
}

} // namespace
