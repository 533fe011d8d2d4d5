#pragma once

// Signed programs made in memory for the stamp tests: a PE32+ header, code
// bytes, and a certificate table holding a PKCS#7 SignedData of the shape a
// signing tool writes, whose SHA-256 digest covers the bytes before it.

#include "package/AffiliateInfoFile.h"
#include "package/DerCodec.h"
#include "package/SfxPackage.h"
#include "package/Sha256.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace signedsample {

inline constexpr size_t kPeOffset = 0x80;
inline constexpr size_t kChecksumField = kPeOffset + 24 + 64;
inline constexpr size_t kSecurityEntry = kPeOffset + 24 + 112 + 4 * 8;

inline void PutLe32(std::string& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline uint32_t GetLe32(std::string_view bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return v;
}

// A PE32+ header of 512 bytes for x86-64 with 16 data directories, not signed.
inline std::string PeImage() {
    std::string image(512, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    PutLe32(image, 0x3C, kPeOffset);
    image.replace(kPeOffset, 4, std::string("PE\0\0", 4));
    image[kPeOffset + 4] = 0x64; // x86-64
    image[kPeOffset + 5] = static_cast<char>(0x86);
    image[kPeOffset + 24] = 0x0B;
    image[kPeOffset + 25] = 0x02;
    PutLe32(image, kPeOffset + 24 + 108, 16);
    return image;
}

inline std::string Oid(std::string_view content) {
    return DerWrap(kDerOid, content);
}

inline const std::string kSha256Oid("\x60\x86\x48\x01\x65\x03\x04\x02\x01", 9);
inline const std::string kIndirectDataOid("\x2B\x06\x01\x04\x01\x82\x37\x02\x01\x04", 10);
inline const std::string kSignedDataOid("\x2A\x86\x48\x86\xF7\x0D\x01\x07\x02", 9);
inline const std::string kNestedOid("\x2B\x06\x01\x04\x01\x82\x37\x02\x04\x01", 10);
inline const std::string kCounterSignatureOid("\x2A\x86\x48\x86\xF7\x0D\x01\x09\x06", 9);

// Parts a signer signs, recognisable in the output.
inline const std::string kSignedAttributes = DerWrap(kDerContext0, std::string(40, 'A'));
inline const std::string kSignature = DerWrap(kDerOctetString, std::string(256, 'S'));

inline std::string EncapsulatedContent(std::string_view algorithmOid, std::string_view digest) {
    const std::string data = DerWrap(kDerSequence, Oid("\x2B\x06\x01\x04\x01\x82\x37\x02\x01\x0F"));
    const std::string digestInfo = DerWrap(
        kDerSequence, DerWrap(kDerSequence, Oid(algorithmOid) + std::string("\x05\x00", 2)) +
                          DerWrap(kDerOctetString, digest));
    return DerWrap(kDerSequence,
                   Oid(kIndirectDataOid) +
                       DerWrap(kDerContext0, DerWrap(kDerSequence, data + digestInfo)));
}

// A ContentInfo; unsignedAttributes is the content of the signer's [1] set
// (none when empty).
inline std::string ContentInfo(std::string_view algorithmOid, std::string_view digest,
                               std::string_view unsignedAttributes = {}) {
    std::string signer =
        DerWrap(kDerInteger, "\x01") + DerWrap(kDerSequence, std::string(30, 'I')) +
        DerWrap(kDerSequence, Oid(algorithmOid)) + kSignedAttributes +
        DerWrap(kDerSequence, Oid("\x2A\x86\x48\x86\xF7\x0D\x01\x01\x01")) + kSignature;
    if (!unsignedAttributes.empty())
        signer += DerWrap(kDerContext1, unsignedAttributes);
    const std::string signedData =
        DerWrap(kDerInteger, "\x01") + DerWrap(kDerSet, DerWrap(kDerSequence, Oid(algorithmOid))) +
        EncapsulatedContent(algorithmOid, digest) +
        DerWrap(kDerContext0, DerWrap(kDerSequence, std::string(600, 'C'))) +
        DerWrap(kDerSet, DerWrap(kDerSequence, signer));
    return DerWrap(kDerSequence,
                   Oid(kSignedDataOid) + DerWrap(kDerContext0, DerWrap(kDerSequence, signedData)));
}

// The digest a signature carries for the bytes before its table.
inline std::string ImageDigest(std::string_view image) {
    CSha256 sha;
    sha.Update(image.data(), kChecksumField);
    sha.Update(image.data() + kChecksumField + 4, kSecurityEntry - kChecksumField - 4);
    sha.Update(image.data() + kSecurityEntry + 8, image.size() - kSecurityEntry - 8);
    const auto d = sha.Finish();
    return std::string(reinterpret_cast<const char*>(d.data()), d.size());
}

// What a signing tool does to unsigned bytes: pads them to 8, points the
// security directory at a table with one entry holding contentInfo (made by
// make from the digest), padded to 8.
template <typename MakeContentInfo> std::string Sign(std::string bytes, MakeContentInfo make) {
    bytes.resize((bytes.size() + 7) / 8 * 8, '\0');
    const std::string signature = make(ImageDigest(bytes));
    const uint32_t entryLength = static_cast<uint32_t>((8 + signature.size() + 7) / 8 * 8);
    PutLe32(bytes, kSecurityEntry, static_cast<uint32_t>(bytes.size()));
    PutLe32(bytes, kSecurityEntry + 4, entryLength);
    std::string table(8, '\0');
    PutLe32(table, 0, entryLength);
    table[4] = 0x00, table[5] = 0x02, table[6] = 0x02, table[7] = 0x00;
    table += signature;
    table.resize(entryLength, '\0');
    return bytes + table;
}

inline std::string SignSha256(std::string bytes) {
    return Sign(std::move(bytes), [](const std::string& d) { return ContentInfo(kSha256Oid, d); });
}

// The header checksum of a whole file, computed the plain way.
inline uint32_t PeChecksum(std::string_view file) {
    uint64_t sum = 0;
    for (size_t i = 0; i + 1 < file.size(); i += 2) {
        if (i == kChecksumField || i == kChecksumField + 2)
            continue;
        sum += static_cast<unsigned char>(file[i]) | static_cast<unsigned char>(file[i + 1]) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + file.size());
}

// A product's template written to path: entry 0 the information file of
// info, entry 1 setupBytes under setupName, on the stand-in image; signed
// with SHA-256 as the vendor signs it unless sign is false. False when it
// cannot be written.
inline bool WriteTemplate(const std::string& path, const CAffiliateInfo& info,
                          const std::string& setupName, const std::string& setupBytes,
                          bool sign = true) {
    CSfxPackage pkg;
    const std::string image = PeImage();
    if (!pkg.AddBytes("_aff0.ino", EncodeAffiliateInfo(info)) ||
        !pkg.AddBytes(setupName, setupBytes) ||
        pkg.BuildWithImage(image.data(), image.size(), path) != SFX_OK)
        return false;
    if (!sign)
        return true;
    std::ifstream in(path, std::ios::binary);
    const std::string built{std::istreambuf_iterator<char>(in), {}};
    in.close();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << SignSha256(built);
    return static_cast<bool>(out.flush());
}

} // namespace signedsample
