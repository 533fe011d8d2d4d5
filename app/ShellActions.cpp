#include "app/ShellActions.h"

#include "app/AppTexts.h"

#include "model/AffProject.h"
#include "model/ProjectPaths.h"
#include "model/Reseller.h"
#include "platform/FileSystem.h"
#include "platform/ShellOpen.h"

ShellOperations ShellOperations::Desktop() {
    ShellOperations ops;
    ops.open = [](const std::string& t) { return platform::ShellOpen(t); };
    ops.browserCommand = [] { return platform::WebBrowserCommand(); };
    ops.startCommandLine = [](const std::string& c) { return platform::StartCommandLine(c); };
    ops.explore = [](const std::string& f) { return platform::ShellExplore(f); };
    return ops;
}

std::string BrowserCommandLine(const std::string& browserCommand, const std::string& target) {
    auto cut = browserCommand.find("\"%1\"");
    if (cut == std::string::npos)
        cut = browserCommand.find("%1");
    std::string line = browserCommand.substr(0, cut);
    // The blank before the placeholder is the one that separates the target.
    while (cut != std::string::npos && !line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    line += ' ';
    line += target;
    return line;
}

LinkResult OpenDocumentLink(const std::string& target, const ShellOperations& ops) {
    if (ops.open && ops.open(target))
        return LinkResult::Opened;
    const std::optional<std::string> browser =
        ops.browserCommand ? ops.browserCommand() : std::nullopt;
    if (!browser || browser->empty())
        return LinkResult::NoBrowser;
    const bool started =
        ops.startCommandLine && ops.startCommandLine(BrowserCommandLine(*browser, target));
    return started ? LinkResult::OpenedByBrowser : LinkResult::BrowserFailed;
}

std::string MailtoTarget(const std::string& email) {
    return "mailto:" + email;
}

std::string OutputFolderOf(const CAffProject& project, const CReseller& affiliate) {
    const std::string full = project.ResolveProjectPath(affiliate.m_strSetupPath);
    if (projectpaths::FolderPartOf(full).empty())
        return full;
    return projectpaths::FolderOf(full, platform::HostPathStyle());
}

std::string HelpFilePath(const std::string& programFolder) {
    const platform::PathStyle style = platform::HostPathStyle();
    const std::string beside = projectpaths::JoinPath(programFolder, "VelkHelp.html", style);
    const std::string up = projectpaths::FolderOf(programFolder, style);
    const std::string shared = projectpaths::JoinPath(
        projectpaths::JoinPath(projectpaths::JoinPath(up, "share", style), "velkora", style),
        "VelkHelp.html", style);
    return platform::PathExists(beside) || !platform::PathExists(shared) ? beside : shared;
}

std::string OpenHelpIndex(const std::string& helpPath, const ShellOperations& ops) {
    if (!platform::PathExists(helpPath))
        return apptext::FormatText(apptext::kHelpFileMissing, {helpPath});
    const LinkResult result = OpenDocumentLink(helpPath, ops);
    if (result == LinkResult::Opened || result == LinkResult::OpenedByBrowser)
        return {};
    return apptext::FormatText(apptext::kHelpFileNotOpened, {helpPath});
}
