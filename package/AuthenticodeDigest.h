#pragma once

#include <string>
#include <string_view>

// Whether the digest that a signed program's signature carries still matches
// the program's bytes: the image hashed as signing hashed it (everything
// before the certificate table except the header's checksum and the security
// directory entry), with SHA-256. This checks the file's integrity only; the
// signature's certificates and their chain are not looked at.
struct DigestCheck {
    enum class State {
        NotSigned,  // no certificate table (or a malformed one: see fault)
        NoSha256,   // signed, but no signature (primary or nested) uses SHA-256
        Matches,    // the SHA-256 digest matches the bytes
        Differs,    // it does not: the file was changed after signing
        Unreadable, // the file cannot be read
    };
    State state = State::NotSigned;
    std::string_view fault;
};

DigestCheck CheckAuthenticodeDigest(const std::string& path);

// "not signed", "no SHA-256 digest", "matches", "differs", "unreadable".
std::string_view DigestCheckStateName(DigestCheck::State state);

// The SHA-256 digest of the first signature in contentInfo, or of a nested
// signature in its first signer's unauthenticated attributes; empty when none
// uses SHA-256 or the bytes do not parse.
std::string Sha256DigestOfSignature(std::string_view contentInfo);
