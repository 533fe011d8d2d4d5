#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliProject.h"
#include "cli/CommandArgs.h"
#include "cli/JsonText.h"
#include "cli/TerminalText.h"
#include "model/ModifiedTimeText.h"

#include "model/AffProject.h"
#include "model/ProjectSnapshot.h"
#include "model/RegistrationServices.h"

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace {

std::string_view TimeText(ModifiedTimeText& times, std::string& text, int32_t seconds) {
    text.clear();
    times.Append(text, seconds);
    return text;
}

void ShowText(const std::string& path, const CProjectSnapshot& snapshot, std::ostream& out) {
    const CAffProject& project = snapshot.product;
    out << "Project:           " << TerminalSafe(path) << "\n"
        << "Title:             " << TerminalSafe(project.m_strTitle) << "\n"
        << "Version:           " << TerminalSafe(project.m_strVersion) << "\n"
        << "Web site:          " << TerminalSafe(project.m_strWebSite) << "\n"
        << "Setup file:        " << TerminalSafe(project.m_strSetupFile) << "\n"
        << "Output directory:  " << TerminalSafe(project.m_strOutputDir) << "\n"
        << "Self creator path: " << TerminalSafe(project.m_strSelfCreatorPath) << "\n"
        << "Program UUID:      " << TerminalSafe(project.m_strUuid) << "\n"
        << "Default service:   " << ServiceLabel(project.m_wDefaultService) << "\n"
        << "Next key:          " << project.m_nNextResellerId << "\n";

    out << "\nRegistration info (" << project.m_mapRegInfo.GetCount() << "):\n";
    project.m_mapRegInfo.ForEach([&](uint16_t, const CProductRegInfo& info) {
        out << "  " << ServiceLabel(info.m_wService) << "\n"
            << "    Product ID:    " << TerminalSafe(info.m_strProductId) << "\n"
            << "    Purchase link: " << TerminalSafe(info.m_strPurchaseLink) << "\n";
    });

    out << "\nAffiliates (" << snapshot.resellers.GetCount() << "):\n";
    // Rows are gathered into blocks of some 64 KiB, each handed to the stream
    // in one call: at 65,535 affiliates the stream's cost per call outweighs
    // the formatting.
    constexpr size_t kBlockBytes = size_t(64) * 1024;
    std::string block;
    block.reserve(kBlockBytes + 4096);
    const auto flush = [&] {
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        block.clear();
    };
    ModifiedTimeText times;
    const auto line = [&block](std::string_view label, std::string_view text) {
        block += label;
        AppendTerminalSafe(block, text);
        block += '\n';
    };
    snapshot.resellers.ForEach([&](uint16_t key, const CResellerView& affiliate) {
        block += "  [";
        block += std::to_string(key);
        block += "] ";
        AppendTerminalSafe(block, affiliate.m_strName);
        block += '\n';
        line("    Affiliate ID:  ", affiliate.m_strAffiliateId);
        block += "    Service:       ";
        block += ServiceLabel(affiliate.m_nService);
        block += '\n';
        line("    Web site:      ", affiliate.m_strWebSite);
        line("    E-mail:        ", affiliate.m_strEmail);
        line("    Purchase link: ", affiliate.m_strPurchaseLink);
        line("    Setup path:    ", affiliate.m_strSetupPath);
        block += "    Modified:      ";
        times.Append(block, affiliate.m_tModified);
        block += '\n';
        if (block.size() >= kBlockBytes)
            flush();
    });
    flush();
}

void ShowJson(const std::string& path, const CProjectSnapshot& snapshot, std::ostream& out) {
    const CAffProject& project = snapshot.product;
    out << "{\n  \"file\": " << JsonQuote(path) << ",\n  \"product\": {\n"
        << "    \"title\": " << JsonQuote(project.m_strTitle) << ",\n"
        << "    \"version\": " << JsonQuote(project.m_strVersion) << ",\n"
        << "    \"webSite\": " << JsonQuote(project.m_strWebSite) << ",\n"
        << "    \"setupFile\": " << JsonQuote(project.m_strSetupFile) << ",\n"
        << "    \"outputDir\": " << JsonQuote(project.m_strOutputDir) << ",\n"
        << "    \"selfCreatorPath\": " << JsonQuote(project.m_strSelfCreatorPath) << ",\n"
        << "    \"uuid\": " << JsonQuote(project.m_strUuid) << ",\n"
        << "    \"defaultService\": " << project.m_wDefaultService << ",\n"
        << "    \"defaultServiceName\": " << JsonQuote(ServiceLabel(project.m_wDefaultService))
        << ",\n"
        << "    \"nextKey\": " << project.m_nNextResellerId << "\n  },\n";

    out << "  \"registrationInfo\": [";
    const char* separator = "\n";
    project.m_mapRegInfo.ForEach([&](uint16_t, const CProductRegInfo& info) {
        out << separator << "    {\"service\": " << info.m_wService
            << ", \"serviceName\": " << JsonQuote(ServiceLabel(info.m_wService))
            << ", \"productId\": " << JsonQuote(info.m_strProductId)
            << ", \"purchaseLink\": " << JsonQuote(info.m_strPurchaseLink) << "}";
        separator = ",\n";
    });
    out << (project.m_mapRegInfo.IsEmpty() ? "" : "\n  ") << "],\n";

    out << "  \"affiliates\": [";
    ModifiedTimeText times;
    std::string modified;
    separator = "\n";
    snapshot.resellers.ForEach([&](uint16_t key, const CResellerView& affiliate) {
        out << separator << "    {\"key\": " << key
            << ", \"name\": " << JsonQuote(affiliate.m_strName)
            << ", \"affiliateId\": " << JsonQuote(affiliate.m_strAffiliateId)
            << ", \"service\": " << affiliate.m_nService
            << ", \"serviceName\": " << JsonQuote(ServiceLabel(affiliate.m_nService))
            << ", \"webSite\": " << JsonQuote(affiliate.m_strWebSite)
            << ", \"email\": " << JsonQuote(affiliate.m_strEmail)
            << ", \"purchaseLink\": " << JsonQuote(affiliate.m_strPurchaseLink)
            << ", \"setupPath\": " << JsonQuote(affiliate.m_strSetupPath)
            << ", \"modified\": " << JsonQuote(TimeText(times, modified, affiliate.m_tModified))
            << ", \"modifiedTime\": " << affiliate.m_tModified << "}";
        separator = ",\n";
    });
    out << (snapshot.resellers.IsEmpty() ? "" : "\n  ") << "]\n}\n";
}

// Prints the product, its registration records and its affiliates in the
// projects' own enumeration order (the order of the file and of Build All).
class CmdShow : public CliCommand {
public:
    std::string_view Name() const override { return "show"; }
    CliSyntax Syntax() const override {
        return {{"FILE.vkp"}, {{"json", false, {}, "Print JSON instead of text."}}};
    }
    std::string_view Summary() const override {
        return "Print the product, its registration services and its affiliates.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        const std::string& path = args.Positionals()[0];
        // Only looked at: the affiliates' texts stay in the file's bytes.
        CProjectSnapshot snapshot;
        if (!LoadCliSnapshot(path, snapshot, err))
            return kExitFailed;
        if (args.Has("json"))
            ShowJson(path, snapshot, out);
        else
            ShowText(path, snapshot, out);
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdShow() {
    return std::make_unique<CmdShow>();
}
