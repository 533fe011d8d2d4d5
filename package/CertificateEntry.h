#pragma once

#include "package/PeHeader.h"

#include <cstdint>
#include <string>
#include <string_view>

// The first entry of a signed program's certificate table, as the stamp reader
// and writer take it: the table that the security directory points to must
// start on an 8-byte boundary and end at the end of the file; the entry's
// header (length 4 bytes, revision 0x0200, type 2 = PKCS#7) must fit the
// table; the bytes after the header, up to the entry's length, are the PKCS#7
// ContentInfo (followed by padding). Further entries are never looked at.
struct CertificateEntry {
    enum class State {
        NotSigned, // not a PE image, or no security directory
        Read,      // the fields below are filled
        Malformed, // a signature is announced but does not fit; fault says why
    };
    State state = State::NotSigned;
    std::string_view fault;
    PeHeader pe;
    int64_t tableOffset = 0;
    int64_t tableSize = 0;
    uint32_t entryLength = 0; // the entry header's own length field
    std::string contentInfo;  // bytes 8 to entryLength of the entry
};

// A signature with its certificates, a nested signature and a time stamp
// takes some kilobytes; a table above this is refused unread.
inline constexpr int64_t kMaxCertificateTable = int64_t{1} << 20;

inline constexpr int64_t kCertificateHeaderSize = 8;

// Reads the first certificate entry of the image of fileSize bytes.
CertificateEntry ReadCertificateEntry(const PeReadAt& read, int64_t fileSize);

// The same for the file at path; NotSigned with fault "unreadable" when it
// cannot be opened.
CertificateEntry ReadCertificateEntryOfFile(const std::string& path);
