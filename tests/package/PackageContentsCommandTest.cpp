#include "cli/CliCommand.h"
#include "package/AffiliateInfoFile.h"
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

TEST(InspectCommand, NonPackageAndBadUsageFail) {
    TempFolder dir;
    WriteBytes(dir / "notes.txt", "hello");
    CliRun notPackage = Inspect({dir / "notes.txt"});
    EXPECT_EQ(notPackage.exit, kExitFailed);
    EXPECT_TRUE(notPackage.out.empty());
    EXPECT_NE(notPackage.err.find("is not a package"), std::string::npos) << notPackage.err;

    CliRun missing = Inspect({dir / "absent.pkg"});
    EXPECT_EQ(missing.exit, kExitFailed);
    EXPECT_NE(missing.err.find("Cannot read"), std::string::npos);

    EXPECT_EQ(Inspect({}).exit, kExitUsage);
    EXPECT_EQ(Inspect({"a", "b"}).exit, kExitUsage);
}
