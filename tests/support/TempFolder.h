#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its content.
// Path() is empty when the folder could not be made.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "velkora-test") : m_path(Make(prefix)) {}
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The path of name inside the folder, joined as the system writes paths.
    std::string operator/(const std::string& name) const {
        return (std::filesystem::path(m_path) / name).string();
    }

    // Names of the files directly inside the folder.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    // A new folder with a random name: one that exists already is never
    // taken over. Private to the user where the system has such rights.
    static std::string Make(const std::string& prefix) {
        std::error_code error;
        const std::filesystem::path parent = std::filesystem::temp_directory_path(error);
        if (error)
            return {};
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path path =
                parent / (prefix + "-" + std::to_string(random() % 1000000000u));
            if (std::filesystem::create_directory(path, error)) {
                std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::replace, error);
                return path.string();
            }
        }
        return {};
    }

    std::string m_path;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
