#include "selfkit/HyperlinkOpener.h"

#include "platform/ShellOpen.h"

std::string OpenHyperlink(const std::string& address) {
    if (platform::ShellOpen(address))
        return {};
    const auto command = platform::WebBrowserCommand();
    if (!command)
        return "No program to open web pages is configured on this desktop.";
    std::string line = *command;
    const size_t at = line.find("%1");
    if (at == std::string::npos)
        line += " \"" + address + "\"";
    else
        line.replace(at, 2, address);
    if (platform::StartCommandLine(line))
        return {};
    return "The web browser could not be started.";
}
