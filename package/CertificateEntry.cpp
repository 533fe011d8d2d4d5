#include "package/CertificateEntry.h"

#include "model/ByteOrder.h"
#include "platform/RawFile.h"

namespace {

constexpr uint16_t kRevision2 = 0x0200;
constexpr uint16_t kTypePkcs7 = 0x0002;
constexpr int64_t kTableAlignment = 8;

CertificateEntry Refuse(CertificateEntry entry, std::string_view fault) {
    entry.state = CertificateEntry::State::Malformed;
    entry.fault = fault;
    entry.contentInfo.clear();
    return entry;
}

} // namespace

CertificateEntry ReadCertificateEntry(const PeReadAt& read, int64_t fileSize) {
    CertificateEntry entry;
    entry.pe = ReadPeHeader(read, fileSize);
    if (entry.pe.format == PeFormat::None)
        return entry;
    if (entry.pe.fault != PeFault::None)
        return Refuse(entry, PeFaultName(entry.pe.fault));
    if (!entry.pe.security || (entry.pe.security->address == 0 && entry.pe.security->size == 0))
        return entry;
    entry.tableOffset = entry.pe.security->address;
    entry.tableSize = entry.pe.security->size;
    if (entry.tableOffset % kTableAlignment != 0)
        return Refuse(entry, "certificate table not on an 8-byte boundary");
    if (entry.tableOffset > fileSize || entry.tableSize != fileSize - entry.tableOffset)
        return Refuse(entry, "certificate table does not end at the end of the file");
    if (entry.tableSize < kCertificateHeaderSize || entry.tableSize > kMaxCertificateTable)
        return Refuse(entry, "certificate table size out of range");
    unsigned char header[kCertificateHeaderSize];
    if (!read(entry.tableOffset, header, sizeof header))
        return Refuse(entry, "certificate table unreadable");
    entry.entryLength = ReadU32LE(header);
    if (entry.entryLength < kCertificateHeaderSize || entry.entryLength > entry.tableSize)
        return Refuse(entry, "certificate entry length out of range");
    if (ReadU16LE(header + 4) != kRevision2 || ReadU16LE(header + 6) != kTypePkcs7)
        return Refuse(entry, "certificate entry is not a PKCS#7 signature");
    entry.contentInfo.resize(entry.entryLength - kCertificateHeaderSize);
    if (!entry.contentInfo.empty() && !read(entry.tableOffset + kCertificateHeaderSize,
                                            entry.contentInfo.data(), entry.contentInfo.size()))
        return Refuse(entry, "certificate table unreadable");
    entry.state = CertificateEntry::State::Read;
    return entry;
}

CertificateEntry ReadCertificateEntryOfFile(const std::string& path) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    const int64_t size = file.IsOpen() ? file.Size() : -1;
    if (size < 0) {
        CertificateEntry entry;
        entry.fault = "unreadable";
        return entry;
    }
    return ReadCertificateEntry(
        [&file](int64_t pos, void* buffer, size_t length) {
            return file.SeekTo(pos) && file.ReadAll(buffer, length);
        },
        size);
}
