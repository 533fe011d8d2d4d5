#include "package/AuthenticodeDigest.h"

#include "package/CertificateEntry.h"
#include "package/DerCodec.h"
#include "package/Sha256.h"
#include "package/SignedDataPath.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <vector>

namespace {

// 1.3.6.1.4.1.311.2.1.4 (the signed content of a program's signature)
constexpr std::string_view kIndirectDataOid("\x2B\x06\x01\x04\x01\x82\x37\x02\x01\x04", 10);
// 1.3.6.1.4.1.311.2.4.1 (an attribute holding a nested signature)
constexpr std::string_view kNestedSignatureOid("\x2B\x06\x01\x04\x01\x82\x37\x02\x04\x01", 10);
// 2.16.840.1.101.3.4.2.1
constexpr std::string_view kSha256Oid("\x60\x86\x48\x01\x65\x03\x04\x02\x01", 9);
constexpr size_t kSha256Size = 32;
constexpr size_t kHashBuffer = size_t{256} * 1024;
// A nested signature may itself hold one; no signer nests deeper than this.
constexpr int kMaxNesting = 4;

// encapContentInfo { OID indirectData, [0] { SEQUENCE { data, DigestInfo {
// AlgorithmIdentifier { OID, ... }, OCTET STRING } } } }
std::string Sha256OfIndirectData(std::string_view bytes, const DerElement& encapsulated) {
    DerElement oid, wrapper, content, data, digestInfo, algorithm, algorithmOid, digest;
    if (!ReadDerElement(bytes, encapsulated.Content(), encapsulated.End(), kDerOid, oid) ||
        ContentOf(bytes, oid) != kIndirectDataOid ||
        !ReadDerElement(bytes, oid.End(), encapsulated.End(), kDerContext0, wrapper) ||
        !ReadDerElement(bytes, wrapper.Content(), wrapper.End(), kDerSequence, content) ||
        !ReadDerElement(bytes, content.Content(), content.End(), kDerSequence, data) ||
        !ReadDerElement(bytes, data.End(), content.End(), kDerSequence, digestInfo) ||
        !ReadDerElement(bytes, digestInfo.Content(), digestInfo.End(), kDerSequence, algorithm) ||
        !ReadDerElement(bytes, algorithm.Content(), algorithm.End(), kDerOid, algorithmOid) ||
        !ReadDerElement(bytes, algorithm.End(), digestInfo.End(), kDerOctetString, digest))
        return {};
    if (ContentOf(bytes, algorithmOid) != kSha256Oid || digest.length != kSha256Size)
        return {};
    return std::string(ContentOf(bytes, digest));
}

std::string Sha256Digest(std::string_view bytes, int depth);

// The nested signatures among the first signer's unauthenticated attributes.
std::string Sha256OfNested(std::string_view bytes, const SignerPath& path, int depth) {
    if (!path.hasAttributes || depth >= kMaxNesting)
        return {};
    const DerElement& set = path.attributes;
    for (size_t pos = set.Content(); pos < set.End();) {
        DerElement attribute, oid, values, value;
        if (!ReadDerElement(bytes, pos, set.End(), kDerSequence, attribute) ||
            !ReadDerElement(bytes, attribute.Content(), attribute.End(), kDerOid, oid) ||
            !ReadDerElement(bytes, oid.End(), attribute.End(), kDerSet, values))
            return {};
        pos = attribute.End();
        if (ContentOf(bytes, oid) != kNestedSignatureOid)
            continue;
        for (size_t at = values.Content(); at < values.End(); at = value.End()) {
            if (!ReadDerElement(bytes, at, values.End(), value))
                return {};
            std::string digest =
                Sha256Digest(bytes.substr(value.start, value.End() - value.start), depth + 1);
            if (!digest.empty())
                return digest;
        }
    }
    return {};
}

std::string Sha256Digest(std::string_view bytes, int depth) {
    SignerPath path;
    if (WalkToFirstSigner(bytes, path) != SignerWalk::Found)
        return {};
    std::string digest = Sha256OfIndirectData(bytes, path.encapsulated);
    return digest.empty() ? Sha256OfNested(bytes, path, depth) : digest;
}

// The program's digest: the bytes before the table, less the two fields.
bool HashImage(const std::string& path, const CertificateEntry& entry, std::string& digest) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen() || !file.SeekTo(0))
        return false;
    const int64_t skips[2][2] = {{entry.pe.checksumOffset, 4}, {entry.pe.securityOffset, 8}};
    CSha256 sha;
    std::vector<char> buffer(kHashBuffer);
    for (int64_t pos = 0; pos < entry.tableOffset;) {
        const size_t want =
            static_cast<size_t>(std::min<int64_t>(kHashBuffer, entry.tableOffset - pos));
        if (!file.ReadAll(buffer.data(), want))
            return false;
        // Both fields lie in the headers, far inside the first piece.
        size_t from = 0;
        for (const auto& [at, length] : skips) {
            if (at < pos || at + length > pos + static_cast<int64_t>(want))
                continue;
            const size_t skipAt = static_cast<size_t>(at - pos);
            sha.Update(buffer.data() + from, skipAt - from);
            from = skipAt + static_cast<size_t>(length);
        }
        sha.Update(buffer.data() + from, want - from);
        pos += static_cast<int64_t>(want);
    }
    const auto finished = sha.Finish();
    digest.assign(reinterpret_cast<const char*>(finished.data()), finished.size());
    return true;
}

} // namespace

std::string Sha256DigestOfSignature(std::string_view contentInfo) {
    return Sha256Digest(contentInfo, 0);
}

DigestCheck CheckAuthenticodeDigest(const std::string& path) {
    DigestCheck check;
    const CertificateEntry entry = ReadCertificateEntryOfFile(path);
    check.fault = entry.fault;
    if (entry.state == CertificateEntry::State::NotSigned) {
        if (entry.fault == "unreadable")
            check.state = DigestCheck::State::Unreadable;
        return check;
    }
    if (entry.state == CertificateEntry::State::Malformed)
        return check;
    const std::string expected = Sha256DigestOfSignature(entry.contentInfo);
    if (expected.empty()) {
        check.state = DigestCheck::State::NoSha256;
        return check;
    }
    // The two skipped fields are in the order the header has them.
    if (entry.pe.checksumOffset < 0 || entry.pe.securityOffset <= entry.pe.checksumOffset) {
        check.state = DigestCheck::State::Unreadable;
        return check;
    }
    std::string actual;
    if (!HashImage(path, entry, actual)) {
        check.state = DigestCheck::State::Unreadable;
        return check;
    }
    check.state = actual == expected ? DigestCheck::State::Matches : DigestCheck::State::Differs;
    return check;
}

std::string_view DigestCheckStateName(DigestCheck::State state) {
    switch (state) {
    case DigestCheck::State::NotSigned:
        return "not signed";
    case DigestCheck::State::NoSha256:
        return "no SHA-256 digest";
    case DigestCheck::State::Matches:
        return "matches";
    case DigestCheck::State::Differs:
        return "differs";
    case DigestCheck::State::Unreadable:
        break;
    }
    return "unreadable";
}
