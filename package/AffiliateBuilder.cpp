#include "package/AffiliateBuilder.h"

#include "model/ByteOrder.h"
#include "package/AffiliateInfoFile.h"
#include "package/BuildRunningFlag.h"
#include "package/LauncherChoice.h"
#include "package/OutputConflict.h"
#include "package/OutputFolders.h"
#include "package/PackageTrailer.h"
#include "package/SfxPackage.h"
#include "platform/Beep.h"
#include "platform/FileSystem.h"
#include "platform/ProcessStart.h"
#include "platform/TempFile.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string_view>
#include <system_error>

namespace {

std::string Quoted(const char* before, const std::string& text, const char* after) {
    return before + text + after;
}

// The temporary affiliate information file. Removed when this goes out of
// scope, on every path, but only when this build created it.
class InfoFile {
public:
    InfoFile() = default;
    InfoFile(const InfoFile&) = delete;
    InfoFile& operator=(const InfoFile&) = delete;
    ~InfoFile() {
        m_file.reset();
        if (!m_strPath.empty())
            std::remove(m_strPath.c_str());
    }

    // A new file "_aff<number>.ino" in folder; "afflreg.dat" there when no
    // unique name can be made. False when neither can be created.
    bool Create(const std::string& folder) {
        std::string path;
        m_file = platform::CreateUniqueTempFile(folder, "_aff", ".ino", path);
        if (!m_file) {
            m_file = platform::CreateOwnTempFile(folder, "afflreg.dat", path);
        }
        if (m_file)
            m_strPath = path;
        return m_file != nullptr;
    }

    // Appends a 32-bit little-endian length and the bytes of text.
    void WriteField(std::string_view text) {
        // A longer field would not fit the launcher's buffer: the package
        // must not be made at all.
        if (text.size() > kAffiliateInfoMaxField) {
            m_bOk = false;
            return;
        }
        if (!WriteLengthPrefixedBlock(m_file.get(), text))
            m_bOk = false;
    }

    // Closes the file; false when any field was too long or not written whole.
    bool Close() {
        if (std::fclose(m_file.release()) != 0)
            m_bOk = false;
        return m_bOk;
    }

    const std::string& Path() const { return m_strPath; }

private:
    platform::FileHandle m_file;
    std::string m_strPath;
    bool m_bOk = true;
};

bool IsUpToDate(const std::string& path, int32_t modified) {
    const std::optional<int64_t> written = platform::RegularFileWriteTime(path);
    return written && *written >= static_cast<int64_t>(modified);
}

BuildEnvironment WithDefaults(BuildEnvironment env) {
    if (!env.now)
        env.now = platform::SystemNow;
    if (!env.beep)
        env.beep = platform::Beep;
    if (!env.startProgram)
        env.startProgram = [](const std::string& path) { StartBuiltPackage(path); };
    if (!env.writePackage)
        env.writePackage = [](CSfxPackage& pkg, const std::string& out) {
            // Entry 1 is the product's setup: its kind picks the launcher.
            return static_cast<int>(
                pkg.Build(LauncherTemplateForSetup(pkg.GetEntry(1).m_strSourcePath), out));
        };
    return env;
}

// One build: the steps of the worker for every affiliate of a request.
class BuildRun {
public:
    BuildRun(const BuildEnvironment& env, const BuildRequest& request)
        : m_env(env), m_request(request) {}

    int Execute() {
        try {
            BuildAffiliates();
        } catch (...) {
            // Nothing may leave the worker thread; what broke counts as one
            // more error and the build still ends with its final line.
            ++m_nErrors;
            TryLog("Internal Error!", true);
        }
        TryLog("");
        TryLog("*** Finished! - " + std::to_string(m_nErrors) + " error(s)");
        try {
            Beep();
        } catch (...) {
        }
        return m_nErrors;
    }

private:
    enum class Next { Continue, EndBuild };

    void BuildAffiliates() {
        const std::string tempFolder =
            m_env.tempFolder.empty() ? platform::TempFolder() : m_env.tempFolder;
        const CAffProject& product = m_request.product;
        std::vector<std::pair<uint16_t, std::string>> outputs;
        outputs.reserve(m_request.outputs.size());
        for (const auto& [key, path] : m_request.outputs)
            if (!path.empty())
                outputs.emplace_back(key, product.ResolveProjectPath(path));
        m_outputs.emplace(Inputs(), outputs);
        const size_t count = m_request.affiliates.size();
        for (size_t i = 0; i < count; ++i) {
            if (m_env.onAffiliate)
                m_env.onAffiliate(i + 1, count);
            if (BuildOne(m_request.affiliates[i], tempFolder) == Next::EndBuild)
                return;
        }
    }

