#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class ProjectFileIo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        m_dir = m_folder.Path();
    }

    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }

    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder m_folder{"velkora-model"};
    fs::path m_dir;
};

CAffProject Sample(const std::string& title) {
    CAffProject p;
    p.m_strTitle = title;
    CReseller r;
    r.m_strName = "A";
    p.AddReseller(r);
    return p;
}

TEST_F(ProjectFileIo, SaveAndLoad) {
    const std::string path = PathOf("p.vkp");
    ASSERT_TRUE(SaveProjectFile(path, Sample("one")).Ok());
    EXPECT_EQ(Read(path), EncodeProject(Sample("one")));
    ASSERT_TRUE(SaveProjectFile(path, Sample("two")).Ok());
    EXPECT_EQ(Names(), std::vector<std::string>{"p.vkp"});

    CAffProject loaded;
    loaded.m_strProjectPath = "kept";
    ProjectFileResult result = LoadProjectFile(path, loaded);
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(loaded.m_strTitle, "two");
    EXPECT_EQ(loaded.m_strProjectPath, "kept");
}

TEST_F(ProjectFileIo, EmptyFileLoadsAsEmptyProject) {
    const std::string path = PathOf("empty.vkp");
    Write(path, "");
    CAffProject p = Sample("stale");
    ASSERT_TRUE(LoadProjectFile(path, p).Ok());
    EXPECT_EQ(p.m_strTitle, "");
    EXPECT_TRUE(p.m_mapResellers.IsEmpty());
}

TEST_F(ProjectFileIo, LoadErrorsNameTheFile) {
    CAffProject p;
    const std::string missing = PathOf("missing.vkp");
    ProjectFileResult r = LoadProjectFile(missing, p);
    EXPECT_EQ(r.code, ProjectFileResult::Code::FileError);
    EXPECT_EQ(r.message, missing + " was not found.");

    r = LoadProjectFile(m_dir.string(), p);
    EXPECT_EQ(r.code, ProjectFileResult::Code::FileError);
    EXPECT_EQ(r.message, m_dir.string() + " is a folder, not a file.");

    const std::string cut = PathOf("cut.vkp");
    Write(cut, EncodeProject(Sample("t")).substr(0, 40)); // ends inside the affiliate
    r = LoadProjectFile(cut, p);
    EXPECT_EQ(r.code, ProjectFileResult::Code::BadFormat);
    EXPECT_EQ(r.message, "Unexpected file format.");
}

TEST_F(ProjectFileIo, SaveErrorsNameTheFile) {
    const std::string inMissingFolder = PathOf("no/such/p.vkp");
    ProjectFileResult r = SaveProjectFile(inMissingFolder, Sample("x"));
    EXPECT_EQ(r.code, ProjectFileResult::Code::FileError);
    EXPECT_EQ(r.message, inMissingFolder + " was not found.");

    fs::create_directory(m_dir / "folder");
    r = SaveProjectFile(PathOf("folder"), Sample("x"));
    EXPECT_EQ(r.message, PathOf("folder") + " is a folder, not a file.");
    EXPECT_TRUE(fs::is_directory(m_dir / "folder"));
}

TEST_F(ProjectFileIo, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string path = PathOf("p.vkp");
    const std::string old = EncodeProject(Sample("old"));
    Write(path, old);
    const std::string bytes = EncodeProject(Sample("a much longer new title"));
    for (size_t failAt : {size_t(0), size_t(1), bytes.size() / 2, bytes.size() - 1}) {
        platform::AtomicWriteFault fault{failAt, platform::FileError::DiskFull};
        platform::FileStatus status = platform::WriteFileAtomically(path, bytes, &fault);
        EXPECT_EQ(status.error, platform::FileError::DiskFull) << failAt;
        EXPECT_EQ(Read(path), old) << failAt;
        EXPECT_EQ(Names(), std::vector<std::string>{"p.vkp"}) << failAt;
    }
    EXPECT_EQ(platform::FileErrorText(platform::FileError::DiskFull, path),
              "Disk full while accessing " + path + ".");

    // Also when nothing was there before: no file, no temporary.
    const std::string fresh = PathOf("fresh.vkp");
    platform::AtomicWriteFault fault{3, platform::FileError::HardIo};
    EXPECT_FALSE(platform::WriteFileAtomically(fresh, bytes, &fault).Ok());
    EXPECT_EQ(Names(), std::vector<std::string>{"p.vkp"});

    // A fault point at or past the end lets the write complete.
    platform::AtomicWriteFault late{bytes.size(), platform::FileError::DiskFull};
    EXPECT_TRUE(platform::WriteFileAtomically(path, bytes, &late).Ok());
    EXPECT_EQ(Read(path), bytes);
}

TEST_F(ProjectFileIo, SaveThroughALinkReplacesItsTarget) {
    const std::string real = PathOf("real.vkp");
    const std::string link = PathOf("link.vkp");
    Write(real, "old");
    fs::create_symlink(real, link);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(SaveProjectFile(link, Sample("new")).Ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), EncodeProject(Sample("new")));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.vkp", "real.vkp"}));
}

} // namespace
