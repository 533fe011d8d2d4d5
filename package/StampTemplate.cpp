#include "package/StampTemplate.h"

#include "model/ByteOrder.h"
#include "package/CertificateEntry.h"
#include "package/DerCodec.h"
#include "package/SignatureStamp.h"
#include "platform/FileCopy.h"
#include "platform/FileReplace.h"
#include "platform/FileSystem.h"
#include "platform/ProcessStart.h"
#include "platform/RawFile.h"

#include <utility>
#include <vector>

namespace {

constexpr int64_t kAlignment = 8;
constexpr size_t kSumBuffer = size_t{256} * 1024;

int64_t RoundUp8(int64_t n) {
    return (n + kAlignment - 1) / kAlignment * kAlignment;
}

// The header checksum's running sum: 16-bit little-endian words added with
// the carry folded back in. Bytes come in pieces of even length.
uint32_t AddWords(uint32_t sum, const unsigned char* bytes, size_t length) {
    for (size_t i = 0; i + 1 < length; i += 2) {
        sum += static_cast<uint32_t>(bytes[i] | bytes[i + 1] << 8);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return sum;
}

} // namespace

bool CStampTemplate::Open(const std::string& path) {
    m_path = path;
    m_problem.clear();
    const CertificateEntry entry = ReadCertificateEntryOfFile(path);
    if (entry.state == CertificateEntry::State::NotSigned) {
        m_problem = entry.fault == "unreadable" ? "cannot be read" : "is not signed";
        return false;
    }
    if (entry.state == CertificateEntry::State::Malformed) {
        m_problem = "has a malformed signature (" + std::string(entry.fault) + ")";
        return false;
    }
    m_fileSize = entry.tableOffset + entry.tableSize;
    m_tableOffset = entry.tableOffset;
    m_securityOffset = entry.pe.securityOffset;
    m_checksumOffset = entry.pe.checksumOffset;

    platform::RawFile file = platform::RawFile::OpenRead(path);
    std::string table(static_cast<size_t>(entry.tableSize), '\0');
    if (!file.IsOpen() || !file.SeekTo(m_tableOffset) ||
        !file.ReadAll(table.data(), table.size())) {
        m_problem = "cannot be read";
        return false;
    }
    const size_t firstEntry = static_cast<size_t>(RoundUp8(entry.entryLength));
    const std::string rest = firstEntry < table.size() ? table.substr(firstEntry) : std::string();
    if (!PrepareTable(entry.contentInfo, rest))
        return false;
    unsigned char checksum[4] = {};
    if (!file.SeekTo(m_checksumOffset) || !file.ReadAll(checksum, sizeof checksum)) {
        m_problem = "cannot be read";
        return false;
    }
    m_checksummed = ReadU32LE(checksum) != 0;
    return !m_checksummed || SumPrefix();
}

bool CStampTemplate::PrepareTable(const std::string& contentInfo, const std::string& restOfTable) {
    // The entry's own padding after the ContentInfo is dropped and made anew.
    DerElement outer;
    if (!ReadDerElement(contentInfo, 0, contentInfo.size(), kDerSequence, outer)) {
        m_problem = "has a malformed signature (not a SignedData)";
        return false;
    }
    std::string signature = contentInfo.substr(0, outer.End());
    StampSlot slot = FindStampSlot(signature);
    if (slot.fault != StampFault::None) {
        m_problem = "has a malformed signature (" + std::string(StampFaultName(slot.fault)) + ")";
        return false;
    }
    if (!slot.present) {
        std::string slotted;
        AddStampSlot(signature, slotted);
        signature = std::move(slotted);
        slot = FindStampSlot(signature);
    }
    const int64_t entryLength =
        RoundUp8(kCertificateHeaderSize + static_cast<int64_t>(signature.size()));
    if (entryLength + static_cast<int64_t>(restOfTable.size()) > kMaxCertificateTable) {
        m_problem = "has a signature too large to stamp";
        return false;
    }
    m_table.clear();
    AppendU32LE(m_table, static_cast<uint32_t>(entryLength));
    AppendU16LE(m_table, 0x0200);
    AppendU16LE(m_table, 0x0002);
    m_slotAt = m_table.size() + slot.offset;
    m_table += signature;
    m_table.resize(static_cast<size_t>(entryLength), '\0');
    m_table += restOfTable;
    return true;
}

bool CStampTemplate::SumPrefix() {
    platform::RawFile file = platform::RawFile::OpenRead(m_path);
    std::vector<unsigned char> buffer(kSumBuffer);
    uint32_t sum = 0;
    char directory[8];
    StoreU32LE(directory, static_cast<uint32_t>(m_tableOffset));
    StoreU32LE(directory + 4, static_cast<uint32_t>(m_table.size()));
    for (int64_t pos = 0; pos < m_tableOffset;) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(kSumBuffer, m_tableOffset - pos));
        if (!file.IsOpen() || !file.SeekTo(pos) || !file.ReadAll(buffer.data(), want)) {
            m_problem = "cannot be read";
            return false;
        }
        // The sum is over the copy's bytes: the checksum field counts as zero,
        // the security directory as the copy has it.
        for (size_t i = 0; i < want; ++i) {
            const int64_t at = pos + static_cast<int64_t>(i);
            if (at >= m_checksumOffset && at < m_checksumOffset + 4)
                buffer[i] = 0;
            else if (at >= m_securityOffset && at < m_securityOffset + 8)
                buffer[i] = static_cast<unsigned char>(directory[at - m_securityOffset]);
        }
        sum = AddWords(sum, buffer.data(), want);
        pos += static_cast<int64_t>(want);
    }
    m_prefixSum = sum;
    return true;
}

