#pragma once

// Runs a real launcher (a package file) as a child process, for the tests
// that race it, signal it or run it as another user.
#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"
#include "tests/velklink/ScratchFolder.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <grp.h>
#include <optional>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A package made of the launcher at imagePath, an information file for
// key/link/site and the setup script text, written to packagePath (mode 0755).
inline bool MakeLauncherPackage(const std::string& imagePath, const std::string& packagePath,
                                const CAffiliateInfo& info, const std::string& setupScript,
                                const std::string& setupName = "setup.sh") {
    const std::filesystem::path work = std::filesystem::path(packagePath).parent_path();
    const std::string infoPath = (work / "_aff1.ino").string();
    const std::string setupPath = (work / setupName).string();
    if (WriteAffiliateInfoFile(infoPath, info) != SFX_OK)
        return false;
    WriteFileBytes(setupPath, setupScript);
    CSfxPackage package;
    const std::string image = ReadFileBytes(imagePath);
    const bool ok = !image.empty() && package.AddFile(infoPath) && package.AddFile(setupPath) &&
                    package.BuildWithImage(image.data(), image.size(), packagePath) == SFX_OK;
    std::filesystem::remove(infoPath);
    std::filesystem::remove(setupPath);
    std::error_code ignored;
    std::filesystem::permissions(packagePath, std::filesystem::perms(0755),
                                 std::filesystem::perm_options::replace, ignored);
    return ok;
}

// What the child does before it becomes the launcher.
struct ChildRights {
    uid_t uid = 0;         // 0: keep root; else drop to this user and group
    std::string noexecTmp; // when set: a mount namespace of its own with a
                           // noexec tmpfs on this folder
};

// Starts program with args and exactly the environment env ("NAME=value").
inline pid_t StartChild(const std::string& program, const std::vector<std::string>& args,
                        const std::vector<std::string>& env, const ChildRights& rights = {}) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    if (!rights.noexecTmp.empty() &&
        (::unshare(CLONE_NEWNS) != 0 ||
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
         ::mount("tmpfs", rights.noexecTmp.c_str(), "tmpfs", MS_NOEXEC | MS_NOSUID | MS_NODEV,
                 "mode=1777") != 0))
        ::_exit(90);
    if (rights.uid != 0 &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(rights.uid, rights.uid, rights.uid) != 0 ||
         ::setresuid(rights.uid, rights.uid, rights.uid) != 0))
        ::_exit(91);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(92);
}

// The exit status of a child, 128 + n when signal n ended it; -1 when it did
// not end within a minute (it is killed then).
inline int WaitChild(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The pause points of the launcher's test build (setupstub/TestPauseHook.h).
class PauseDir {
public:
    explicit PauseDir(std::string dir) : m_dir(std::move(dir)) {}

    std::string Env() const { return "VELKORA_PAUSE_DIR=" + m_dir; }

    // Waits until the child holds at point (pass k) and returns nothing, or
    // until it ended and returns its status (-1 when neither came in a minute).
    std::optional<int> WaitHeld(pid_t pid, const std::string& point, int pass = 1) const {
        const std::string reached = Base(point, pass) + ".reached";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!std::filesystem::exists(reached)) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            if (std::chrono::steady_clock::now() > deadline)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return std::nullopt;
    }

    void Release(const std::string& point, int pass = 1) const {
        WriteFileBytes(Base(point, pass) + ".go", "");
    }

private:
    std::string Base(const std::string& point, int pass) const {
        return m_dir + "/" + point + "-" + std::to_string(pass);
    }

    std::string m_dir;
};
