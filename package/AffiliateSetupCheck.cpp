#include "package/AffiliateSetupCheck.h"

#include "model/AffProject.h"
#include "package/FileRangeHash.h"
#include "package/PackageAffiliateInfo.h"
#include "package/SetupStamp.h"
#include "package/SfxPackage.h"
#include "platform/FileSystem.h"
#include "platform/RawFile.h"

#include <optional>
#include <vector>

namespace {

bool ReadAt(platform::RawFile& file, int64_t pos, void* buffer, size_t length) {
    return file.SeekTo(pos) && file.ReadAll(buffer, length);
}

void CheckStale(const CReseller& record, const ProductSetupFacts& setup,
                AffiliateSetupCheck& check) {
    const std::optional<int64_t> built = platform::RegularFileWriteTime(check.path);
    if (!built)
        return;
    if (*built < record.m_tModified)
        check.staleReasons.push_back("the affiliate was changed after the build");
    if (setup.readable && *built < setup.modified)
        check.staleReasons.push_back("the product's setup file is newer than the build");
}

void CheckInfo(const CSfxPackage& package, const CAffProject& project, const CReseller& record,
               AffiliateSetupCheck& check) {
    // A stamp in the signature is what the launcher takes; entry 0 otherwise.
    const SetupStamp stamp = ReadSetupStampOfFile(check.path);
    check.stampState = stamp.state;
    check.stampFault = std::string(stamp.fault);
    std::optional<CAffiliateInfo> info;
    if (stamp.state == SetupStamp::State::Stamped)
        info = stamp.info;
    else if (stamp.state != SetupStamp::State::Malformed)
        info = AffiliateInfoOfPackage(package);
    check.infoReadable = info.has_value();
    const CAffiliateInfo found = info.value_or(CAffiliateInfo{});
    check.fields = {{"uuid", project.m_strUuid, found.m_strKey},
                    {"purchaseLink", record.m_strPurchaseLink, found.m_strLink},
                    {"webSite", record.m_strWebSite, found.m_strWebSite}};
    check.digest = CheckAuthenticodeDigest(check.path);
}

void CheckPayload(const CSfxPackage& package, platform::RawFile& file,
                  const ProductSetupFacts& setup, AffiliateSetupCheck& check) {
    const CSfxEntry payload = package.GetEntry(1);
    check.payloadSize = payload.m_nSize;
    check.payloadSha256 = HashFileRange(file, payload.m_nOffset, payload.m_nSize);
    check.payloadMatches = setup.readable && check.payloadSize == setup.size &&
                           !check.payloadSha256.empty() && check.payloadSha256 == setup.sha256;
}

void ReadPackage(const CAffProject& project, const CReseller& record,
                 const ProductSetupFacts& setup, AffiliateSetupCheck& check) {
    CSfxPackage package;
    const SfxResult result = package.ReadDirectory(check.path);
    check.state = AffiliateSetupCheck::State::Unreadable;
    if (result == SFX_ERR_OPEN) {
        check.problem = "the file cannot be read";
        return;
    }
    if (result != SFX_OK) {
        check.problem = "the file does not end with a valid package trailer";
        return;
    }
    if (package.GetCount() != 2) {
        check.problem = "the package holds " + std::to_string(package.GetCount()) +
                        " entries, an affiliate's setup holds 2";
        return;
    }
    platform::RawFile file = platform::RawFile::OpenRead(check.path);
    if (!file.IsOpen()) {
        check.problem = "the file cannot be read";
        return;
    }
    check.state = AffiliateSetupCheck::State::Read;
    check.launcher = ReadLauncherFacts(
        [&](int64_t pos, void* buffer, size_t length) { return ReadAt(file, pos, buffer, length); },
        package.GetEntry(0).m_nOffset);
    CheckStale(record, setup, check);
    CheckInfo(package, project, record, check);
    CheckPayload(package, file, setup, check);
}

} // namespace

bool AffiliateSetupCheck::AllMatch() const {
    if (state != State::Read || !staleReasons.empty() || launcher.kind == LauncherKind::Unknown ||
        !infoReadable || !payloadMatches || digest.state == DigestCheck::State::Differs)
        return false;
    for (const InfoFieldCheck& f : fields)
        if (!f.Matches())
            return false;
    return true;
}

ProductSetupFacts ReadProductSetupFacts(const CAffProject& project) {
    ProductSetupFacts facts;
    if (project.m_strSetupFile.empty())
        return facts;
    facts.path = project.ResolveProjectPath(project.m_strSetupFile);
    platform::RawFile file = platform::RawFile::OpenRead(facts.path);
    const std::optional<int64_t> modified = platform::RegularFileWriteTime(facts.path);
    if (!file.IsOpen() || !file.IsRegular() || !modified)
        return facts;
    facts.size = file.Size();
    facts.sha256 = HashFileRange(file, 0, facts.size);
    facts.modified = *modified;
    facts.readable = facts.size >= 0 && !facts.sha256.empty();
    return facts;
}

AffiliateSetupCheck CheckAffiliateSetup(const CAffProject& project, uint16_t key,
                                        const ProductSetupFacts& setup) {
    AffiliateSetupCheck check;
    check.key = key;
    const CReseller* record = project.LookupReseller(key);
    if (!record)
        return check;
    check.name = record->m_strName;
    check.path = project.ResolveProjectPath(record->m_strSetupPath);
    if (check.path.empty() || !platform::PathExists(check.path)) {
        check.state = AffiliateSetupCheck::State::Missing;
        return check;
    }
    ReadPackage(project, *record, setup, check);
    return check;
}
