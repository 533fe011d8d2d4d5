#include "model/AffProject.h"

#include "model/ProjectPaths.h"
#include "platform/HostPath.h"

#include <initializer_list>

CAffProject::AddResult CAffProject::AddReseller(const CReseller& source, uint16_t* newKey) {
    // Keys wrap after 65,536 affiliates; search forward for a free one so that
    // an existing affiliate is never overwritten.
    uint32_t id = m_nNextResellerId;
    for (uint32_t tries = 0; m_mapResellers.Lookup(static_cast<uint16_t>(id & 0xFFFF)); ++tries) {
        if (tries >= 0xFFFF)
            return AddResult::KeySpaceFull;
        ++id;
    }
    auto record = std::make_unique<CReseller>(source);
    record->m_nId = id;
    const uint16_t key = record->Key();
    m_mapResellers.SetAt(key, std::move(record));
    m_nNextResellerId = id + 1;
    if (newKey)
        *newKey = key;
    return AddResult::Added;
}

void CAffProject::RemoveReseller(uint16_t key) {
    m_mapResellers.RemoveKey(key);
}

void CAffProject::Clear() {
    m_mapResellers.RemoveAll();
    m_mapRegInfo.RemoveAll();
    m_dwReserved = 0;
    m_nNextResellerId = 0;
    m_wDefaultService = 0;
    m_strOutputDir.clear();
    m_strSelfCreatorPath.clear();
    m_strTitle.clear();
    m_strReserved.clear();
    m_strUuid.clear();
    m_strWebSite.clear();
    m_strVersion.clear();
    m_strSetupFile.clear();
}

void CAffProject::SetProjectPath(const std::string& path) {
    m_strProjectPath = path;
    if (path.empty()) {
        m_strBaseDirectory.clear();
        return;
    }
    // A relative path is taken against the current directory once, here, so
    // that the base directory stays valid whatever the process does later.
    const platform::PathStyle style = platform::HostPathStyle();
    const std::string full = projectpaths::FoldPath(platform::CurrentDirectory(), path, style);
    m_strBaseDirectory = projectpaths::FolderOf(full, style);
}

std::string CAffProject::ResolveProjectPath(const std::string& path) const {
    return projectpaths::ResolvePath(m_strBaseDirectory, path, platform::HostPathStyle());
}

std::string CAffProject::MakeProjectRelative(const std::string& path) const {
    return projectpaths::MakeRelativePath(m_strBaseDirectory, path, platform::HostPathStyle());
}

std::string CAffProject::StoredPath(const std::string& path) const {
    const std::string relative = MakeProjectRelative(path);
    return relative.empty() ? path : relative;
}

void CAffProject::StorePathsRelative() {
    for (std::string* path : {&m_strSetupFile, &m_strOutputDir, &m_strSelfCreatorPath})
        *path = StoredPath(*path);
    for (const uint16_t key : m_mapResellers.Keys()) {
        CReseller* affiliate = m_mapResellers.Lookup(key);
        affiliate->m_strSetupPath = StoredPath(affiliate->m_strSetupPath);
    }
}
