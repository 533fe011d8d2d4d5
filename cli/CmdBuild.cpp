#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"

#include "model/AffProject.h"
#include "package/AffiliateBuilder.h"

#include <memory>
#include <ostream>

namespace {

struct BuildArgs {
    std::string file;
    std::vector<uint16_t> keys;
    bool selected = false;
    bool quiet = false;
};

// --affiliate may be given many times, which the common option parser refuses.
bool ParseBuildArgs(const std::vector<std::string>& words, BuildArgs& args, std::string& error) {
    std::vector<std::string> positionals;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        std::string keyText;
        if (word == "--quiet") {
            args.quiet = true;
            continue;
        } else if (word == "--affiliate") {
            if (i + 1 >= words.size()) {
                error = "Option --affiliate needs a key.";
                return false;
            }
            keyText = words[++i];
        } else if (word.rfind("--affiliate=", 0) == 0) {
            keyText = word.substr(12);
        } else if (word.size() > 1 && word[0] == '-') {
            error = "Unknown option '" + word + "'.";
            return false;
        } else {
            positionals.push_back(word);
            continue;
        }
        uint16_t key = 0;
        if (!ParseAffiliateKey(keyText, key)) {
            error = "'" + keyText + "' is not an affiliate key (0 to 65535).";
            return false;
        }
        args.keys.push_back(key);
        args.selected = true;
    }
    if (positionals.size() != 1) {
        error = "Expected exactly one project file.";
        return false;
    }
    args.file = positionals[0];
    return true;
}

// Build All, or Build Selected for the keys given; the project file is only
// read.
class CmdBuild : public CliCommand {
public:
    std::string_view Name() const override { return "build"; }
    std::string_view Usage() const override { return "FILE.vkp [--affiliate KEY]... [--quiet]"; }
    std::string_view Summary() const override {
        return "Build the custom setup files of all affiliates, or of the ones given.";
    }

    int Execute(const std::vector<std::string>& words, std::ostream& out,
                std::ostream& err) override {
        BuildArgs args;
        std::string error;
        if (!ParseBuildArgs(words, args, error))
            return ReportUsageError(*this, error, err);
        CAffProject project;
        if (!LoadCliProject(args.file, project, err))
            return kExitFailed;
        // A key that names nobody is a typing mistake here, not a row deleted
        // meanwhile: say so rather than build less than was asked for.
        for (uint16_t key : args.keys)
            if (!RequireAffiliate(project, key, args.file, err))
                return kExitFailed;

        CliBuildLog log(out);
        CAffiliateBuilder builder(CliBuildEnvironment(log, err, args.quiet));
        auto job =
            args.selected ? builder.BuildSelected(project, args.keys) : builder.BuildAll(project);
        return job->Wait() == 0 ? kExitOk : kExitFailed;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdBuild() {
    return std::make_unique<CmdBuild>();
}
