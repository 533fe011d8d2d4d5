#pragma once

#include "package/DerCodec.h"

#include <string_view>

// The way from a PKCS#7 ContentInfo of type SignedData down to its first
// signer, as stamps and digest checks take it:
//
//   ContentInfo { OID signedData, [0] SignedData { version, digestAlgorithms,
//     encapContentInfo, [0] certificates OPTIONAL, [1] crls OPTIONAL,
//     signerInfos SET { SignerInfo { version, sid, digestAlgorithm,
//       [0] signedAttrs OPTIONAL, signatureAlgorithm, signature,
//       [1] unsignedAttrs OPTIONAL } ... } } }
//
// Every element is checked to lie inside the one that holds it, and each of
// the outer elements to end exactly where its last part ends.
struct SignerPath {
    DerElement contentInfo, explicitContent, signedData, encapsulated, signerInfos, signer;
    bool hasAttributes = false;
    DerElement attributes; // [1] unauthenticated attributes, when present
};

enum class SignerWalk { Found, NotSignedData, NoSigner };

// Walks bytes (a ContentInfo at position 0; bytes after it are ignored).
SignerWalk WalkToFirstSigner(std::string_view bytes, SignerPath& path);

// The content octets of an element.
inline std::string_view ContentOf(std::string_view bytes, const DerElement& e) {
    return bytes.substr(e.Content(), e.length);
}
