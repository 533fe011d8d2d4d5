// velkora_dialogs_probe: shows one of the document's dialogs on a sample
// project and prints what comes back, one "key=value" line each, in UTF-8.
// Not shipped; tests drive it under wine64.
//
//   velkora_dialogs_probe.exe wizard|affiliate|settings|productid|uuid [project.vkp]
//   velkora_dialogs_probe.exe folder [initial-folder]
#include "app/AppTexts.h"
#include "app/ProductIdForm.h"
#include "model/AffProject.h"
#include "model/NewProduct.h"
#include "platform/win32/WideText.h"
#include "ui/win32/DocumentDialogsFactory.h"
#include "ui/win32/dialogs/FileChoosers.h"
#include "ui/win32/dialogs/ProductIdDialog.h"

#include <commctrl.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <string>

namespace {

void Print(const std::string& key, const std::string& value) {
    const std::string line = key + "=" + value + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

// A product with its RegNow ID and one affiliate, as a vendor has it after the wizard.
void FillSample(CAffProject& project) {
    project.m_strTitle = "Größe Ωmega жук"; // shown and stored back through the wide functions
    project.m_strVersion = "1.0";
    project.m_strWebSite = "http://sample.example/";
    project.m_strSetupFile = "setup.exe";
    project.m_strOutputDir = "ausgabe-жук";
    StartNewProduct(project, 0, "P1", "https://www.regnow.com/softsell/nph-softsell.cgi?item=P1");
    CReseller existing;
    existing.m_strName = "Existing";
    existing.m_strAffiliateId = "E1";
    existing.m_strSetupPath = "ausgabe-жук\\setup_Existing.exe";
    project.AddReseller(existing);
}

void PrintProject(const CAffProject& project) {
    Print("title", project.m_strTitle);
    Print("version", project.m_strVersion);
    Print("webSite", project.m_strWebSite);
    Print("setupFile", project.m_strSetupFile);
    Print("outputDir", project.m_strOutputDir);
    Print("selfCreator", project.m_strSelfCreatorPath);
    Print("defaultService", std::to_string(project.m_wDefaultService));
    project.m_mapRegInfo.ForEach([](uint16_t, const CProductRegInfo& info) {
        Print("reg",
              info.m_strServiceName + "|" + info.m_strProductId + "|" + info.m_strPurchaseLink);
    });
}

int Run(const std::string& which, const std::string& projectPath) {
    CAffProject project;
    if (!projectPath.empty() && which != "folder")
        project.SetProjectPath(projectPath);
    FillSample(project);
    const std::unique_ptr<IDocumentDialogs> front = CreateDocumentDialogs(nullptr);
    bool ok = false;
    if (which == "wizard") {
        NewProjectAnswers a;
        ok = front->RunNewProjectWizard(a);
        Print("result", ok ? "ok" : "cancel");
        if (ok) {
            Print("title", a.title);
            Print("version", a.version);
            Print("webSite", a.webSite);
            Print("setupFile", a.setupFile);
            Print("outputDir", a.outputDir);
            Print("selfCreator", a.selfCreatorPath);
            Print("service", std::to_string(a.service));
            Print("productId", a.productId);
            Print("purchaseLink", a.purchaseLink);
        }
    } else if (which == "affiliate") {
        CReseller r;
        ok = front->EditNewAffiliate(project, r);
        Print("result", ok ? "ok" : "cancel");
        if (ok) {
            Print("name", r.m_strName);
            Print("service", std::to_string(r.m_nService));
            Print("affiliateId", r.m_strAffiliateId);
            Print("purchaseLink", r.m_strPurchaseLink);
            Print("webSite", r.m_strWebSite);
            Print("email", r.m_strEmail);
            Print("setupPath", r.m_strSetupPath);
        }
        PrintProject(project);
    } else if (which == "settings") {
        ok = front->EditProductSettings(project);
        Print("result", ok ? "ok" : "cancel");
        PrintProject(project);
    } else if (which == "uuid") {
        std::string uuid = project.m_strUuid;
        ok = front->EditProgramUuid(uuid);
        Print("result", ok ? "changed" : "unchanged");
        Print("uuid", uuid);
    } else if (which == "productid") {
        CProductIdForm form({"RegNow", "ShareIt", "RegSoft"}, 0);
        dialogs::CProductIdDialog dialog(form);
        ok = dialog.Run(nullptr);
        Print("result", ok ? "ok" : "cancel");
        const ProductIdAnswer answer = form.Answer();
        Print("service", answer.serviceName);
        Print("productId", answer.productId);
        Print("purchaseLink", answer.purchaseLink);
    } else if (which == "folder") {
        // The output folder's chooser, opened on the folder given in place of
        // the project.
        const std::string folder = dialogs::ChooseFolder(
            nullptr, {std::string(apptext::kFolderBrowserCaption),
                      std::string(apptext::kFolderBrowserInstruction), projectPath});
        Print("result", folder.empty() ? "cancel" : "ok");
        Print("folder", folder);
    } else {
        std::fputs("usage: velkora_dialogs_probe wizard|affiliate|settings|productid|uuid|folder "
                   "[project.vkp]\n",
                   stderr);
        return 2;
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // The record goes out as bytes: "\n" ends a line on every system.
    _setmode(_fileno(stdout), _O_BINARY);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string which = argc > 1 ? platform::win32::Narrow(argv[1]) : std::string();
    const std::string project = argc > 2 ? platform::win32::Narrow(argv[2]) : std::string();
    return Run(which, project);
}
