#include "package/AffiliateBuilder.h"

#include "model/ByteOrder.h"
#include "package/AffiliateInfoFile.h"
#include "package/AffiliatePackage.h"
#include "package/BuildRunningFlag.h"
#include "package/LauncherImage.h"
#include "package/OutputConflict.h"
#include "package/OutputFolders.h"
#include "package/PackageAffiliateInfo.h"
#include "package/PackageTrailer.h"
#include "package/SfxPackage.h"
#include "platform/Beep.h"
#include "platform/FileSystem.h"
#include "platform/ProcessStart.h"
#include "platform/TempFile.h"
#include "platform/WriteTarget.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string_view>
#include <system_error>

namespace {

std::string Quoted(const char* before, const std::string& text, const char* after) {
    return before + text + after;
}

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
        env.writePackage = [log = env.log](CSfxPackage& pkg, const std::string& out) {
            // Entry 1 is the product's setup: its kind picks the launcher.
            const std::string setup = pkg.GetEntry(1).m_strSourcePath;
            LauncherImage image = PrepareLauncherImage(setup);
            if (!image.bytes) {
                log->AppendError(LauncherRefusalLine(setup, image.pick));
                return static_cast<int>(SFX_ERR_TEMPLATE);
            }
            return static_cast<int>(pkg.BuildWithImage(std::move(image.bytes), out));
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
        const CAffProject& product = m_request.product;
        std::vector<std::pair<uint16_t, std::string>> outputs;
        outputs.reserve(m_request.outputs.size());
        for (const auto& [key, path] : m_request.outputs)
            if (!path.empty())
                outputs.emplace_back(key, product.ResolveProjectPath(path));
        m_outputs.emplace(Inputs(), outputs);
        const size_t count = m_request.affiliates.size();
        for (size_t i = 0; i < count; ++i) {
            if (i > 0 && m_env.stopRequested && m_env.stopRequested()) {
                Log("");
                Log("*** Stopped - " + std::to_string(i) + " of " + std::to_string(count) +
                    " affiliate(s) built");
                return;
            }
            if (m_env.onAffiliate)
                m_env.onAffiliate(i + 1, count);
            if (BuildOne(m_request.affiliates[i]) == Next::EndBuild)
                return;
        }
    }

    Next BuildOne(const CReseller& affiliate) {
        const CAffProject& product = m_request.product;
        // The information file is made in memory: nothing is left in the
        // temporary folder, whatever ends the build.
        Log("");
        Log("Writing program info...");
        Log("Writing affiliate info...");

        CSfxPackage pkg;
        if (!AddAffiliateInfoEntry(pkg, product, affiliate)) {
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
        const OutputConflict conflict = FindConflict(affiliate.Key(), resolvedOutput);
        if (conflict != OutputConflict::None) {
            Log(OutputConflictLine(conflict, outputPath));
            ++m_nErrors;
            return Next::Continue;
        }
        const Existing existing = WhatIsAt(resolvedOutput);
        if (existing == Existing::NotOurs) {
            Log(OutputConflictLine(OutputConflict::NotOurSetup, outputPath));
            ++m_nErrors;
            return Next::Continue;
        }
        CreateOutputFolders(resolvedOutput);
        if (existing == Existing::Replaceable &&
            m_env.writePackage(pkg, resolvedOutput) == SFX_OK) {
            Log(Quoted("File '", outputPath, "' created successfully."));
            if (m_request.runAfterBuild)
                m_env.startProgram(resolvedOutput);
        } else {
            LogError(Quoted("Error! Can't build affiliate setup file [", outputPath, "]."));
            ++m_nErrors;
        }
        return Next::Continue;
    }

    enum class Existing { Replaceable, NotOurs, Unreadable };

    OutputConflict FindConflict(uint16_t key, const std::string& output) const {
        if (output.find('\0') != std::string::npos)
            return OutputConflict::NulByte;
        return m_outputs->Find(key, output);
    }

    // A build replaces nothing but an earlier custom setup of this product
    // (or a link at the output, which is replaced and never followed).
    Existing WhatIsAt(const std::string& output) const {
        if (platform::ResolveWriteTarget(output).viaLink || !platform::PathExists(output))
            return Existing::Replaceable;
        CSfxPackage existing;
        SfxResult read = existing.ReadDirectory(output);
        CAffiliateInfo info;
        if (read == SFX_OK)
            read = ReadPackageAffiliateInfo(existing, info);
        if (read == SFX_ERR_OPEN)
            return Existing::Unreadable;
        return read == SFX_OK && info.m_strKey == m_request.product.m_strUuid
                   ? Existing::Replaceable
                   : Existing::NotOurs;
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
