#pragma once

#include <cstdint>
#include <string>

// One entry of a package directory. Plain data; GetEntry hands out copies.
class CSfxEntry {
public:
    std::string m_strName; // entry name as stored in the trailer: a bare file name
    std::string
        m_strSourcePath;    // full path of the source file; writer side only, empty after reading
    std::string m_strBytes; // writer side: the payload itself for an entry added from memory
    bool m_bFromMemory = false;
    int32_t m_nSize = 0;   // payload length in bytes
    int32_t m_nOffset = 0; // payload position, counted from the first byte of the package file
};
