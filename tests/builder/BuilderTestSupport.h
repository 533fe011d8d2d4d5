#pragma once

#include "model/AffProject.h"
#include "package/AffiliateBuilder.h"
#include "package/BuildLogSink.h"
#include "package/SfxPackage.h"
#include "platform/Environment.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempFolder.h"

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace buildertest {

namespace fs = std::filesystem;

// 2023-11-14 14:03:59 UTC.
inline constexpr std::time_t kStartTime = 1699970639;
inline constexpr const char* kStartLine = "***Start building [14:03:59] ";

// Records every line; safe to call from the worker.
using RecordingSink = LogRecorder;

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A folder of its own for each test, with a temporary folder for the
// information files inside it, and a recording environment.
class BuilderFixture {
public:
    BuilderFixture() {
        platform::SetEnvironmentValue("TZ", "UTC0");
        tzset();
        root = m_temp.Path();
        tempFolder = root / "tmp";
        fs::create_directory(tempFolder);
        image = std::string(4096, '\0');
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<char>(i * 7 + 1);
    }

    BuildEnvironment Environment() {
        BuildEnvironment env;
        env.log = &sink;
        env.now = [] { return kStartTime; };
        env.beep = [this] { ++beeps; };
        env.startProgram = [this](const std::string& path) {
            std::lock_guard<std::mutex> lock(startedMutex);
            started.push_back(path);
        };
        env.writePackage = [this](CSfxPackage& pkg, const std::string& out) {
            return static_cast<int>(pkg.BuildWithImage(image.data(), image.size(), out));
        };
        env.tempFolder = tempFolder.string();
        return env;
    }

    // A product whose setup file exists, with its project file in root/proj.
    CAffProject Product(const std::string& setupBytes = "#!" + std::string(4998, 'S')) {
        CAffProject project;
        fs::create_directories(root / "proj");
        project.SetProjectPath((root / "proj" / "demo.vkp").string());
        project.m_strUuid = "6F1C2A9E-0B7D-4E55-9A21-3C4D5E6F7A8B";
        setupPath = root / "setup.exe";
        WriteFile(setupPath, setupBytes);
        project.m_strSetupFile = setupPath.string();
        return project;
    }

    static CReseller Affiliate(const std::string& name, const std::string& output) {
        CReseller r;
        r.m_strName = name;
        r.m_strAffiliateId = name + "-id";
        r.m_strPurchaseLink = "https://reg.example/buy?p=1&a=" + name;
        r.m_strWebSite = "https://" + name + ".example";
        r.m_strSetupPath = output;
        return r;
    }

    std::vector<std::string> TempFolderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(tempFolder))
            names.push_back(e.path().filename().string());
        return names;
    }

    std::vector<std::string> Started() {
        std::lock_guard<std::mutex> lock(startedMutex);
        return started;
    }

    TempFolder m_temp{"builder-test"};
    fs::path root;
    fs::path tempFolder;
    fs::path setupPath;
    std::string image;
    RecordingSink sink;
    std::atomic<int> beeps{0};
    std::mutex startedMutex;
    std::vector<std::string> started;
};

// The six lines of one affiliate that builds.
inline std::vector<std::string> SuccessLines(const std::string& setupFile,
                                             const std::string& output) {
    return {"",
            "Writing program info...",
            "Writing affiliate info...",
            "Reading setup file '" + setupFile + "'",
            "Creating affiliate setup file...",
            "File '" + output + "' created successfully."};
}

} // namespace buildertest
