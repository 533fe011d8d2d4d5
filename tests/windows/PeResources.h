#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The resources of a Windows program read from its file on any system: the
// resource tree of the PE image (type, id, first language) and each
// resource's bytes. Names of named types are compared as ASCII.
class PeResources {
public:
    // Reads the file at path; nothing when it is not a PE image with a
    // resource directory that fits the file.
    static std::optional<PeResources> Load(const std::string& path);

    // The bytes of the resource of type (an ordinal such as 5 for dialogs)
    // and id; nothing when missing.
    std::optional<std::string> Find(uint16_t type, uint16_t id) const;
    // The same for a named type such as "SFX_EXE".
    std::optional<std::string> Find(const std::string& type, uint16_t id) const;

    bool IsPe32Plus() const { return m_bPe32Plus; }

private:
    struct Section {
        uint32_t virtualAddress = 0;
        uint32_t virtualSize = 0;
        uint32_t rawOffset = 0;
        uint32_t rawSize = 0;
    };

    // The file offset of a relative virtual address, or nothing.
    std::optional<uint32_t> FileOffset(uint32_t rva, uint32_t length) const;
    // The subdirectory or data entry reached from the directory at offset
    // (relative to the resource root) through an entry that matches.
    std::optional<uint32_t> Child(uint32_t directory, const std::optional<uint16_t>& id,
                                  const std::string& name) const;
    std::optional<std::string> Leaf(uint32_t typeEntry, uint16_t id) const;
    std::string NameAt(uint32_t offset) const;
    uint32_t U32(size_t pos) const;
    uint16_t U16(size_t pos) const;
    bool Fits(size_t pos, size_t length) const;

    std::string m_bytes;
    std::vector<Section> m_sections;
    uint32_t m_root = 0;     // file offset of the resource directory
    uint32_t m_rootSize = 0; // its size in the data directory
    bool m_bPe32Plus = false;
};
