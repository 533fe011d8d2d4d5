#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A stamp carries one affiliate's information file inside the signature of a
// signed custom setup, where the signature's digest does not cover it: in an
// unauthenticated attribute of the first signer of the PKCS#7 SignedData.
//
//   Attribute ::= SEQUENCE { type OBJECT IDENTIFIER (kStampAttributeOid),
//                            values SET { OCTET STRING (the slot) } }
//
// The slot has a fixed size, so every stamped copy of one template has the
// same length and only the slot's bytes differ between copies:
//
//   "!KOVA_STAMP!" (12 bytes), a 4-byte little-endian length n, n bytes of the
//   affiliate information file, zero bytes up to kStampSlotSize.
//
// n = 0 is an empty slot: a template that was prepared but carries no
// affiliate yet.

inline constexpr size_t kStampSlotSize = 12288;
inline constexpr std::string_view kStampMagic = "!KOVA_STAMP!";
// What a slot's information file may hold at most.
inline constexpr size_t kStampMaxInfo = kStampSlotSize - 16;

// The attribute's type, DER content octets of an OID below 2.25 (a UUID).
extern const std::string_view kStampAttributeOid;

enum class StampFault {
    None,
    NotSignedData, // the outer ContentInfo is not a SignedData, or a length is off
    NoSigner,      // the SignedData has no signer, or its signer's lengths are off
    BadAttributes, // the unauthenticated attributes do not parse
    SlotMissing,   // our attribute is there without a slot of the fixed size
    BadSlot,       // the slot's magic, length or fill is wrong
};

// "not a SignedData", ... for messages.
std::string_view StampFaultName(StampFault fault);

// What a PKCS#7 ContentInfo holds of a stamp.
struct StampSlot {
    StampFault fault = StampFault::None;
    bool present = false; // the attribute is there (with a good slot when fault is None)
    size_t offset = 0;    // where the slot's bytes start in the ContentInfo bytes
    std::string info;     // the information file; empty for an empty slot
};

// Finds the stamp in the DER bytes of a ContentInfo (bytes after its end,
// such as padding, are ignored). Every length on the way is checked against
// the element that holds it.
StampSlot FindStampSlot(std::string_view contentInfo);

// The ContentInfo with an empty slot added as the last unauthenticated
// attribute of the first signer (the attribute set is made when there is
// none); bytes after the ContentInfo are kept. Every byte the signer signed
// stays as it is; only the lengths of the elements that hold the slot change.
// False when the bytes do not parse or already hold a slot.
bool AddStampSlot(std::string_view contentInfo, std::string& out);

// The slot's bytes for the information file info; false when info is longer
// than kStampMaxInfo.
bool EncodeStampSlot(std::string_view info, std::string& slot);

// The information file held in slot bytes (kStampSlotSize of them); false
// when the magic, the length or the zero fill is wrong.
bool DecodeStampSlot(std::string_view slot, std::string& info);
