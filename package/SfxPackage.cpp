#include "package/SfxPackage.h"

#include "model/ProjectPaths.h"
#include "package/PackageTrailer.h"
#include "package/SignatureTable.h"
#include "platform/EmbeddedImage.h"
#include "platform/ExecutablePath.h"
#include "platform/FileCopy.h"
#include "platform/FileReplace.h"
#include "platform/FileSystem.h"
#include "platform/ProcessStart.h"
#include "platform/RawFile.h"
#include "platform/WriteTarget.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <system_error>

namespace {

constexpr int64_t kMaxPackageLength = std::numeric_limits<int32_t>::max();

// The part of path after its last separator. In the narrow character sets in
// use no trail byte of a multi-byte character equals '/' or '\\', so a byte
// search is safe.
std::string EntryNameOf(const std::string& path) {
    return std::string(projectpaths::FileNameOf(path));
}

bool ReadExactAt(platform::RawFile& file, int64_t position, void* buffer, size_t length) {
    if (!file.SeekTo(position))
        return false;
    auto* p = static_cast<char*>(buffer);
    while (length > 0) {
        long n = file.Read(p, length);
        if (n <= 0)
            return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

void RemoveQuietly(const std::string& path) {
    platform::RemoveFile(path);
}

} // namespace

bool CSfxPackage::AddFile(const std::string& path) {
    if (m_nCount >= kSfxMaxEntries || !IsValidSfxEntryName(EntryNameOf(path)))
        return false;
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen() || !file.IsRegular())
        return false;
    return AddFileOfSize(path, file.Size());
}

bool CSfxPackage::AddFileOfSize(const std::string& path, int64_t size) {
    std::string name = EntryNameOf(path);
    if (m_nCount >= kSfxMaxEntries || !IsValidSfxEntryName(name) || size < 0 ||
        size > kMaxPackageLength)
        return false;
    CSfxEntry& e = m_entries[static_cast<size_t>(m_nCount)];
    e = CSfxEntry{};
    e.m_strName = std::move(name);
    e.m_strSourcePath = path;
    e.m_nSize = static_cast<int32_t>(size);
    ++m_nCount;
    return true;
}

bool CSfxPackage::AddBytes(const std::string& name, std::string bytes) {
    if (m_nCount >= kSfxMaxEntries || !IsValidSfxEntryName(name) ||
        static_cast<int64_t>(bytes.size()) > kMaxPackageLength)
        return false;
    CSfxEntry& e = m_entries[static_cast<size_t>(m_nCount)];
    e = CSfxEntry{};
    e.m_strName = name;
    e.m_nSize = static_cast<int32_t>(bytes.size());
    e.m_strBytes = std::move(bytes);
    e.m_bFromMemory = true;
    ++m_nCount;
    return true;
}

SfxResult CSfxPackage::Build(int templateId, const std::string& outputPath) {
    if (m_nCount < 1)
        return SFX_ERR_EMPTY;
    platform::EmbeddedImage image = platform::FindEmbeddedImage("SFX_EXE", templateId);
    if (!image)
        return SFX_ERR_TEMPLATE;
    return BuildWithImage(image.data, image.size, outputPath);
}

SfxResult CSfxPackage::BuildWithImage(const void* image, size_t imageSize,
                                      const std::string& outputPath) {
    return BuildWithImage(
        std::make_shared<const std::string>(static_cast<const char*>(image), imageSize),
        outputPath);
}

SfxResult CSfxPackage::BuildWithImage(std::shared_ptr<const std::string> image,
                                      const std::string& outputPath) {
    if (m_nCount < 1)
        return SFX_ERR_EMPTY;
    if (!image)
        return SFX_ERR_TEMPLATE;

    CPackageTrailer trailer;
    trailer.m_entries.assign(m_entries.begin(), m_entries.begin() + m_nCount);
    int64_t total =
        static_cast<int64_t>(image->size()) + static_cast<int64_t>(trailer.EncodedLength());
    for (int i = 0; i < m_nCount; ++i) {
        total += m_entries[static_cast<size_t>(i)].m_nSize;
        // Truncating a source that is also the output would destroy it.
        if (!m_entries[static_cast<size_t>(i)].m_bFromMemory &&
            platform::SameFile(outputPath, m_entries[static_cast<size_t>(i)].m_strSourcePath))
            return SFX_ERR_CREATE;
    }
    if (total > kMaxPackageLength)
        return SFX_ERR_CREATE;

    // A link at the output is replaced, never written through; one that
    // another user planted in a shared folder is not even touched.
    if (!platform::ResolveWriteTarget(outputPath).Ok())
        return SFX_ERR_CREATE;
    // The package goes to a new file beside the output and replaces it only
    // when whole: a failed build leaves the previous package as it was.
    const std::string tempPath = platform::TemporaryPathBeside(outputPath);
    SfxResult result = WritePackage(std::move(image), tempPath);
    // A custom setup is a program: its owner may run it from the first moment.
    if (result == SFX_OK && !platform::MakeOwnerExecutable(tempPath))
        result = SFX_ERR_CREATE;
    if (result == SFX_OK && !platform::ReplaceFile(tempPath, outputPath))
        result = SFX_ERR_CREATE;
    if (result != SFX_OK)
        platform::RemoveFile(tempPath);
    else
        platform::RemoveStaleTemporariesBeside(outputPath);
    return result;
}

SetupComposition CSfxPackage::Compose(std::shared_ptr<const std::string> image) {
    SetupComposition composition;
    int64_t position = image ? static_cast<int64_t>(image->size()) : 0;
    composition.AddBytes(std::move(image));
    for (int i = 0; i < m_nCount; ++i) {
        CSfxEntry& e = m_entries[static_cast<size_t>(i)];
        e.m_nOffset = static_cast<int32_t>(position);
        if (e.m_bFromMemory)
            composition.AddBytes(e.m_strBytes);
        else
            composition.AddRange(composition.AddSource(e.m_strSourcePath), 0, e.m_nSize);
        position += e.m_nSize;
    }
    CPackageTrailer trailer;
    trailer.m_entries.assign(m_entries.begin(), m_entries.begin() + m_nCount);
    std::string bytes;
    trailer.EncodeTo(bytes);
    composition.AddBytes(std::move(bytes));
    return composition;
}

SfxResult CSfxPackage::WritePackage(std::shared_ptr<const std::string> image,
                                    const std::string& path) {
    platform::RawFile out = platform::RawFile::CreateReplacing(path);
    if (!out.IsOpen())
        return SFX_ERR_CREATE;
    const SfxResult written = WriteComposition(Compose(std::move(image)), out);
    if (written != SFX_OK)
        return written;
    // Success only when every byte reached the file.
    return out.Close() ? SFX_OK : SFX_ERR_CREATE;
}

SfxResult CSfxPackage::ReadDirectory(const std::string& path) {
    for (int i = 0; i < m_nCount; ++i)
        m_entries[static_cast<size_t>(i)] = CSfxEntry{};
    m_nCount = 0;
    m_strPackagePath.clear();
    m_trailerStatus = {TrailerFault::ReadFailed};

    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen())
        return SFX_ERR_OPEN;
    const int64_t size = file.Size();
    if (size < 0)
        return SFX_ERR_OPEN;

