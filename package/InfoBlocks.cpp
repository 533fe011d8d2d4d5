#include "package/InfoBlocks.h"

#include "model/ByteOrder.h"
#include "platform/RawFile.h"

void AppendInfoBlock(std::string& out, std::string_view block) {
    AppendU32LE(out, static_cast<uint32_t>(block.size()));
    out.append(block);
}

bool TakeInfoBlock(std::string_view bytes, size_t& pos, std::string& block) {
    if (pos > bytes.size() || bytes.size() - pos < 4)
        return false;
    const int32_t length = ReadInt32LE(bytes.data() + pos);
    if (length < 0 || static_cast<size_t>(length) > kInfoFieldMax ||
        bytes.size() - pos - 4 < static_cast<size_t>(length))
        return false;
    block.assign(bytes.substr(pos + 4, static_cast<size_t>(length)));
    pos += 4 + static_cast<size_t>(length);
    return true;
}

bool ReadInfoFileBytes(const std::string& path, size_t limit, std::string& bytes) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen())
        return false;
    std::string read(limit, '\0');
    size_t got = 0;
    while (got < read.size()) {
        const long n = file.Read(read.data() + got, read.size() - got);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    read.resize(got);
    bytes = std::move(read);
    return true;
}
