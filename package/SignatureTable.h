#pragma once

#include "package/PackageTrailer.h"

#include <cstdint>
#include <optional>

// A vendor may sign a custom setup after it was built. Signing a PE file
// appends 0 to 7 zero bytes (to an 8-byte boundary) and a certificate table
// that the PE header's security directory points to, so the package trailer
// then ends where that padding begins instead of at the end of the file.

// The file offset of the certificate table of the PE image at the start of a
// file of fileSize bytes: nothing when the file is no PE image, has no
// security directory, or the directory does not describe a table that ends at
// the end of the file.
std::optional<int64_t> CertificateTableOffset(const CPackageTrailer::ReadAt& read,
                                              int64_t fileSize);

// Where the package ends in a signed file: the certificate table's offset
// minus the zero bytes of padding before it (at most 7). Nothing when the
// file is not signed, or the bytes before the table are not that padding.
std::optional<int64_t> SignedPackageEnd(const CPackageTrailer::ReadAt& read, int64_t fileSize);