    CPackageTrailer trailer;
    const CPackageTrailer::ReadAt read = [&file](int64_t pos, void* buffer, size_t length) {
        return ReadExactAt(file, pos, buffer, length);
    };
    m_trailerStatus = trailer.Decode(read, size);
    // A package signed after the build ends before the certificate table.
    if (!m_trailerStatus.Ok())
        if (const std::optional<int64_t> end = SignedPackageEnd(read, size)) {
            const TrailerStatus beforeSignature = trailer.Decode(read, *end);
            if (beforeSignature.Ok())
                m_trailerStatus = beforeSignature;
        }
    if (!m_trailerStatus.Ok())
        return SfxResultOf(m_trailerStatus);
    for (const auto& e : trailer.m_entries)
        m_entries[static_cast<size_t>(m_nCount++)] = e;
    m_strPackagePath = path;
    return SFX_OK;
}

SfxResult CSfxPackage::ExtractAll(const std::string& targetFolder) {
    std::string own = platform::OwnExecutablePath();
    if (own.empty())
        return SFX_ERR_OPEN;
    return ExtractFrom(own, targetFolder);
}

SfxResult CSfxPackage::ExtractFrom(const std::string& packagePath,
                                   const std::string& targetFolder) {
    std::string folder = targetFolder.empty() ? std::string(".") : targetFolder;
    if (folder.back() != '/')
        folder += '/';

    if (SfxResult r = ReadDirectory(packagePath); r != SFX_OK)
        return r;
    platform::RawFile in = platform::RawFile::OpenRead(packagePath);
    if (!in.IsOpen())
        return SFX_ERR_SOURCE;

    // Last entry first: of two entries with one name, entry 0's bytes stay.
    for (int i = m_nCount - 1; i >= 0; --i) {
        const CSfxEntry& e = m_entries[static_cast<size_t>(i)];
        const std::string target = folder + e.m_strName;
        platform::RawFile out = platform::RawFile::CreateReplacing(target);
        if (!out.IsOpen())
            continue;
        platform::FileCopyResult copied = platform::CopyFileBytes(in, e.m_nOffset, out, e.m_nSize);
        if (copied == platform::FileCopyResult::Copied && !out.Close())
            copied = platform::FileCopyResult::WriteFailed;
        if (copied != platform::FileCopyResult::Copied) {
            out.Close();
            RemoveQuietly(target);
            return copied == platform::FileCopyResult::ReadFailed ? SFX_ERR_OPEN : SFX_ERR_CREATE;
        }
    }
    return SFX_OK;
}

SfxResult CSfxPackage::ReadEntryBytes(int index, size_t maxBytes, std::string& out) const {
    out.clear();
    if (index < 0 || index >= m_nCount || m_strPackagePath.empty())
        return SFX_ERR_OPEN;
    const CSfxEntry& e = m_entries[static_cast<size_t>(index)];
    platform::RawFile file = platform::RawFile::OpenRead(m_strPackagePath);
    if (!file.IsOpen())
        return SFX_ERR_OPEN;
    std::string bytes(std::min(static_cast<size_t>(e.m_nSize), maxBytes), '\0');
    if (!bytes.empty() && !ReadExactAt(file, e.m_nOffset, bytes.data(), bytes.size()))
        return SFX_ERR_OPEN;
    out = std::move(bytes);
    return SFX_OK;
}

CSfxEntry CSfxPackage::GetEntry(int index) const {
    if (index < 0 || index >= m_nCount)
        return {};
    return m_entries[static_cast<size_t>(index)];
}
