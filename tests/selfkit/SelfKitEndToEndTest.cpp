#include "tests/support/SelfCreatorFixtures.h"

#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "model/RegistrationServices.h"
#include "selfkit/SelfKit.h"
#include "velklink/velklink.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <sys/wait.h>

namespace {

// Runs a command line through the shell; returns its exit status and output.
int RunCommand(const std::string& command, std::string* output = nullptr) {
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 512> buffer{};
    std::string text;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void AddService(CAffProject& project, uint16_t index, const std::string& id) {
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = index;
    info->m_strServiceName = std::string(ServiceNameFromIndex(index));
    info->m_strProductId = id;
    project.m_mapRegInfo.SetAt(index, std::move(info));
}

// From a new project to the link a product reads back: the command-line
// program writes the self creator, the self creator (driven through its
// class) writes an affiliate's custom setup, and running that setup stores
// the link where the purchase-link library finds it.
TEST(SelfKitEndToEnd, AffiliateLinkTravelsFromProjectToTheInstalledProduct) {
    ScratchFolder work;
    const std::string cli = Quote(VELKORA_CLI_PATH);
    const std::string project = work / "product.vkp";
    const std::string mark = work / "setup-ran.txt";
    WriteBytes(work / "setup.sh", "#!/bin/sh\necho \"ran $2\" > \"$1\"\n");

    std::string output;
    ASSERT_EQ(RunCommand(cli + " new " + Quote(project) +
                             " --title Product --version 1.0 --website https://vendor.example/"
                             " --setup-file " +
                             Quote(work / "setup.sh") + " --output-dir " + Quote(work / "Builds") +
                             " --service RegNow --product-id 1234",
                         &output),
              0)
        << output;

    // Two more services, as the product settings would add them.
    CAffProject saved;
    ASSERT_TRUE(LoadProjectFile(project, saved).Ok());
    AddService(saved, kServiceShareIt, "5678");
    AddService(saved, kServiceOther, "99");
    ASSERT_TRUE(SaveProjectFile(project, saved).Ok());

    ASSERT_EQ(RunCommand(cli + " build-self-creator " + Quote(project), &output), 0) << output;
    // The folders given inside the project's folder are stored relative to it,
    // and so is the self creator's default path made from them.
    const std::string creator = work / "Builds/VelkSMNG";
    EXPECT_NE(output.find("File 'Builds/VelkSMNG' created successfully."), std::string::npos)
        << output;
    EXPECT_NE(output.find("Saved"), std::string::npos) << output;
    CAffProject reloaded;
    ASSERT_TRUE(LoadProjectFile(project, reloaded).Ok());
    EXPECT_EQ(reloaded.m_strSelfCreatorPath, "Builds/VelkSMNG");

    // The path is stored now: a second run leaves the project file alone.
    ASSERT_EQ(RunCommand(cli + " build-self-creator " + Quote(project), &output), 0) << output;
    EXPECT_EQ(output.find("Saved"), std::string::npos) << output;

    ScratchFolder temp;
    CSelfKit kit(creator, temp.Path());
    ASSERT_EQ(kit.Start(), SelfKitStatus::Ok);
    EXPECT_EQ(kit.Services().names, (std::vector<std::string>{"RegNow", "ShareIt"}));
    EXPECT_EQ(kit.DefaultService(), "RegNow");
    EXPECT_EQ(kit.ProgramUuid(), saved.m_strUuid);
    const std::string custom = work / "affiliate/custom-setup";
    ASSERT_EQ(kit.Build({"RegNow", "A", "https://affiliate.example/", custom}, nullptr),
              SelfKitStatus::Ok);

    ScratchFolder machineStore, userStore, runTemp;
    ASSERT_EQ(RunCommand("env TMPDIR=" + Quote(runTemp.Path()) +
                             " VELKORA_STORE_DIR=" + Quote(machineStore.Path()) +
                             " VELKORA_USER_STORE_DIR=" + Quote(userStore.Path()) + " " +
                             Quote(custom) + " " + Quote(mark) + " second",
                         &output),
              0)
        << output;
    EXPECT_EQ(ReadBytes(mark), "ran second\n");

    ::setenv("VELKORA_STORE_DIR", machineStore.Path().c_str(), 1);
    ::setenv("VELKORA_USER_STORE_DIR", userStore.Path().c_str(), 1);
    char link[4000] = {};
    uint32_t size = sizeof link;
    ASSERT_EQ(velkGetAffiliatePurchaseLink(saved.m_strUuid.c_str(), link, &size), VELK_LINK_OK);
    EXPECT_EQ(std::string(link),
              std::string(ServiceTable()[kServiceRegNow].endpoint) + "?affiliate=A&item=1234");
    ::unsetenv("VELKORA_STORE_DIR");
    ::unsetenv("VELKORA_USER_STORE_DIR");
}

TEST(SelfKitEndToEnd, TheCommandReportsFailuresAndLeavesTheProjectAlone) {
    ScratchFolder work;
    const std::string cli = Quote(VELKORA_CLI_PATH);
    const std::string project = work / "p.vkp";
    std::string output;
    ASSERT_EQ(RunCommand(cli + " new " + Quote(project) +
                             " --title P --version 1 --website W --setup-file " +
                             Quote(work / "missing.exe") + " --output-dir " + Quote(work / "out") +
                             " --service ShareIt --product-id 5",
                         &output),
              0)
        << output;
    const std::string before = ReadBytes(project);

    EXPECT_EQ(RunCommand(cli + " build-self-creator " + Quote(project), &output), 1);
    EXPECT_NE(output.find("Error! Can't open program setup file[missing.exe]."), std::string::npos)
        << output;
    EXPECT_EQ(output.find("Saved"), std::string::npos) << output;
    EXPECT_EQ(ReadBytes(project), before);
    EXPECT_FALSE(std::filesystem::exists(work / "out"));

    EXPECT_EQ(RunCommand(cli + " build-self-creator", &output), 2) << output;
    EXPECT_EQ(RunCommand(cli + " build-self-creator " + Quote(work / "none.vkp"), &output), 1)
        << output;
}

} // namespace
