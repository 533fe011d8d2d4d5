#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/CliError.h"
#include "cli/CommandArgs.h"
#include "cli/JsonText.h"
#include "cli/TerminalText.h"

#include "package/AffiliateInfoFile.h"
#include "package/AuthenticodeDigest.h"
#include "package/LauncherChoice.h"
#include "package/PackageAffiliateInfo.h"
#include "package/PackageProductInfo.h"
#include "package/SetupStamp.h"
#include "package/SfxPackage.h"

#include <memory>
#include <optional>
#include <ostream>

namespace {

// What a package holds in entry 0: an affiliate's custom setup carries the
// affiliate information, a self creator the product information.
struct PackageFacts {
    std::optional<CAffiliateInfo> affiliate;
    std::optional<CProductInfo> product;
    SetupStamp stamp; // in the signature, which may replace entry 0's information
    DigestCheck digest;
};

void StampText(const PackageFacts& facts, std::ostream& out) {
    if (facts.stamp.state == SetupStamp::State::NotSigned)
        return;
    out << "\nSignature:\n"
        << "  Stamp:         " << SetupStampStateName(facts.stamp.state)
        << (facts.stamp.fault.empty() ? "" : " (" + std::string(facts.stamp.fault) + ")") << "\n"
        << "  Signed digest: " << DigestCheckStateName(facts.digest.state)
        << " (file integrity only; the certificates are not checked)\n";
    if (facts.stamp.state != SetupStamp::State::Stamped)
        return;
    const CAffiliateInfo& s = facts.stamp.info;
    out << "\nAffiliate information (stamp, used instead of entry 0):\n"
        << "  Program UUID:  " << TerminalSafe(s.m_strKey) << "\n"
        << "  Purchase link: " << TerminalSafe(s.m_strLink) << "\n"
        << "  Web site:      " << TerminalSafe(s.m_strWebSite) << "\n";
}

void StampJson(const PackageFacts& facts, std::ostream& out) {
    const SetupStamp& stamp = facts.stamp;
    out << "  \"stamp\": {\"state\": " << JsonQuote(SetupStampStateName(stamp.state))
        << ", \"fault\": " << JsonQuote(stamp.fault) << ", \"affiliate\": ";
    if (stamp.state == SetupStamp::State::Stamped)
        out << "{\"uuid\": " << JsonQuote(stamp.info.m_strKey)
            << ", \"purchaseLink\": " << JsonQuote(stamp.info.m_strLink)
            << ", \"webSite\": " << JsonQuote(stamp.info.m_strWebSite) << "}";
    else
        out << "null";
    out << "},\n  \"digest\": " << JsonQuote(DigestCheckStateName(facts.digest.state)) << ",\n";
}

void InspectText(const std::string& path, const CSfxPackage& package, const PackageFacts& facts,
                 std::ostream& out) {
    const std::optional<CAffiliateInfo>& info = facts.affiliate;
    // The front of a self creator is the self creator's program for the
    // affiliates' system, not a launcher.
    const char* front = facts.product && !info ? "Self creator: " : "Launcher:   ";
    out << "Package:    " << TerminalSafe(path) << "\n"
        << "Image size: " << package.GetEntry(0).m_nOffset << "\n"
        << front << LauncherDescription(ProgramKindOfFile(path)) << "\n"
        << "\nEntries (" << package.GetCount() << "):\n";
    for (int i = 0; i < package.GetCount(); ++i) {
        const CSfxEntry e = package.GetEntry(i);
        out << "  [" << i << "] " << TerminalSafe(e.m_strName) << "\n"
            << "    Offset:        " << e.m_nOffset << "\n"
            << "    Size:          " << e.m_nSize << "\n";
    }
    if (info) {
        out << "\nAffiliate information (entry 0):\n"
            << "  Program UUID:  " << TerminalSafe(info->m_strKey) << "\n"
            << "  Purchase link: " << TerminalSafe(info->m_strLink) << "\n"
            << "  Web site:      " << TerminalSafe(info->m_strWebSite) << "\n";
    } else if (facts.product) {
        out << "\nProduct information (entry 0):\n"
            << "  Program UUID:  " << TerminalSafe(facts.product->strUuid) << "\n"
            << "  Services:      " << TerminalSafe(facts.product->strRegistrationList) << "\n";
    }
    StampText(facts, out);
}

void InspectJson(const std::string& path, const CSfxPackage& package, const PackageFacts& facts,
                 std::ostream& out) {
    const std::optional<CAffiliateInfo>& info = facts.affiliate;
    out << "{\n  \"file\": " << JsonQuote(path) << ",\n"
        << "  \"imageSize\": " << package.GetEntry(0).m_nOffset << ",\n"
        << "  \"launcher\": " << JsonQuote(LauncherDescription(ProgramKindOfFile(path))) << ",\n"
        << "  \"selfCreator\": " << (facts.product && !info ? "true" : "false") << ",\n"
        << "  \"entries\": [";
    for (int i = 0; i < package.GetCount(); ++i) {
        const CSfxEntry e = package.GetEntry(i);
        out << (i ? ",\n" : "\n") << "    {\"index\": " << i
            << ", \"name\": " << JsonQuote(e.m_strName) << ", \"offset\": " << e.m_nOffset
            << ", \"size\": " << e.m_nSize << "}";
    }
    out << "\n  ],\n";
    StampJson(facts, out);
    out << "  \"affiliate\": ";
    if (info) {
        out << "{\"uuid\": " << JsonQuote(info->m_strKey)
            << ", \"purchaseLink\": " << JsonQuote(info->m_strLink)
            << ", \"webSite\": " << JsonQuote(info->m_strWebSite) << "}\n}\n";
    } else {
        out << "null\n}\n";
    }
}

void ReportUnreadable(SfxResult result, const TrailerStatus& status, const std::string& path,
                      const platform::FileStatus& openStatus, std::ostream& err) {
    switch (result) {
    case SFX_ERR_OPEN:
        ReportFileError(err, path, "cannot read", openStatus);
        break;
    case SFX_ERR_EMPTY:
        err << "'" << path << "' is a package without entries.\n";
        break;
    default:
        err << "'" << path << "' is not a package: " << DescribeTrailerStatus(status) << ".\n";
        break;
    }
}

// Lists the entries of a package file and, for an affiliate's custom setup,
// the program UUID, purchase link and web site that its launcher would store.
class CmdInspect : public CliCommand {
public:
    std::string_view Name() const override { return "inspect"; }
    CliSyntax Syntax() const override {
        return {{"PACKAGE"}, {{"json", false, {}, "Print JSON instead of text."}}};
    }
    std::string_view Summary() const override {
        return "List the entries of a package and the affiliate information it carries.";
    }

protected:
    int Run(const CliArgs& args, std::ostream& out, std::ostream& err) override {
        const std::string& path = args.Positionals()[0];
        CSfxPackage package;
        const SfxResult result = package.ReadDirectory(path);
        // Taken at once: the system's reason when the file could not be opened.
        const platform::FileStatus openStatus = platform::LastFileStatus();
        if (result != SFX_OK) {
            ReportUnreadable(result, package.DirectoryStatus(), path, openStatus, err);
            return kExitFailed;
        }
        PackageFacts facts;
        facts.affiliate = AffiliateInfoOfPackage(package);
        if (!facts.affiliate)
            facts.product = ProductInfoOfPackage(package);
        facts.stamp = ReadSetupStampOfFile(path);
        facts.digest = CheckAuthenticodeDigest(path);
        if (args.Has("json"))
            InspectJson(path, package, facts, out);
        else
            InspectText(path, package, facts, out);
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CliCommand> MakeCmdInspect() {
    return std::make_unique<CmdInspect>();
}
