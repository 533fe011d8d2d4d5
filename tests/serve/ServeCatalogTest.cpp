// The server's catalog against the files build and stamp write: every
// affiliate's served body equals stamp's copy of a signed template (the plain
// build is compared on the loopback by serve-road.py), and a body taken before
// the setup changed keeps its bytes after the catalog read it again.
#include "cli/CliProject.h"
#include "cli/serve/SetupCatalog.h"
#include "model/AffProject.h"
#include "package/AffiliateInfoFile.h"
#include "package/SetupTemplate.h"
#include "package/SfxPackage.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/package/SignedSample.h"

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace {

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Spit(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string BodyOf(const ServedSetup& setup) {
    std::string body;
    for (const auto& [data, length] : setup.spans)
        body.append(data, length);
    return body;
}

ServeRoute KeyRoute(uint16_t key) {
    ServeRoute route;
    route.kind = ServeRoute::Kind::ByKey;
    route.key = key;
    return route;
}

class ServeCatalogTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        Spit(m_dir / "Setup.exe", "#!/bin/sh\n" + std::string(5000, 's') + "end");
        MakeProject();
        for (const char* who : {"Ann", "Bob", "Cy"})
            ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", who, "--affiliate-id", who,
                                   "--website", std::string("https://") + who + ".example"})
                          .code,
                      0);
        std::ostringstream err;
        ASSERT_TRUE(LoadCliProject(m_file, m_project, err)) << err.str();
    }

    // The product's template on a PE image of the test's own, signed.
    std::string SignedTemplate() {
        CSfxPackage pkg;
        EXPECT_TRUE(
            pkg.AddBytes("_aff0.ino", EncodeAffiliateInfo(TemplateAffiliateInfo(m_project))));
        EXPECT_TRUE(pkg.AddFile((m_dir / "Setup.exe").string()));
        const std::string image = signedsample::PeImage();
        const std::string built = (m_dir / "built.exe").string();
        EXPECT_EQ(pkg.BuildWithImage(image.data(), image.size(), built), SFX_OK);
        const std::string path = (m_dir / "T.exe").string();
        Spit(path, signedsample::SignSha256(Slurp(built)));
        return path;
    }

    CAffProject m_project;
};

TEST_F(ServeCatalogTest, EveryStampedBodyEqualsTheStampedFile) {
    const std::string templatePath = SignedTemplate();
    const CliRun stamp = RunCliWords({"stamp", m_file, "--template", templatePath, "--quiet"});
    ASSERT_EQ(stamp.code, 0) << stamp.err << stamp.out;
    CSetupCatalog catalog(m_file, templatePath);
    std::ostringstream err;
    ASSERT_TRUE(catalog.Load(err)) << err.str();
    std::set<std::string> etags;
    for (const uint16_t key : m_project.m_mapResellers.Keys()) {
        const CReseller* affiliate = m_project.LookupReseller(key);
        const SetupLookup lookup = catalog.Find(KeyRoute(key));
        ASSERT_EQ(lookup.status, SetupLookup::Status::Found);
        const std::string file = Slurp(m_project.ResolveProjectPath(affiliate->m_strSetupPath));
        EXPECT_EQ(BodyOf(lookup.setup), file) << affiliate->m_strName;
        EXPECT_EQ(lookup.setup.size, static_cast<int64_t>(file.size()));
        etags.insert(lookup.setup.etag);
    }
    EXPECT_EQ(etags.size(), m_project.m_mapResellers.Keys().size());
    // Another setup file than the template carries: not served at all.
    Spit(m_dir / "Setup.exe", "another setup");
    CSetupCatalog mismatch(m_file, templatePath);
    std::ostringstream why;
    EXPECT_FALSE(mismatch.Load(why));
    EXPECT_NE(why.str().find("does not carry the product's setup file"), std::string::npos)
        << why.str();
}

TEST_F(ServeCatalogTest, ABodyKeepsItsBytesWhenTheSetupIsReadAgain) {
    CSetupCatalog catalog(m_file, {});
    std::ostringstream err;
    ASSERT_TRUE(catalog.Load(err)) << err.str();
    const uint16_t key = m_project.m_mapResellers.Keys().front();
    const SetupLookup before = catalog.Find(KeyRoute(key));
    ASSERT_EQ(before.status, SetupLookup::Status::Found);
    const std::string bytesBefore = BodyOf(before.setup);
    EXPECT_FALSE(catalog.Changed());

    Spit(m_dir / "Setup.exe", "#!/bin/sh\n" + std::string(7000, 'n'));
    EXPECT_TRUE(catalog.Changed());
    ASSERT_TRUE(catalog.Load(err)) << err.str();
    const SetupLookup after = catalog.Find(KeyRoute(key));
    ASSERT_EQ(after.status, SetupLookup::Status::Found);
    EXPECT_EQ(BodyOf(before.setup), bytesBefore);
    EXPECT_NE(after.setup.etag, before.setup.etag);
    EXPECT_EQ(after.setup.size, before.setup.size + 2000 - 3);

    // A project that cannot be read leaves the catalog as it was.
    Spit(m_file, "not a project");
    std::ostringstream why;
    EXPECT_FALSE(catalog.Load(why));
    EXPECT_EQ(catalog.Find(KeyRoute(key)).setup.etag, after.setup.etag);
}

} // namespace
