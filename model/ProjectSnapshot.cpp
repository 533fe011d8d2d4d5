#include "model/ProjectSnapshot.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/ProjectArchive.h"

#include <utility>

ProjectFileResult CProjectSnapshot::Decode(std::string bytes) {
    resellers.RemoveAll();
    m_wideTexts.clear();
    product.Clear();
    m_bytes = std::move(bytes);
    if (m_bytes.empty())
        return {};
    CArchiveReader ar(m_bytes);
    if (!LoadProject(ar, product, resellers, m_wideTexts))
        return {ProjectFileResult::Code::BadFormat, kUnexpectedFileFormat};
    if (!ar.SawInvalidUtf8())
        return {};
    // A file whose texts are not all UTF-8 is read again as Windows-1252.
    resellers.RemoveAll();
    m_wideTexts.clear();
    product.Clear();
    CArchiveReader legacy(m_bytes, CArchiveReader::NarrowTexts::Windows1252);
    if (!LoadProject(legacy, product, resellers, m_wideTexts))
        return {ProjectFileResult::Code::BadFormat, kUnexpectedFileFormat};
    ProjectFileResult result;
    result.readAsWindows1252 = true;
    return result;
}

std::string CProjectSnapshot::Encode() const {
    CArchiveWriter sizing = CArchiveWriter::Sizing();
    StoreProject(sizing, product, resellers);
    CArchiveWriter ar;
    ar.Reserve(sizing.Size());
    StoreProject(ar, product, resellers);
    return ar.TakeBytes();
}
