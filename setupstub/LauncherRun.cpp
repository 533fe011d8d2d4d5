#include "setupstub/LauncherRun.h"

#include "package/SfxResult.h"
#include "platform/PrivateFolder.h"
#include "setupstub/SetupLauncher.h"

namespace {

constexpr int kFailed = 1;

// The folders this run made; removed when the run ends unless kept.
class RunFolders {
public:
    RunFolders() = default;
    RunFolders(const RunFolders&) = delete;
    RunFolders& operator=(const RunFolders&) = delete;
    ~RunFolders() {
        if (m_bKeep)
            return;
        for (const std::string& folder : m_folders)
            platform::RemoveFolderTree(folder);
    }

    // A new private folder below parent; empty when none can be made.
    std::string Make(const std::string& parent) {
        if (parent.empty())
            return {};
        std::string folder = platform::CreatePrivateFolder(parent);
        if (!folder.empty())
            m_folders.push_back(folder);
        return folder;
    }

    void Keep() { m_bKeep = true; }

private:
    std::vector<std::string> m_folders;
    bool m_bKeep = false;
};

std::string FallbackParent(const LauncherEnvironment& env) {
    return env.fallbackParent ? env.fallbackParent() : std::string();
}

// Extracts the package once more below the fallback parent and starts it there.
SetupStartResult StartFromFallback(const LauncherEnvironment& env, RunFolders& folders,
                                   const std::vector<std::string>& args) {
    const std::string folder = folders.Make(FallbackParent(env));
    std::string setupPath;
    if (folder.empty() || ExtractSetupAgain(env.packagePath, folder, setupPath) != SFX_OK)
        return {};
    return env.startSetup(setupPath, args);
}

} // namespace

int RunLauncher(const LauncherEnvironment& env, const std::vector<std::string>& args) {
    if (env.machineWide == nullptr || env.perUser == nullptr || !env.startSetup)
        return kFailed;
    RunFolders folders;
    std::string folder = folders.Make(env.tempParent);
    if (folder.empty())
        folder = folders.Make(FallbackParent(env));
    if (folder.empty())
        return kFailed;

    PreparedSetup prepared = PrepareSetup(env.packagePath, folder, *env.machineWide, *env.perUser);
    if (prepared.result == SFX_ERR_MARKER)
        return 0; // a bare launcher without a package: nothing to do
    if (prepared.result != SFX_OK)
        return kFailed;

    SetupStartResult started = env.startSetup(prepared.setupPath, args);
    if (started.outcome == SetupStartResult::Outcome::NotExecutable)
        started = StartFromFallback(env, folders, args);
    switch (started.outcome) {
    case SetupStartResult::Outcome::Finished:
        return started.exitCode;
    case SetupStartResult::Outcome::HandedOn:
        folders.Keep();
        return 0;
    case SetupStartResult::Outcome::NotExecutable:
    case SetupStartResult::Outcome::Failed:
        break;
    }
    return kFailed;
}
