#include "model/ProjectArchive.h"

#include "model/AffProject.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/RegistrationServices.h"

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr uint32_t kProjectVersion = 100;
constexpr uint32_t kResellerVersion = 100;
// Files of version 99 and below do not hold the self-creator path.
constexpr uint32_t kLastVersionWithoutSelfCreator = 99;

constexpr const char* kResellerClass = "CReseller";
constexpr uint16_t kResellerSchema = 100;
constexpr const char* kRegInfoClass = "CProductRegInfo";
constexpr uint16_t kRegInfoSchema = 2;

// Affiliates are written and read the same way whether they own their texts
// (CReseller) or point into the file's bytes (CResellerView).
template <typename Record> void StoreReseller(CArchiveWriter& ar, const Record& r) {
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

// Reads texts into strings of their own.
struct OwnTexts {
    bool operator()(CArchiveReader& ar, std::string& text) const { return ar.ReadText(text); }
};

// Reads texts as views of the file's bytes; wide ones are kept converted.
struct ViewTexts {
    std::deque<std::string>& wideTexts;
    bool operator()(CArchiveReader& ar, std::string_view& text) const {
        return ar.ReadText(text, wideTexts);
    }
};

template <typename Record, typename ReadTexts>
bool LoadReseller(CArchiveReader& ar, Record& r, const ReadTexts& text) {
    uint32_t version; // written as 100, not checked
    uint32_t service, modified;
    if (!ar.ReadU32(version) || !ar.ReadU32(r.m_nId) || !text(ar, r.m_strName) ||
        !text(ar, r.m_strWebSite) || !text(ar, r.m_strPurchaseLink) || !ar.ReadU32(service) ||
        !text(ar, r.m_strSetupPath) || !text(ar, r.m_strEmail) || !text(ar, r.m_strAffiliateId) ||
        !ar.ReadU32(modified))
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

// Entries go in in file order, each last in its bucket, so the map enumerates
// them in file order. A key met again replaces the earlier entry and takes the
// later one's place. Keeping the file's order makes a load and save give back
// the same bytes and keeps the order of Build All.
template <typename Record, typename ReadTexts>
bool LoadResellerMap(CArchiveReader& ar, CBucketMap<Record>& map, const ReadTexts& texts) {
    uint32_t count;
    if (!ar.ReadCount(count))
        return false;
    map.Reserve(std::min<size_t>(count, ar.Remaining() / kMinResellerBytes));
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t key, schema;
        if (!ar.ReadU16(key) || !ar.ReadObjectTag(kResellerClass, schema))
            return false;
        // The class is versionable: any stored schema is accepted.
        Record record;
        if (!LoadReseller(ar, record, texts))
            return false;
        map.SetLast(key, std::move(record));
    }
    return true;
}

bool LoadRegInfoMap(CArchiveReader& ar, CAffProject& project) {
    uint32_t count;
    if (!ar.ReadCount(count))
        return false;
    project.m_mapRegInfo.Reserve(std::min<size_t>(count, ar.Remaining() / kMinRegInfoBytes));
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t key, schema;
        if (!ar.ReadU16(key) || !ar.ReadObjectTag(kRegInfoClass, schema) ||
            schema != kRegInfoSchema)
            return false;
        CProductRegInfo record;
        if (!LoadRegInfo(ar, record))
            return false;
        project.m_mapRegInfo.SetLast(key, std::move(record));
    }
    return true;
}

template <typename ResellerMap>
void StoreProjectWith(CArchiveWriter& ar, const CAffProject& p, const ResellerMap& resellers) {
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

    ar.WriteCount(static_cast<uint32_t>(resellers.GetCount()));
    resellers.ForEach([&](uint16_t key, const auto& r) {
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

// The product's fields, up to its affiliates.
bool LoadProduct(CArchiveReader& ar, CAffProject& p) {
    uint32_t version;
    if (!ar.ReadU32(version) || !ar.ReadU32(p.m_nNextResellerId) || !ar.ReadU32(p.m_dwReserved) ||
        !ar.ReadText(p.m_strTitle) || !ar.ReadText(p.m_strReserved) || !ar.ReadText(p.m_strUuid) ||
        !ar.ReadText(p.m_strWebSite) || !ar.ReadText(p.m_strVersion) ||
        !ar.ReadText(p.m_strSetupFile) || !ar.ReadU16(p.m_wDefaultService) ||
        !ar.ReadText(p.m_strOutputDir))
        return false;
    return version <= kLastVersionWithoutSelfCreator || ar.ReadText(p.m_strSelfCreatorPath);
}

} // namespace

void StoreProject(CArchiveWriter& ar, const CAffProject& project) {
    StoreProjectWith(ar, project, project.m_mapResellers);
}

void StoreProject(CArchiveWriter& ar, const CAffProject& product,
                  const CBucketMap<CResellerView>& resellers) {
    StoreProjectWith(ar, product, resellers);
}

bool LoadProject(CArchiveReader& ar, CAffProject& p) {
    // Anything behind the last record is not read.
    return LoadProduct(ar, p) && LoadResellerMap(ar, p.m_mapResellers, OwnTexts{}) &&
           LoadRegInfoMap(ar, p);
}

bool LoadProject(CArchiveReader& ar, CAffProject& product, CBucketMap<CResellerView>& resellers,
                 std::deque<std::string>& wideTexts) {
    return LoadProduct(ar, product) && LoadResellerMap(ar, resellers, ViewTexts{wideTexts}) &&
           LoadRegInfoMap(ar, product);
}
