#include "cli/CommandArgs.h"

#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"

#include "model/RegistrationServices.h"

#include <ostream>

int ReportUsageError(const CliCommand& command, const std::string& error, std::ostream& err) {
    err << error << "\nUsage: velkora-cli " << command.Name() << " " << command.Usage() << "\n";
    return kExitUsage;
}

bool ParseCommandArgs(const CliCommand& command, const std::vector<std::string>& words,
                      CliArgs& args, std::ostream& err) {
    std::string error;
    if (args.Parse(words, command.Syntax(), error))
        return true;
    ReportUsageError(command, error, err);
    return false;
}

std::optional<std::vector<uint16_t>>
ReadAffiliateKeyOptions(const CliCommand& command, const CliArgs& args, std::ostream& err) {
    std::vector<uint16_t> keys;
    for (const std::string& text : args.Values("affiliate")) {
        uint16_t key = 0;
        if (!ParseAffiliateKey(text, key)) {
            ReportUsageError(command, "'" + text + "' is not an affiliate key (0 to 65535).", err);
            return std::nullopt;
        }
        keys.push_back(key);
    }
    return keys;
}

bool ReadServiceOption(const CliArgs& args, std::optional<int32_t>& service, std::ostream& err) {
    if (!args.Has("service"))
        return true;
    const int32_t parsed = ParseServiceName(args.Value("service"));
    if (parsed < 0) {
        err << UnknownServiceMessage(args.Value("service")) << "\n";
        return false;
    }
    service = parsed;
    return true;
}

CliOption AffiliateKeyOption(std::string_view help) {
    return {"affiliate", true, "KEY", help, CliOccurs::Repeated};
}

CliOption ServiceOption(CliOccurs occurs) {
    // Composed once from the service table; the option keeps a view of it.
    static const std::string help = [] {
        std::string text = "Registration service, one of:";
        for (const auto& service : ServiceTable())
            text += " " + std::string(service.name);
        return text + ".";
    }();
    return {"service", true, "NAME", help, occurs};
}