uint32_t CStampTemplate::Checksum(std::string_view table) const {
    const uint32_t sum =
        AddWords(m_prefixSum, reinterpret_cast<const unsigned char*>(table.data()), table.size());
    return static_cast<uint32_t>((sum & 0xFFFF) + static_cast<uint64_t>(CopySize()));
}

bool CStampTemplate::Compose(std::string_view info, SetupComposition& composition) const {
    std::string slot;
    if (m_table.empty() || !EncodeStampSlot(info, slot))
        return false;
    std::string table = m_table;
    table.replace(m_slotAt, slot.size(), slot);
    std::string directory(8, '\0');
    StoreU32LE(directory.data(), static_cast<uint32_t>(m_tableOffset));
    StoreU32LE(directory.data() + 4, static_cast<uint32_t>(table.size()));
    std::string checksum(4, '\0');
    StoreU32LE(checksum.data(), m_checksummed ? Checksum(table) : 0);

    // The two header fields, in file order, between ranges of the template.
    std::pair<int64_t, std::string> fields[] = {{m_checksumOffset, std::move(checksum)},
                                                {m_securityOffset, std::move(directory)}};
    if (fields[1].first < fields[0].first)
        std::swap(fields[0], fields[1]);
    composition = SetupComposition{};
    const size_t source = composition.AddSource(m_path);
    int64_t position = 0;
    for (auto& [at, bytes] : fields) {
        if (at < position || at + static_cast<int64_t>(bytes.size()) > m_tableOffset)
            return false;
        composition.AddRange(source, position, at - position);
        position = at + static_cast<int64_t>(bytes.size());
        composition.AddBytes(std::move(bytes));
    }
    composition.AddRange(source, position, m_tableOffset - position);
    composition.AddBytes(std::move(table));
    return true;
}

SfxResult CStampTemplate::WriteCopy(std::string_view info, const std::string& outputPath) const {
    SetupComposition composition;
    if (!Compose(info, composition) || platform::SameFile(outputPath, m_path))
        return SFX_ERR_CREATE;

    // A file of ours already there (the copy of an earlier run, or one output
    // reused for many copies) is written over: a new file each time costs
    // more than the copying itself, its blocks freed and allocated anew.
    platform::RawFile existing = platform::RawFile::OpenOwnForRewrite(outputPath);
    if (existing.IsOpen())
        return WriteInto(composition, existing);

    const std::string tempPath = platform::TemporaryPathBeside(outputPath);
    platform::RawFile created = platform::RawFile::CreateReplacing(tempPath);
    SfxResult result = created.IsOpen() ? WriteInto(composition, created) : SFX_ERR_CREATE;
    if (result == SFX_OK && !platform::MakeOwnerExecutable(tempPath))
        result = SFX_ERR_CREATE;
    if (result == SFX_OK && !platform::ReplaceFile(tempPath, outputPath))
        result = SFX_ERR_CREATE;
    if (result != SFX_OK)
        platform::RemoveFile(tempPath);
    return result;
}

SfxResult CStampTemplate::WriteInto(const SetupComposition& composition,
                                    platform::RawFile& out) const {
    // A template that changed since Open is not stamped.
    if (platform::RawFile in = platform::RawFile::OpenRead(m_path);
        !in.IsOpen() || in.Size() != m_fileSize)
        return SFX_ERR_SOURCE;
    if (!out.SeekTo(0))
        return SFX_ERR_CREATE;
    const SfxResult written = WriteComposition(composition, out);
    if (written != SFX_OK)
        return written;
    return out.Resize(CopySize()) && out.Close() ? SFX_OK : SFX_ERR_CREATE;
}
