#include "cli/CliCommand.h"
#include "package/AffiliateInfoFile.h"
#include "package/InfoBlocks.h"
#include "package/SfxPackage.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

std::unique_ptr<CliCommand> MakeCmdInspect();

namespace {

struct CliRun {
    int exit = -1;
    std::string out;
    std::string err;
};

CliRun Inspect(std::vector<std::string> words) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.exit = MakeCmdInspect()->Execute(words, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// An affiliate setup on a 100-byte image: the information file, then the setup.
std::string MakeAffiliatePackage(const TempFolder& dir, const CAffiliateInfo& info) {
    EXPECT_EQ(WriteAffiliateInfoFile(dir / "_aff7.ino", info), SFX_OK);
    WriteBytes(dir / "setup.exe", "vendor setup program");
    CSfxPackage w;
    EXPECT_TRUE(w.AddFile(dir / "_aff7.ino"));
    EXPECT_TRUE(w.AddFile(dir / "setup.exe"));
    const std::string image(100, 'S');
    EXPECT_EQ(w.BuildWithImage(image.data(), image.size(), dir / "custom.pkg"), SFX_OK);
    return dir / "custom.pkg";
}

} // namespace

TEST(InspectCommand, AffiliatePackageShowsEntriesAndStoredLink) {
    TempFolder dir;
    const std::string uuid = "0F8E2A44-1B3C-4D5E-8F70-112233445566";
    const std::string link =
        "https://www.regnow.com/softsell/nph-softsell.cgi?item=1-2&affiliate=77";
    const std::string pkg = MakeAffiliatePackage(dir, {uuid, link, "http://aff.example"});
    const size_t infoSize = 12 + uuid.size() + link.size() + 18;

    CliRun text = Inspect({pkg});
    ASSERT_EQ(text.exit, kExitOk) << text.err;
    EXPECT_NE(text.out.find("[0] _aff7.ino"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("[1] setup.exe"), std::string::npos);
    EXPECT_NE(text.out.find("Offset:        100\n"), std::string::npos);
    EXPECT_NE(text.out.find("Offset:        " + std::to_string(100 + infoSize) + "\n"),
              std::string::npos);
    EXPECT_NE(text.out.find("Program UUID:  " + uuid + "\n"), std::string::npos);
    EXPECT_NE(text.out.find("Purchase link: " + link + "\n"), std::string::npos);
    EXPECT_NE(text.out.find("Web site:      http://aff.example\n"), std::string::npos);

    CliRun json = Inspect({pkg, "--json"});
    ASSERT_EQ(json.exit, kExitOk);
    EXPECT_NE(json.out.find("{\"index\": 0, \"name\": \"_aff7.ino\", \"offset\": 100, \"size\": " +
                            std::to_string(infoSize) + "}"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"uuid\": \"" + uuid + "\""), std::string::npos);
    EXPECT_NE(json.out.find("\"webSite\": \"http://aff.example\""), std::string::npos);
    // Nothing was extracted beside the package.
    EXPECT_EQ(Listing(dir.Path()).size(), 3u);
}

TEST(InspectCommand, PackageWhoseFirstEntryIsNoInformationFile) {
    TempFolder dir;
    WriteBytes(dir / "readme.txt", "plain text, not three counted strings");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "readme.txt"));
    ASSERT_EQ(w.BuildWithImage("IMG", 3, dir / "other.pkg"), SFX_OK);
    CliRun json = Inspect({dir / "other.pkg", "--json"});
    ASSERT_EQ(json.exit, kExitOk);
    EXPECT_NE(json.out.find("\"affiliate\": null"), std::string::npos) << json.out;
    CliRun text = Inspect({dir / "other.pkg"});
    EXPECT_EQ(text.out.find("Affiliate information"), std::string::npos);
}

// A self creator's first entry is the product information (two blocks); its
// front is the self creator program, here a PE32 header as selfkit.exe has.
TEST(InspectCommand, SelfCreatorNamesItsFrontAndProduct) {
    TempFolder dir;
    std::string image(0x100, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = '\x80';
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    image[0x80 + 24] = '\x0B';
    image[0x80 + 25] = '\x01';
    const std::string uuid = "0F8E2A44-1B3C-4D5E-8F70-112233445566";
    const auto build = [&](const std::string& info, const std::string& name) {
        WriteBytes(dir / "_aff3.ino", info);
        WriteBytes(dir / "setup.exe", "vendor setup program");
        CSfxPackage w;
        EXPECT_TRUE(w.AddFile(dir / "_aff3.ino"));
        EXPECT_TRUE(w.AddFile(dir / "setup.exe"));
        EXPECT_EQ(w.BuildWithImage(image.data(), image.size(), dir / name), SFX_OK);
        return dir / name;
    };
    std::string info;
    AppendInfoBlock(info, uuid);
    AppendInfoBlock(info, "RegNow;1234;");
    const std::string creator = build(info, "VelkSMNG.exe");

    CliRun text = Inspect({creator});
    ASSERT_EQ(text.exit, kExitOk) << text.err;
    EXPECT_NE(text.out.find("\nSelf creator: Windows x86 (PE32)\n"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("Launcher:"), std::string::npos);
    EXPECT_NE(text.out.find("Product information (entry 0):\n  Program UUID:  " + uuid +
                            "\n  Services:      RegNow;1234;\n"),
              std::string::npos);
    CliRun json = Inspect({creator, "--json"});
    EXPECT_NE(json.out.find("\"selfCreator\": true"), std::string::npos) << json.out;

    // A byte after the two blocks: no product information file, so no self creator.
    const std::string other = build(info + "x", "other.exe");
    text = Inspect({other});
    EXPECT_NE(text.out.find("\nLauncher:   Windows x86 (PE32)\n"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("Product information"), std::string::npos);
    json = Inspect({other, "--json"});
    EXPECT_NE(json.out.find("\"selfCreator\": false"), std::string::npos) << json.out;
}

TEST(InspectCommand, NonPackageAndBadUsageFail) {
    TempFolder dir;
    WriteBytes(dir / "notes.txt", "hello");
    CliRun notPackage = Inspect({dir / "notes.txt"});
    EXPECT_EQ(notPackage.exit, kExitFailed);
    EXPECT_TRUE(notPackage.out.empty());
    EXPECT_NE(notPackage.err.find("is not a package"), std::string::npos) << notPackage.err;

    CliRun missing = Inspect({dir / "absent.pkg"});
    EXPECT_EQ(missing.exit, kExitFailed);
    EXPECT_EQ(missing.err,
              "velkora-cli: " + dir / "absent.pkg" + ": cannot read: No such file or directory\n");

    EXPECT_EQ(Inspect({}).exit, kExitUsage);
    EXPECT_EQ(Inspect({"a", "b"}).exit, kExitUsage);
}
