#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/serve/ServeOptions.h"

#include <charconv>
#include <memory>
#include <ostream>

namespace {

// A whole number from 1 to most, or nothing.
bool CountOf(const std::string& text, unsigned most, unsigned& value) {
    unsigned n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || n < 1 ||
        n > most)
        return false;
    value = n;
    return true;
}

// Sends every affiliate's custom setup over HTTP, composed while it is sent.
class CmdServe : public CliCommand {
public:
    std::string_view Name() const override { return "serve"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"},
                {{"listen", true, "ADDR:PORT", "Listen there (127.0.0.1:8080, [::1]:8080, *:8080).",
                  CliOccurs::Required},
                 {"template", true, "SIGNED.exe",
                  "Serve stamped copies of the product's signed template."},
                 {"threads", true, "N", "Threads that answer requests (default 2)."},
                 {"max-connections", true, "N", "Connections served at once (default 512)."},
                 {"timeout", true, "SECONDS", "Close a connection idle that long (default 60)."},
                 {"drain", true, "SECONDS",
                  "After SIGTERM, let running downloads go on that long (default 30)."}}};
    }
    std::string_view Summary() const override {
        return "Serve each affiliate's custom setup over HTTP, made while it is sent (Linux).";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        ServeOptions options;
        options.projectPath = args.Positionals()[0];
        options.listen = args.Value("listen");
        options.templatePath = args.Value("template");
        const struct {
            const char* name;
            unsigned most;
            unsigned& value;
        } counts[] = {{"threads", 64, options.threads},
                      {"max-connections", 100000, options.maxConnections},
                      {"timeout", 86400, options.timeoutSeconds},
                      {"drain", 86400, options.drainSeconds}};
        for (const auto& count : counts)
            if (args.Has(count.name) && !CountOf(args.Value(count.name), count.most, count.value)) {
                err << "--" << count.name << " needs a whole number from 1 to " << count.most
                    << ".\n";
                return kExitUsage;
            }
        return RunSetupServer(options, out, err) == 0 ? kExitOk : kExitFailed;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdServe() {
    return std::make_unique<CmdServe>();
}
