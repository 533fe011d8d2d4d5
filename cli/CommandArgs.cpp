#include "cli/CommandArgs.h"

#include "cli/CliCommand.h"
#include "cli/CliProject.h"

#include <ostream>

int ReportUsageError(const CliCommand& command, const std::string& error, std::ostream& err) {
    err << error << "\nUsage: velkora-cli " << command.Name() << " " << command.Usage() << "\n";
    return kExitUsage;
}

bool ParseCommandArgs(const CliCommand& command, const std::vector<std::string>& words,
                      const std::vector<CliOption>& options, size_t minPositionals,
                      size_t maxPositionals, CliArgs& args, std::ostream& err) {
    std::string error;
    if (args.Parse(words, options, minPositionals, maxPositionals, error))
        return true;
    ReportUsageError(command, error, err);
    return false;
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
