// Writes a project of many affiliates for the benchmarks:
//   bench-make-project OUT.vkp COUNT SETUP_FILE OUTPUT_DIR
// Every affiliate has texts of a realistic length, names in a shuffled order
// (so that sorting has work to do) and a setup path OUTPUT_DIR/aN.bin.
#include "model/AffProject.h"
#include "model/ProjectFile.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

namespace {

std::string Word(std::mt19937& rng, size_t length) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string word;
    for (size_t i = 0; i < length; ++i)
        word += kLetters[rng() % (sizeof kLetters - 1)];
    return word;
}

CReseller MakeAffiliate(std::mt19937& rng, unsigned n, const std::string& outputDir) {
    CReseller r;
    const std::string tag = Word(rng, 8);
    r.m_strName = tag + " Software " + std::to_string(n);
    r.m_strAffiliateId = "aff" + std::to_string(rng() % 1000000);
    r.m_strWebSite = "https://www." + tag + ".example/shop";
    r.m_strEmail = "sales@" + tag + ".example";
    r.m_strPurchaseLink =
        "https://www.regnow.com/softsell/nph-softsell.cgi?item=12345-1&affiliate=" +
        r.m_strAffiliateId;
    r.m_nService = 0;
    r.m_strSetupPath = outputDir + "/a" + std::to_string(n) + ".bin";
    r.m_tModified = 1600000000 + static_cast<int32_t>(rng() % 50000000);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s OUT.vkp COUNT SETUP_FILE OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const unsigned count = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    CAffProject project;
    project.SetProjectPath(argv[1]);
    project.m_strTitle = "Bench Product";
    project.m_strVersion = "1.0";
    project.m_strWebSite = "https://bench.example";
    project.m_strUuid = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
    project.m_strSetupFile = argv[3];
    project.m_strOutputDir = argv[4];
    auto info = std::make_unique<CProductRegInfo>();
    info->m_strProductId = "12345-1";
    info->m_strPurchaseLink = "https://www.regnow.com/softsell/nph-softsell.cgi?item=12345-1";
    info->m_strServiceName = "RegNow";
    project.m_mapRegInfo.SetAt(0, std::move(info));

    std::mt19937 rng(20261208);
    for (unsigned n = 0; n < count; ++n)
        if (project.AddReseller(MakeAffiliate(rng, n, argv[4])) != CAffProject::AddResult::Added)
            return 1;
    const ProjectFileResult saved = SaveProjectFile(argv[1], project);
    if (!saved.Ok()) {
        std::fprintf(stderr, "%s\n", saved.message.c_str());
        return 1;
    }
    return 0;
}