    Next BuildOne(const CReseller& affiliate, const std::string& tempFolder) {
        const CAffProject& product = m_request.product;
        InfoFile info;
        if (!info.Create(tempFolder)) {
            Fail("Internal Error!");
            return Next::Continue;
        }
        info.WriteField(product.m_strUuid);
        Log("");
        Log("Writing program info...");
        info.WriteField(affiliate.m_strPurchaseLink);
        info.WriteField(affiliate.m_strWebSite);
        Log("Writing affiliate info...");
        const bool infoWritten = info.Close();

        CSfxPackage pkg;
        if (!infoWritten || !pkg.AddFile(info.Path())) {
            Fail("Internal Error! Can't write affiliate information!");
            return Next::Continue;
        }

        const std::string& setupFile = product.m_strSetupFile;
        Log(Quoted("Reading setup file '", setupFile, "'"));
        if (setupFile.empty() || !pkg.AddFile(product.ResolveProjectPath(setupFile))) {
            Fail(Quoted("Error! Can't open program setup file[", setupFile, "]."));
            return Next::EndBuild;
        }

        Log("Creating affiliate setup file...");
        const std::string& outputPath = affiliate.m_strSetupPath;
        const std::string resolvedOutput = product.ResolveProjectPath(outputPath);
        const OutputConflict conflict = m_outputs->Find(affiliate.Key(), resolvedOutput);
        if (conflict != OutputConflict::None) {
            Log(OutputConflictLine(conflict, outputPath));
            ++m_nErrors;
            return Next::Continue;
        }
        CreateOutputFolders(resolvedOutput);
        if (m_env.writePackage(pkg, resolvedOutput) == SFX_OK) {
            Log(Quoted("File '", outputPath, "' created successfully."));
            if (m_request.runAfterBuild)
                m_env.startProgram(resolvedOutput);
        } else {
            LogError(Quoted("Error! Can't build affiliate setup file [", outputPath, "]."));
            ++m_nErrors;
        }
        return Next::Continue;
    }

    // What no package may replace, besides the other affiliates' outputs.
    BuildInputs Inputs() const {
        const CAffProject& product = m_request.product;
        BuildInputs inputs;
        inputs.projectFile = product.m_strProjectPath;
        inputs.setupFile = product.ResolveProjectPath(product.m_strSetupFile);
        return inputs;
    }

    void Fail(const std::string& line) {
        LogError(line);
        Beep();
        ++m_nErrors;
    }

    void Log(const std::string& line) { m_env.log->Append(line); }
    void LogError(const std::string& line) { m_env.log->AppendError(line); }

    void TryLog(const std::string& line, bool error = false) {
        try {
            if (error)
                LogError(line);
            else
                Log(line);
        } catch (...) {
        }
    }

    void Beep() {
        if (m_env.beep)
            m_env.beep();
    }

    const BuildEnvironment& m_env;
    const BuildRequest& m_request;
    // The inputs and every affiliate's output, resolved once per build.
    std::optional<BuildOutputCheck> m_outputs;
    int m_nErrors = 0;
};

} // namespace

bool StartBuiltPackage(const std::string& path, const std::vector<std::string>& args) {
    // A bare name would be looked up in PATH and could start another program;
    // the file meant is the one relative to the current folder.
    const std::string program = platform::AbsolutePath(path);
    return !program.empty() && platform::StartDetached(program, args);
}

CBuildJob::~CBuildJob() {
    Wait();
}

int CBuildJob::Wait() {
    if (m_thread.joinable())
        m_thread.join();
    return m_nErrors;
}

CAffiliateBuilder::CAffiliateBuilder(BuildEnvironment environment)
    : m_env(WithDefaults(std::move(environment))) {}

std::string CAffiliateBuilder::StartLine() const {
    return "***Start building [" + platform::FormatLocalTime(m_env.now(), "%H:%M:%S") + "] ";
}

std::unique_ptr<CBuildJob> CAffiliateBuilder::BuildAll(const CAffProject& project) const {
    m_env.log->Clear();
    m_env.log->Append(StartLine());
    return Start(MakeBuildAllRequest(project));
}

std::unique_ptr<CBuildJob>
CAffiliateBuilder::BuildSelected(const CAffProject& project,
                                 const std::vector<uint16_t>& keys) const {
    m_env.log->Append(StartLine());
    return Start(MakeBuildSelectedRequest(project, keys));
}

RunSetupOutcome CAffiliateBuilder::RunSetup(const CAffProject& project, uint16_t key) const {
    RunSetupOutcome outcome;
    if (const CReseller* affiliate = project.LookupReseller(key)) {
        const std::string path = project.ResolveProjectPath(affiliate->m_strSetupPath);
        if (IsUpToDate(path, affiliate->m_tModified)) {
            m_env.startProgram(path);
            outcome.startedExisting = true;
            return outcome;
        }
    }
    BuildRequest request = MakeBuildSelectedRequest(project, {key});
    request.runAfterBuild = true;
    outcome.job = Start(std::move(request));
    return outcome;
}

std::unique_ptr<CBuildJob> CAffiliateBuilder::Start(BuildRequest request) const {
    std::unique_ptr<CBuildJob> job(new CBuildJob);
    CBuildJob* target = job.get();
    job->m_thread = std::thread([target, env = m_env, request = std::move(request)]() {
        CAffiliateBuilder worker(env);
        target->m_nErrors = worker.Run(request);
        if (env.onFinished) {
            try {
                env.onFinished(target->m_nErrors);
            } catch (...) {
            }
        }
    });
    return job;
}

int CAffiliateBuilder::Run(const BuildRequest& request) const {
    BuildRunningScope running;
    return BuildRun(m_env, request).Execute();
}
