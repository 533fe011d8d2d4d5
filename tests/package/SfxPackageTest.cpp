#include "package/SfxPackage.h"
#include "package/PackageTrailer.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Pattern(size_t length, unsigned seed) {
    std::string s(length, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

const std::string kImage = Pattern(4096, 7);

SfxResult BuildPackage(CSfxPackage& p, const std::string& out) {
    return p.BuildWithImage(kImage.data(), kImage.size(), out);
}

} // namespace

TEST(SfxPackage, OneEntryPackageEndsWithTheExampleTrailer) {
    TempFolder dir;
    WriteBytes(dir / "ab", "hello");
    CSfxPackage p;
    ASSERT_TRUE(p.AddFile(dir / "ab"));
    EXPECT_EQ(p.GetEntry(0).m_strName, "ab");
    EXPECT_EQ(p.GetEntry(0).m_strSourcePath, dir / "ab");
    ASSERT_EQ(BuildPackage(p, dir / "out.bin"), SFX_OK);

    const std::string file = ReadBytes(dir / "out.bin");
    ASSERT_EQ(file.size(), 4129u);
    EXPECT_EQ(file.substr(0, 4096), kImage);
    EXPECT_EQ(file.substr(4096, 5), "hello");
    const std::string trailer("\x00\x10\x00\x00\x05\x00\x00\x00"
                              "ab\x02\x00\x00\x00\x01\x00\x00\x00!KOVA_SFX!",
                              28);
    EXPECT_EQ(file.substr(4101), trailer);
    EXPECT_EQ(p.GetEntry(0).m_nOffset, 4096);
}

TEST(SfxPackage, RoundTripOfSeveralEntriesIncludingEmptyAndLarge) {
    TempFolder dir;
    fs::create_directory(dir / "src");
    fs::create_directory(dir / "out");
    const std::string big = Pattern(5 * 1024 * 1024 + 7, 1); // not a multiple of the buffer
    WriteBytes(dir / "src/info.ino", std::string("\x02\0\0\0K1", 6));
    WriteBytes(dir / "src/empty", "");
    WriteBytes(dir / "src/setup.exe", big);

    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "src/info.ino"));
    ASSERT_TRUE(w.AddFile(dir / "src/empty"));
    ASSERT_TRUE(w.AddFile(dir / "src/setup.exe"));
    ASSERT_EQ(BuildPackage(w, dir / "pkg"), SFX_OK);

    CSfxPackage r;
    ASSERT_EQ(r.ReadDirectory(dir / "pkg"), SFX_OK);
    ASSERT_EQ(r.GetCount(), 3);
    EXPECT_EQ(r.GetEntry(0).m_nOffset, 4096);
    EXPECT_EQ(r.GetEntry(0).m_nSize, 6);
    // An empty payload sits where the next one starts.
    EXPECT_EQ(r.GetEntry(1).m_nSize, 0);
    EXPECT_EQ(r.GetEntry(1).m_nOffset, 4102);
    EXPECT_EQ(r.GetEntry(2).m_nOffset, 4102);
    EXPECT_EQ(r.GetEntry(2).m_strSourcePath, "");
    EXPECT_TRUE(r.GetEntry(3).m_strName.empty());
    EXPECT_TRUE(r.GetEntry(-1).m_strName.empty());

    ASSERT_EQ(r.ExtractFrom(dir / "pkg", dir / "out"), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "out/info.ino"), std::string("\x02\0\0\0K1", 6));
    EXPECT_TRUE(fs::exists(dir / "out/empty"));
    EXPECT_EQ(fs::file_size(dir / "out/empty"), 0u);
    EXPECT_TRUE(ReadBytes(dir / "out/setup.exe") == big);

    std::string head;
    ASSERT_EQ(r.ReadEntryBytes(0, 100, head), SFX_OK);
    EXPECT_EQ(head, std::string("\x02\0\0\0K1", 6));
    ASSERT_EQ(r.ReadEntryBytes(2, 10, head), SFX_OK);
    EXPECT_EQ(head, big.substr(0, 10));
    EXPECT_EQ(r.ReadEntryBytes(3, 10, head), SFX_ERR_OPEN);
}

