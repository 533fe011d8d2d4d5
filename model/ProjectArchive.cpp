#include "model/ProjectArchive.h"

#include "model/AffProject.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/RegistrationServices.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kProjectVersion = 100;
constexpr uint32_t kResellerVersion = 100;
// Files of version 99 and below do not hold the self-creator path.
constexpr uint32_t kLastVersionWithoutSelfCreator = 99;

constexpr const char* kResellerClass = "CReseller";
constexpr uint16_t kResellerSchema = 100;
constexpr const char* kRegInfoClass = "CProductRegInfo";
constexpr uint16_t kRegInfoSchema = 2;

void StoreReseller(CArchiveWriter& ar, const CReseller& r) {
    ar.WriteU32(kResellerVersion);
    ar.WriteU32(r.m_nId);
    ar.WriteText(r.m_strName);
    ar.WriteText(r.m_strWebSite);
    ar.WriteText(r.m_strPurchaseLink);
    ar.WriteU32(static_cast<uint32_t>(r.m_nService));
    ar.WriteText(r.m_strSetupPath);
    ar.WriteText(r.m_strEmail);
    ar.WriteText(r.m_strAffiliateId);
    ar.WriteU32(static_cast<uint32_t>(r.m_tModified));
}

bool LoadReseller(CArchiveReader& ar, CReseller& r) {
    uint32_t version; // written as 100, not checked
    uint32_t service, modified;
    if (!ar.ReadU32(version) || !ar.ReadU32(r.m_nId) || !ar.ReadText(r.m_strName) ||
        !ar.ReadText(r.m_strWebSite) || !ar.ReadText(r.m_strPurchaseLink) || !ar.ReadU32(service) ||
        !ar.ReadText(r.m_strSetupPath) || !ar.ReadText(r.m_strEmail) ||
        !ar.ReadText(r.m_strAffiliateId) || !ar.ReadU32(modified))
        return false;
    r.m_nService = static_cast<int32_t>(service);
    r.m_tModified = static_cast<int32_t>(modified);
    return true;
}

void StoreRegInfo(CArchiveWriter& ar, const CProductRegInfo& info) {
    ar.WriteText(info.m_strPurchaseLink);
    ar.WriteU16(info.m_wService);
    ar.WriteText(info.m_strProductId);
}

bool LoadRegInfo(CArchiveReader& ar, CProductRegInfo& info) {
    if (!ar.ReadText(info.m_strPurchaseLink) || !ar.ReadU16(info.m_wService) ||
        !ar.ReadText(info.m_strProductId))
        return false;
    info.m_strServiceName = std::string(ServiceNameFromIndex(info.m_wService));
    return true;
}

// The fewest bytes a record takes in the file (key, tag, fixed fields and
// empty texts): a stored count is believed for reserving memory only as far as
// the bytes left could hold that many records.
constexpr size_t kMinResellerBytes = 2 + 2 + 4 + 4 + 6 + 4 + 4;
constexpr size_t kMinRegInfoBytes = 2 + 2 + 1 + 2 + 1;

// Entries of one map as read, in file order.
template <typename T> using LoadedEntries = std::vector<std::pair<uint16_t, std::unique_ptr<T>>>;

// Stores the entries so that the map enumerates them in file order: the map
// puts the entry inserted last first inside a bucket, so they go in from the
// back. A key met again from the back is an earlier entry of the file, which
// the later one replaces. Keeping the file's order makes a load and save give
// back the same bytes and keeps the order of Build All.
template <typename T> void StoreInFileOrder(LoadedEntries<T>& entries, CBucketMap<T>& map) {
    map.Reserve(entries.size());
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (!map.Lookup(it->first))
            map.SetAt(it->first, std::move(it->second));
}

bool LoadResellerMap(CArchiveReader& ar, CAffProject& project) {
    uint32_t count;
    if (!ar.ReadCount(count))
        return false;
    LoadedEntries<CReseller> entries;
    entries.reserve(std::min<size_t>(count, ar.Remaining() / kMinResellerBytes));
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t key, schema;
        if (!ar.ReadU16(key) || !ar.ReadObjectTag(kResellerClass, schema))
            return false;
        // The class is versionable: any stored schema is accepted.
        auto record = std::make_unique<CReseller>();
        if (!LoadReseller(ar, *record))
            return false;
        record->m_bChanged = 1;
        record->m_nImage = 0;
        entries.emplace_back(key, std::move(record));
    }
    StoreInFileOrder(entries, project.m_mapResellers);
    return true;
}

bool LoadRegInfoMap(CArchiveReader& ar, CAffProject& project) {
    uint32_t count;
    if (!ar.ReadCount(count))
        return false;
    LoadedEntries<CProductRegInfo> entries;
    entries.reserve(std::min<size_t>(count, ar.Remaining() / kMinRegInfoBytes));
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t key, schema;
        if (!ar.ReadU16(key) || !ar.ReadObjectTag(kRegInfoClass, schema) ||
            schema != kRegInfoSchema)
            return false;
        auto record = std::make_unique<CProductRegInfo>();
        if (!LoadRegInfo(ar, *record))
            return false;
        entries.emplace_back(key, std::move(record));
    }
    StoreInFileOrder(entries, project.m_mapRegInfo);
    return true;
}

} // namespace

void StoreProject(CArchiveWriter& ar, const CAffProject& p) {
    ar.WriteU32(kProjectVersion);
    ar.WriteU32(p.m_nNextResellerId);
    ar.WriteU32(p.m_dwReserved);
    ar.WriteText(p.m_strTitle);
    ar.WriteText(p.m_strReserved);
    ar.WriteText(p.m_strUuid);
    ar.WriteText(p.m_strWebSite);
    ar.WriteText(p.m_strVersion);
    ar.WriteText(p.m_strSetupFile);
    ar.WriteU16(p.m_wDefaultService);
    ar.WriteText(p.m_strOutputDir);
    ar.WriteText(p.m_strSelfCreatorPath);

    ar.WriteCount(static_cast<uint32_t>(p.m_mapResellers.GetCount()));
    p.m_mapResellers.ForEach([&](uint16_t key, const CReseller& r) {
        ar.WriteU16(key);
        ar.WriteObjectTag(kResellerClass, kResellerSchema);
        StoreReseller(ar, r);
    });
    ar.WriteCount(static_cast<uint32_t>(p.m_mapRegInfo.GetCount()));
    p.m_mapRegInfo.ForEach([&](uint16_t key, const CProductRegInfo& info) {
        ar.WriteU16(key);
        ar.WriteObjectTag(kRegInfoClass, kRegInfoSchema);
        StoreRegInfo(ar, info);
    });
}

bool LoadProject(CArchiveReader& ar, CAffProject& p) {
    uint32_t version;
    if (!ar.ReadU32(version) || !ar.ReadU32(p.m_nNextResellerId) || !ar.ReadU32(p.m_dwReserved) ||
        !ar.ReadText(p.m_strTitle) || !ar.ReadText(p.m_strReserved) || !ar.ReadText(p.m_strUuid) ||
        !ar.ReadText(p.m_strWebSite) || !ar.ReadText(p.m_strVersion) ||
        !ar.ReadText(p.m_strSetupFile) || !ar.ReadU16(p.m_wDefaultService) ||
        !ar.ReadText(p.m_strOutputDir))
        return false;
    if (version > kLastVersionWithoutSelfCreator && !ar.ReadText(p.m_strSelfCreatorPath))
        return false;
    // Anything behind the last record is not read.
    return LoadResellerMap(ar, p) && LoadRegInfoMap(ar, p);
}
