#include "package/SignatureStamp.h"

#include "model/ByteOrder.h"
#include "package/DerCodec.h"
#include "package/SignedDataPath.h"

#include <vector>

// 2.25.179585900659430988261657188613883221315
const std::string_view kStampAttributeOid(
    "\x69\x82\x8E\x9A\xFE\xA0\xD1\xBC\xDA\xB4\xE1\xA3\xBB\xEE\xFC\x97\xCB\x93\xAA\x43", 20);

namespace {

StampFault Walk(std::string_view bytes, SignerPath& path) {
    switch (WalkToFirstSigner(bytes, path)) {
    case SignerWalk::NotSignedData:
        return StampFault::NotSignedData;
    case SignerWalk::NoSigner:
        return StampFault::NoSigner;
    case SignerWalk::Found:
        break;
    }
    return StampFault::None;
}

// Every unauthenticated attribute: SEQUENCE { OID, SET }.
bool ReadAttributes(std::string_view bytes, const DerElement& set,
                    std::vector<DerElement>& attributes) {
    for (size_t pos = set.Content(); pos < set.End();) {
        DerElement attribute, oid, values;
        if (!ReadDerElement(bytes, pos, set.End(), kDerSequence, attribute) ||
            !ReadDerElement(bytes, attribute.Content(), attribute.End(), kDerOid, oid) ||
            !ReadDerElement(bytes, oid.End(), attribute.End(), kDerSet, values) ||
            values.End() != attribute.End())
            return false;
        attributes.push_back(attribute);
        pos = attribute.End();
    }
    return true;
}

bool IsStampAttribute(std::string_view bytes, const DerElement& attribute) {
    DerElement oid;
    return ReadDerElement(bytes, attribute.Content(), attribute.End(), kDerOid, oid) &&
           ContentOf(bytes, oid) == kStampAttributeOid;
}

// Replaces bytes [from, to), which lies inside every element of chain
// (outermost first), and rewrites the length of each of those elements.
std::string ReplaceInside(std::string_view bytes, const std::vector<DerElement>& chain, size_t from,
                          size_t to, std::string replacement) {
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        std::string content(bytes.substr(it->Content(), from - it->Content()));
        content += replacement;
        content.append(bytes.substr(to, it->End() - to));
        replacement = DerWrap(it->tag, content);
        from = it->start;
        to = it->End();
    }
    return std::string(bytes.substr(0, from)) + replacement + std::string(bytes.substr(to));
}

std::string EmptySlotAttribute() {
    std::string slot;
    EncodeStampSlot({}, slot);
    return DerWrap(kDerSequence, DerWrap(kDerOid, kStampAttributeOid) +
                                     DerWrap(kDerSet, DerWrap(kDerOctetString, slot)));
}

} // namespace

std::string_view StampFaultName(StampFault fault) {
    switch (fault) {
    case StampFault::None:
        return "none";
    case StampFault::NotSignedData:
        return "not a SignedData";
    case StampFault::NoSigner:
        return "no readable signer";
    case StampFault::BadAttributes:
        return "unreadable unauthenticated attributes";
    case StampFault::SlotMissing:
        return "stamp without its slot";
    case StampFault::BadSlot:
        break;
    }
    return "malformed stamp slot";
}

StampSlot FindStampSlot(std::string_view contentInfo) {
    StampSlot found;
    SignerPath path;
    found.fault = Walk(contentInfo, path);
    if (found.fault != StampFault::None || !path.hasAttributes)
        return found;
    std::vector<DerElement> attributes;
    if (!ReadAttributes(contentInfo, path.attributes, attributes)) {
        found.fault = StampFault::BadAttributes;
        return found;
    }
    for (const DerElement& attribute : attributes) {
        if (!IsStampAttribute(contentInfo, attribute))
            continue;
        found.present = true;
        DerElement oid, values, slot;
        ReadDerElement(contentInfo, attribute.Content(), attribute.End(), kDerOid, oid);
        ReadDerElement(contentInfo, oid.End(), attribute.End(), kDerSet, values);
        if (!ReadDerElement(contentInfo, values.Content(), values.End(), kDerOctetString, slot) ||
            slot.End() != values.End() || slot.length != kStampSlotSize) {
            found.fault = StampFault::SlotMissing;
            return found;
        }
        found.offset = slot.Content();
        if (!DecodeStampSlot(ContentOf(contentInfo, slot), found.info))
            found.fault = StampFault::BadSlot;
        return found;
    }
    return found;
}

bool AddStampSlot(std::string_view contentInfo, std::string& out) {
    const StampSlot existing = FindStampSlot(contentInfo);
    if (existing.fault != StampFault::None || existing.present)
        return false;
    SignerPath path;
    Walk(contentInfo, path);
    std::vector<DerElement> chain{path.contentInfo, path.explicitContent, path.signedData,
                                  path.signerInfos, path.signer};
    const std::string attribute = EmptySlotAttribute();
    if (path.hasAttributes) {
        chain.push_back(path.attributes);
        out = ReplaceInside(contentInfo, chain, path.attributes.End(), path.attributes.End(),
                            attribute);
    } else {
        out = ReplaceInside(contentInfo, chain, path.signer.End(), path.signer.End(),
                            DerWrap(kDerContext1, attribute));
    }
    return true;
}

bool EncodeStampSlot(std::string_view info, std::string& slot) {
    if (info.size() > kStampMaxInfo)
        return false;
    slot.assign(kStampMagic);
    AppendU32LE(slot, static_cast<uint32_t>(info.size()));
    slot.append(info);
    slot.resize(kStampSlotSize, '\0');
    return true;
}

bool DecodeStampSlot(std::string_view slot, std::string& info) {
    if (slot.size() != kStampSlotSize || slot.substr(0, kStampMagic.size()) != kStampMagic)
        return false;
    const size_t length = ReadU32LE(slot.data() + kStampMagic.size());
    if (length > kStampMaxInfo)
        return false;
    const size_t start = kStampMagic.size() + 4;
    if (slot.find_first_not_of('\0', start + length) != std::string_view::npos)
        return false;
    info.assign(slot.substr(start, length));
    return true;
}