TEST(SfxPackage, EmptyLastEntrySitsAtTheTrailer) {
    TempFolder dir;
    WriteBytes(dir / "a", "xyz");
    WriteBytes(dir / "z", "");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "a"));
    ASSERT_TRUE(w.AddFile(dir / "z"));
    ASSERT_EQ(BuildPackage(w, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    ASSERT_EQ(r.ReadDirectory(dir / "pkg"), SFX_OK);
    const int64_t trailerStart = static_cast<int64_t>(fs::file_size(dir / "pkg")) - (14 + 13 + 13);
    EXPECT_EQ(r.GetEntry(1).m_nOffset, trailerStart);
}

TEST(SfxPackage, BuildWithoutEntriesCreatesNothing) {
    TempFolder dir;
    CSfxPackage p;
    EXPECT_EQ(BuildPackage(p, dir / "out"), SFX_ERR_EMPTY);
    EXPECT_EQ(p.Build(kSfxTemplateSetupStub, dir / "out"), SFX_ERR_EMPTY);
    EXPECT_FALSE(fs::exists(dir / "out"));
}

TEST(SfxPackage, TheTableHoldsAtMost256Entries) {
    TempFolder dir;
    WriteBytes(dir / "f", "1");
    CSfxPackage p;
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(p.AddFile(dir / "f")) << i;
    EXPECT_FALSE(p.AddFile(dir / "f"));
    EXPECT_EQ(p.GetCount(), 256);
    ASSERT_EQ(BuildPackage(p, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    ASSERT_EQ(r.ReadDirectory(dir / "pkg"), SFX_OK);
    EXPECT_EQ(r.GetCount(), 256);
    EXPECT_EQ(r.GetEntry(255).m_nOffset, 4096 + 255);
}

TEST(SfxPackage, AddFileRefusesWhatCannotBecomeAnEntry) {
    TempFolder dir;
    fs::create_directory(dir / "sub");
    CSfxPackage p;
    EXPECT_FALSE(p.AddFile(dir / "missing"));
    EXPECT_FALSE(p.AddFile(dir / "sub"));
    EXPECT_FALSE(p.AddFile(dir.Path() + "/"));
    EXPECT_FALSE(p.AddFile(dir / "sub/.."));
    EXPECT_EQ(p.GetCount(), 0);
}

TEST(SfxPackage, NameIsThePartAfterTheLastSeparator) {
    TempFolder dir;
    WriteBytes(dir / "plain.bin", "p");
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    CSfxPackage p;
    const bool added = p.AddFile("plain.bin");
    fs::current_path(before);
    ASSERT_TRUE(added);
    EXPECT_EQ(p.GetEntry(0).m_strName, "plain.bin");
    EXPECT_EQ(p.GetEntry(0).m_strSourcePath, "plain.bin");

    fs::create_directory(dir / "x\\y");
    WriteBytes(dir / "x\\y/z.dat", "z");
    ASSERT_TRUE(p.AddFile(dir / "x\\y/z.dat"));
    EXPECT_EQ(p.GetEntry(1).m_strName, "z.dat");
    WriteBytes(dir / "a\\b.dat", "b");
    ASSERT_TRUE(p.AddFile(dir / "a\\b.dat"));
    EXPECT_EQ(p.GetEntry(2).m_strName, "b.dat");
}

TEST(SfxPackage, NotAPackageAndZeroCount) {
    TempFolder dir;
    CSfxPackage r;
    WriteBytes(dir / "text", "just some text, no marker at all");
    EXPECT_EQ(r.ReadDirectory(dir / "text"), SFX_ERR_MARKER);
    WriteBytes(dir / "short", "!KOVA_SFX!");
    EXPECT_EQ(r.ReadDirectory(dir / "short"), SFX_ERR_MARKER);
    WriteBytes(dir / "zero", kImage + std::string("\0\0\0\0!KOVA_SFX!", 14));
    EXPECT_EQ(r.ReadDirectory(dir / "zero"), SFX_ERR_EMPTY);
    EXPECT_EQ(r.ReadDirectory(dir / "absent"), SFX_ERR_OPEN);
    EXPECT_EQ(r.ReadDirectory(dir.Path()), SFX_ERR_OPEN);
    EXPECT_EQ(r.GetCount(), 0);
    EXPECT_EQ(r.ExtractFrom(dir / "text", dir / "out"), SFX_ERR_MARKER);
}

TEST(SfxPackage, ReadDirectoryStartsFromAnEmptyTable) {
    TempFolder dir;
    WriteBytes(dir / "a", "1");
    WriteBytes(dir / "b", "2");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "a"));
    ASSERT_TRUE(w.AddFile(dir / "b"));
    ASSERT_EQ(BuildPackage(w, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    ASSERT_EQ(r.ReadDirectory(dir / "pkg"), SFX_OK);
    ASSERT_EQ(r.GetCount(), 2);
    WriteBytes(dir / "text", "no package");
    EXPECT_EQ(r.ReadDirectory(dir / "text"), SFX_ERR_MARKER);
    EXPECT_EQ(r.GetCount(), 0);
    EXPECT_TRUE(r.GetEntry(0).m_strName.empty());
}

TEST(SfxPackage, SameNameTwiceLeavesEntryZeroInTheFolder) {
    TempFolder dir;
    fs::create_directories(dir / "one");
    fs::create_directories(dir / "two");
    fs::create_directories(dir / "out");
    WriteBytes(dir / "one/same.txt", "entry zero");
    WriteBytes(dir / "two/same.txt", "entry one, longer");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "one/same.txt"));
    ASSERT_TRUE(w.AddFile(dir / "two/same.txt"));
    ASSERT_EQ(BuildPackage(w, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    ASSERT_EQ(r.ExtractFrom(dir / "pkg", dir / "out"), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "out/same.txt"), "entry zero");
}

TEST(SfxPackage, ExtractionReplacesFilesAndSkipsWhatCannotBeCreated) {
    TempFolder dir;
    fs::create_directories(dir / "out/blocked");
    WriteBytes(dir / "out/setup.exe", "old content that is longer");
    WriteBytes(dir / "blocked", "b");
    WriteBytes(dir / "setup.exe", "new");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "blocked"));
    ASSERT_TRUE(w.AddFile(dir / "setup.exe"));
    ASSERT_EQ(BuildPackage(w, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    // Target folder given with and without its trailing separator.
    ASSERT_EQ(r.ExtractFrom(dir / "pkg", dir / "out/"), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "out/setup.exe"), "new");
    EXPECT_TRUE(fs::is_directory(dir / "out/blocked"));
    WriteBytes(dir / "out/setup.exe", "old");
    ASSERT_EQ(r.ExtractFrom(dir / "pkg", dir / "out"), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "out/setup.exe"), "new");
}

