#include "cli/CliArgs.h"
#include "cli/CliBuildLog.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"
#include "cli/JsonText.h"
#include "cli/TerminalText.h"

#include "model/AffProject.h"
#include "package/AffiliateSetupCheck.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

namespace {

const char* StateName(AffiliateSetupCheck::State state) {
    switch (state) {
    case AffiliateSetupCheck::State::Missing:
        return "missing";
    case AffiliateSetupCheck::State::Unreadable:
        return "unreadable";
    case AffiliateSetupCheck::State::Read:
        break;
    }
    return "present";
}

void CheckText(const AffiliateSetupCheck& c, const ProductSetupFacts& setup, std::ostream& out) {
    out << "[" << c.key << "] " << TerminalSafe(c.name) << ": "
        << (c.AllMatch() ? "OK" : "MISMATCH") << "\n"
        << "  Setup file:    " << TerminalSafe(c.path) << "\n";
    if (c.state != AffiliateSetupCheck::State::Read) {
        out << "  State:         " << StateName(c.state)
            << (c.problem.empty() ? "" : " (" + c.problem + ")") << "\n";
        return;
    }
    out << "  Up to date:    "
        << (c.staleReasons.empty() ? "yes" : "no, stale: " + c.staleReasons.front());
    for (size_t i = 1; i < c.staleReasons.size(); ++i)
        out << "; " << c.staleReasons[i];
    out << "\n  Launcher:      " << LauncherKindName(c.launcher.kind) << ", "
        << (c.launcher.signedImage ? "signed" : "not signed") << "\n";
    out << "  Stamp:         " << SetupStampStateName(c.stampState)
        << (c.stampFault.empty() ? "" : " (" + c.stampFault + ")") << "\n";
    if (c.digest.state != DigestCheck::State::NotSigned)
        out << "  Signed digest: " << DigestCheckStateName(c.digest.state)
            << " (file integrity only; the certificates are not checked)\n";
    if (!c.infoReadable)
        out << (c.stampState == SetupStamp::State::Malformed
                    ? "  Information:   the stamp is malformed\n"
                    : "  Information:   entry 0 is not an affiliate information file\n");
    for (const InfoFieldCheck& f : c.fields)
        if (c.infoReadable && !f.Matches())
            out << "  " << f.field << " differs: package '" << TerminalSafe(f.found)
                << "', record '" << TerminalSafe(f.expected) << "'\n";
    if (c.infoReadable && std::all_of(c.fields.begin(), c.fields.end(),
                                      [](const InfoFieldCheck& f) { return f.Matches(); }))
        out << "  Information:   matches the record\n";
    out << "  Payload:       " << c.payloadSize << " bytes, SHA-256 " << c.payloadSha256
        << (c.payloadMatches
                ? " (matches the product's setup file)"
                : " (differs from the product's setup file, " + std::to_string(setup.size) +
                      " bytes, SHA-256 " + setup.sha256 + ")")
        << "\n";
}

void CheckJson(const AffiliateSetupCheck& c, std::ostream& out) {
    out << "    {\"key\": " << c.key << ", \"name\": " << JsonQuote(c.name)
        << ", \"path\": " << JsonQuote(c.path) << ", \"state\": \"" << StateName(c.state)
        << "\", \"problem\": " << JsonQuote(c.problem)
        << ", \"matches\": " << (c.AllMatch() ? "true" : "false") << ",\n     \"stale\": [";
    for (size_t i = 0; i < c.staleReasons.size(); ++i)
        out << (i ? ", " : "") << JsonQuote(c.staleReasons[i]);
    out << "], \"launcher\": \"" << LauncherKindName(c.launcher.kind)
        << "\", \"signed\": " << (c.launcher.signedImage ? "true" : "false")
        << ", \"stamp\": " << JsonQuote(std::string(SetupStampStateName(c.stampState)))
        << ", \"digest\": " << JsonQuote(std::string(DigestCheckStateName(c.digest.state)))
        << ", \"infoReadable\": " << (c.infoReadable ? "true" : "false") << ",\n     \"fields\": {";
    for (size_t i = 0; i < c.fields.size(); ++i)
        out << (i ? ", " : "") << JsonQuote(c.fields[i].field)
            << ": {\"expected\": " << JsonQuote(c.fields[i].expected)
            << ", \"found\": " << JsonQuote(c.fields[i].found)
            << ", \"matches\": " << (c.fields[i].Matches() ? "true" : "false") << "}";
    out << "},\n     \"payload\": {\"size\": " << c.payloadSize
        << ", \"sha256\": " << JsonQuote(c.payloadSha256)
        << ", \"matches\": " << (c.payloadMatches ? "true" : "false") << "}}";
}

// Reads every affiliate's custom setup without running it and compares it
// with the record and the product's setup file.
class CmdVerify : public CliCommand {
public:
    std::string_view Name() const override { return "verify"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"},
                {AffiliateKeyOption("Check only this affiliate (see 'show'); repeatable."),
                 {"json", false, {}, "Print the report as JSON."}}};
    }
    std::string_view Summary() const override {
        return "Check that built custom setups match their affiliates and the product's setup.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        std::optional<std::vector<uint16_t>> given = ReadAffiliateKeyOptions(*this, args, err);
        if (!given)
            return kExitUsage;
        std::vector<uint16_t> keys = std::move(*given);
        const std::string& path = args.Positionals()[0];
        CAffProject project;
        if (!LoadCliProjectWithAffiliates(path, keys, project, err))
            return kExitFailed;
        if (keys.empty()) {
            keys = project.m_mapResellers.Keys();
            std::sort(keys.begin(), keys.end());
        }
        const ProductSetupFacts setup = ReadProductSetupFacts(project);
        if (!setup.readable)
            err << "Cannot read the product's setup file '" << setup.path << "'.\n";
        return Report(project, keys, setup, args.Has("json"), out) ? kExitOk : kExitFailed;
    }

private:
    static bool Report(const CAffProject& project, const std::vector<uint16_t>& keys,
                       const ProductSetupFacts& setup, bool json, std::ostream& out) {
        bool all = setup.readable;
        if (json)
            out << "{\n  \"setupFile\": {\"path\": " << JsonQuote(setup.path)
                << ", \"readable\": " << (setup.readable ? "true" : "false")
                << ", \"size\": " << setup.size << ", \"sha256\": " << JsonQuote(setup.sha256)
                << "},\n  \"affiliates\": [";
        for (size_t i = 0; i < keys.size(); ++i) {
            const AffiliateSetupCheck check = CheckAffiliateSetup(project, keys[i], setup);
            all = all && check.AllMatch();
            if (json) {
                out << (i ? ",\n" : "\n");
                CheckJson(check, out);
            } else {
                CheckText(check, setup, out);
            }
        }
        if (json)
            out << (keys.empty() ? "" : "\n  ")
                << "],\n  \"allMatch\": " << (all ? "true" : "false") << "\n}\n";
        else
            out << (all ? "All custom setups match.\n" : "Some custom setups do not match.\n");
        return all;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdVerify() {
    return std::make_unique<CmdVerify>();
}
