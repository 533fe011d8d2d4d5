#include "package/SignedDataPath.h"

namespace {

// 1.2.840.113549.1.7.2
constexpr std::string_view kSignedDataOid("\x2A\x86\x48\x86\xF7\x0D\x01\x07\x02", 9);
constexpr uint8_t kSubjectKeyIdentifier = 0x80; // [0] primitive, a signer's id

bool WalkSignedData(std::string_view bytes, SignerPath& path) {
    if (!ReadDerElement(bytes, 0, bytes.size(), kDerSequence, path.contentInfo))
        return false;
    DerElement oid;
    const DerElement& ci = path.contentInfo;
    if (!ReadDerElement(bytes, ci.Content(), ci.End(), kDerOid, oid) ||
        ContentOf(bytes, oid) != kSignedDataOid ||
        !ReadDerElement(bytes, oid.End(), ci.End(), kDerContext0, path.explicitContent) ||
        path.explicitContent.End() != ci.End())
        return false;
    const DerElement& ec = path.explicitContent;
    if (!ReadDerElement(bytes, ec.Content(), ec.End(), kDerSequence, path.signedData) ||
        path.signedData.End() != ec.End())
        return false;
    const DerElement& sd = path.signedData;
    DerElement e;
    if (!ReadDerElement(bytes, sd.Content(), sd.End(), kDerInteger, e) ||
        !ReadDerElement(bytes, e.End(), sd.End(), kDerSet, e) ||
        !ReadDerElement(bytes, e.End(), sd.End(), kDerSequence, path.encapsulated))
        return false;
    e = path.encapsulated;
    // Certificates [0] and revocation lists [1], each optional.
    size_t pos = e.End();
    for (const uint8_t optional : {kDerContext0, kDerContext1})
        if (ReadDerElement(bytes, pos, sd.End(), e) && e.tag == optional)
            pos = e.End();
    return ReadDerElement(bytes, pos, sd.End(), kDerSet, path.signerInfos) &&
           path.signerInfos.End() == sd.End();
}

bool WalkSigner(std::string_view bytes, SignerPath& path) {
    const DerElement& infos = path.signerInfos;
    if (!ReadDerElement(bytes, infos.Content(), infos.End(), kDerSequence, path.signer))
        return false;
    const DerElement& s = path.signer;
    DerElement e;
    if (!ReadDerElement(bytes, s.Content(), s.End(), kDerInteger, e) ||
        !ReadDerElement(bytes, e.End(), s.End(), e) ||
        (e.tag != kDerSequence && e.tag != kSubjectKeyIdentifier) ||
        !ReadDerElement(bytes, e.End(), s.End(), kDerSequence, e))
        return false;
    size_t pos = e.End();
    if (ReadDerElement(bytes, pos, s.End(), e) && e.tag == kDerContext0)
        pos = e.End();
    if (!ReadDerElement(bytes, pos, s.End(), kDerSequence, e) ||
        !ReadDerElement(bytes, e.End(), s.End(), kDerOctetString, e))
        return false;
    if (e.End() == s.End())
        return true;
    path.hasAttributes = ReadDerElement(bytes, e.End(), s.End(), kDerContext1, path.attributes) &&
                         path.attributes.End() == s.End();
    return path.hasAttributes;
}

} // namespace

SignerWalk WalkToFirstSigner(std::string_view bytes, SignerPath& path) {
    if (!WalkSignedData(bytes, path))
        return SignerWalk::NotSignedData;
    if (!WalkSigner(bytes, path))
        return SignerWalk::NoSigner;
    return SignerWalk::Found;
}
