#pragma once

#include "model/BucketMap.h"
#include "model/ProductRegInfo.h"
#include "model/Reseller.h"

#include <cstdint>
#include <string>

// The product of a project and everything it owns: its affiliates and its
// registration-info records. Copyable (deep) so that a build can work on a
// snapshot while the user keeps editing.
class CAffProject {
public:
    // Result of AddReseller.
    enum class AddResult { Added, KeySpaceFull };

    uint16_t m_wDefaultService = 0;
    std::string m_strOutputDir;
    std::string m_strSelfCreatorPath;
    uint32_t m_dwReserved = 0;
    uint32_t m_nNextResellerId = 0;
    std::string m_strTitle;
    std::string m_strReserved;
    std::string m_strUuid;
    std::string m_strWebSite;
    std::string m_strVersion;
    std::string m_strSetupFile;
    CBucketMap<CReseller> m_mapResellers;
    CBucketMap<CProductRegInfo> m_mapRegInfo;
    std::string m_strProjectPath; // full path of the project file; not stored

private:
    std::string m_strBaseDirectory; // set by SetProjectPath; not stored

public:
    // Copies every field of source except m_nId into a new affiliate whose key is
    // m_nNextResellerId. When that key is already taken (the 16-bit key space
    // wrapped), the next free key is used; when all 65,536 keys are taken,
    // nothing is added and KeySpaceFull is returned. Existing affiliates are
    // never overwritten. newKey receives the key of the added affiliate.
    AddResult AddReseller(const CReseller& source, uint16_t* newKey = nullptr);

    // Deletes the affiliate under key; does nothing when there is none.
    void RemoveReseller(uint16_t key);

    // Empties the project; m_strProjectPath stays.
    void Clear();

    // Stores path and makes its folder the base directory for project-relative
    // paths. The process's current directory is not changed.
    void SetProjectPath(const std::string& path);

    // The folder of m_strProjectPath, without trailing separators.
    const std::string& BaseDirectory() const { return m_strBaseDirectory; }
    // path made absolute against the base directory (empty path: the base
    // directory itself). Accepts "\\" as separator in stored relative paths.
    // Empty when the result would be longer than 260 characters.
    std::string ResolveProjectPath(const std::string& path) const;
    // path relative to the base directory where it lies below it; the path
    // unchanged otherwise; empty when path is too long to handle.
    std::string MakeProjectRelative(const std::string& path) const;
    // path as a project stores it: relative where it lies below the base
    // directory, so that a copied or moved project still names its own
    // files; as given otherwise (also when it is too long to handle).
    std::string StoredPath(const std::string& path) const;
    // Stores the product's paths and every affiliate's setup path as
    // StoredPath gives them; for a project that gets its first file.
    void StorePathsRelative();

    CReseller* LookupReseller(uint16_t key) const { return m_mapResellers.Lookup(key); }
    CProductRegInfo* LookupRegInfo(uint16_t service) const { return m_mapRegInfo.Lookup(service); }
};
