#pragma once

#include "cli/CliCommand.h"
#include "cli/CliRunner.h"
#include "tests/support/NativePath.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// Runs velkora-cli in-process and keeps what it printed.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

inline CliRun RunCliWords(const std::vector<std::string>& words) {
    std::ostringstream out, err;
    CliRun run;
    run.code = RunCli(words, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// A fresh folder per test, removed afterwards.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_dir = m_temp.Path();
        m_file = (m_dir / "Proj.vkp").string();
    }

    // A project made by `new` with the RegNow product ID P-1.
    void MakeProject(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> words = {
            "new",          m_file,      "--title",      "Demo \"Pro\"",
            "--version",    "2.1",       "--website",    "https://demo.example",
            "--setup-file", "Setup.exe", "--output-dir", "out",
            "--service",    "RegNow",    "--product-id", "P-1"};
        words.insert(words.end(), extra.begin(), extra.end());
        const CliRun run = RunCliWords(words);
        ASSERT_EQ(run.code, 0) << run.err;
    }

    TempFolder m_temp{"velkora-cli-test"};
    std::filesystem::path m_dir;
    std::string m_file;
};
