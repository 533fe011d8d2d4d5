#pragma once

#include "package/SfxPackage.h"
#include "selfkit/ProductInfoFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its content.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velkora-selfkit-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Names of the files directly inside the folder.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::string m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string LengthPrefixed(const std::string& bytes) {
    const auto n = static_cast<uint32_t>(bytes.size());
    std::string out{char(n & 0xFF), char((n >> 8) & 0xFF), char((n >> 16) & 0xFF),
                    char((n >> 24) & 0xFF)};
    return out + bytes;
}

inline std::string ProductInfoBytes(const std::string& uuid, const std::string& list) {
    return LengthPrefixed(uuid) + LengthPrefixed(list);
}

// A self creator as the builder writes it, on a stand-in image: entry 0 the
// product information file, entry 1 the setup file.
inline bool MakeSelfCreator(const ScratchFolder& work, const std::string& output,
                            const std::string& infoBytes, const std::string& setupBytes,
                            const std::string& setupName = "setup.exe") {
    WriteBytes(work / "_aff1.ino", infoBytes);
    WriteBytes(work / setupName, setupBytes);
    CSfxPackage package;
    if (!package.AddFile(work / "_aff1.ino") || !package.AddFile(work / setupName))
        return false;
    const std::string image(4096, 'I');
    return package.BuildWithImage(image.data(), image.size(), output) == SFX_OK;
}

inline constexpr const char* kTestUuid = "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9";