TEST(SfxPackage, ExtractionNeverFollowsAPlantedLink) {
    TempFolder dir;
    fs::create_directories(dir / "out");
    WriteBytes(dir / "victim", "precious");
    fs::create_symlink(dir / "victim", dir / "out/setup.exe");
    fs::create_symlink(dir / "nowhere", dir / "out/info.ino"); // dangling link
    WriteBytes(dir / "setup.exe", "payload");
    WriteBytes(dir / "info.ino", "info");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "info.ino"));
    ASSERT_TRUE(w.AddFile(dir / "setup.exe"));
    ASSERT_EQ(BuildPackage(w, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    ASSERT_EQ(r.ExtractFrom(dir / "pkg", dir / "out"), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "victim"), "precious");
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    EXPECT_FALSE(fs::is_symlink(dir / "out/setup.exe"));
    EXPECT_EQ(ReadBytes(dir / "out/setup.exe"), "payload");
    EXPECT_EQ(ReadBytes(dir / "out/info.ino"), "info");
}

TEST(SfxPackage, SourceThatChangesAfterAddFile) {
    TempFolder dir;
    WriteBytes(dir / "grows", "12345");
    WriteBytes(dir / "shrinks", "1234567890");
    CSfxPackage grows;
    ASSERT_TRUE(grows.AddFile(dir / "grows"));
    WriteBytes(dir / "grows", "1234567890");
    ASSERT_EQ(BuildPackage(grows, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    ASSERT_EQ(r.ReadDirectory(dir / "pkg"), SFX_OK);
    EXPECT_EQ(r.GetEntry(0).m_nSize, 5);
    std::string bytes;
    ASSERT_EQ(r.ReadEntryBytes(0, 100, bytes), SFX_OK);
    EXPECT_EQ(bytes, "12345");

    CSfxPackage shrinks;
    ASSERT_TRUE(shrinks.AddFile(dir / "shrinks"));
    WriteBytes(dir / "shrinks", "123");
    EXPECT_EQ(BuildPackage(shrinks, dir / "pkg2"), SFX_ERR_SOURCE);
    EXPECT_NE(r.ReadDirectory(dir / "pkg2"), SFX_OK); // no trailer was written

    CSfxPackage gone;
    ASSERT_TRUE(gone.AddFile(dir / "shrinks"));
    fs::remove(dir / "shrinks");
    EXPECT_EQ(BuildPackage(gone, dir / "pkg3"), SFX_ERR_SOURCE);
}

TEST(SfxPackage, OutputThatCannotBeCreatedOrIsASource) {
    TempFolder dir;
    WriteBytes(dir / "setup.exe", "vendor setup");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "setup.exe"));
    EXPECT_EQ(BuildPackage(w, dir / "no/such/folder/pkg"), SFX_ERR_CREATE);
    EXPECT_EQ(BuildPackage(w, dir / "setup.exe"), SFX_ERR_CREATE);
    EXPECT_EQ(ReadBytes(dir / "setup.exe"), "vendor setup");
    if (::access("/dev/full", W_OK) == 0) {
        EXPECT_EQ(BuildPackage(w, "/dev/full"), SFX_ERR_CREATE);
    }
}

TEST(SfxPackage, TemplateThatIsNotLinkedInCreatesNoFile) {
    TempFolder dir;
    WriteBytes(dir / "a", "a");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "a"));
    EXPECT_EQ(w.Build(kSfxTemplateSelfkit, dir / "pkg"), SFX_ERR_TEMPLATE);
    EXPECT_EQ(w.Build(kSfxTemplateSetupStub, dir / "pkg"), SFX_ERR_TEMPLATE);
    EXPECT_FALSE(fs::exists(dir / "pkg"));
}
