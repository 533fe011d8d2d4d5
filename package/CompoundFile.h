#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// A compound file (the container of a Windows installer database), read as
// far as one stream that sits directly in its root storage. Every sector
// number, chain, directory entry and size read from the file is checked
// against the file before it is used; chains are followed at most as many
// steps as the file has sectors, so a loop ends the read instead of a run.

// Where reading stopped.
enum class CompoundFault {
    None,
    NoSignature,     // does not start with the compound-file signature
    BadHeader,       // byte order, version, sector sizes or counts not possible
    SectorOutside,   // a sector number or chain points outside the file
    DirectoryBroken, // the root entry or the tree of its children is broken
    StreamMissing,   // no stream of that name in the root storage
    StreamTooLong,   // longer than the caller allows
    ReadFailed,      // the bytes could not be read
};

struct CompoundStream {
    CompoundFault fault = CompoundFault::None;
    std::vector<unsigned char> bytes; // the whole stream when fault is None
};

// read(pos, buffer, length) fills buffer from position pos; false on failure
// or a short read. size is the file's length: nothing past it is read.
using CompoundReadAt = std::function<bool(int64_t pos, void* buffer, size_t length)>;

// The stream called name (compared without regard to ASCII case, as the
// format compares names) among the direct children of the root storage, when
// it is at most maxBytes long.
CompoundStream ReadRootStream(const CompoundReadAt& read, int64_t size, std::u16string_view name,
                              size_t maxBytes);

// "no signature", "sector outside the file", ... for messages and test names.
std::string_view CompoundFaultName(CompoundFault fault);
