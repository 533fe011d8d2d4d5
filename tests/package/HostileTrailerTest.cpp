#include "package/SfxPackage.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

void Int(std::string& out, int64_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFF));
}

struct Record {
    int64_t offset;
    int64_t size;
    std::string name;
    int64_t nameLength = -2; // -2: the name's real length
};

// A package file of 64 image bytes, 16 payload bytes and a hand-made trailer.
std::string Craft(const std::vector<Record>& records, int64_t count = -2) {
    std::string file(64, 'I');
    file += "0123456789abcdef";
    for (const auto& r : records) {
        Int(file, r.offset);
        Int(file, r.size);
        file += r.name;
        Int(file, r.nameLength == -2 ? static_cast<int64_t>(r.name.size()) : r.nameLength);
    }
    Int(file, count == -2 ? static_cast<int64_t>(records.size()) : count);
    return file + "!KOVA_SFX!";
}

// Every file below root, as paths relative to it.
std::set<std::string> TreeListing(const std::string& root) {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root))
        names.insert(fs::relative(e.path(), root).string());
    return names;
}

// Extracts file from dir/pkg into dir/out and checks that nothing appeared
// outside dir/out. Returns the result.
SfxResult ExtractContained(const TempFolder& dir, const std::string& file) {
    fs::remove_all(dir / "out");
    fs::create_directory(dir / "out");
    WriteBytes(dir / "pkg", file);
    const auto before = TreeListing(dir.Path());
    CSfxPackage r;
    const SfxResult result = r.ExtractFrom(dir / "pkg", dir / "out");
    for (const auto& name : TreeListing(dir.Path()))
        if (!before.count(name)) {
            EXPECT_EQ(fs::path(name).generic_string().rfind("out/", 0), 0u)
                << "written outside the target: " << name;
        }
    EXPECT_FALSE(fs::exists(dir / "escaped"));
    return result;
}

} // namespace

TEST(HostileTrailer, ValidCraftedPackageExtracts) {
    TempFolder dir;
    EXPECT_EQ(ExtractContained(dir, Craft({{64, 10, "a"}, {74, 6, "b"}})), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "out/a"), "0123456789");
    EXPECT_EQ(ReadBytes(dir / "out/b"), "abcdef");
}

TEST(HostileTrailer, RefusedTrailersWriteNothing) {
    TempFolder dir;
    fs::create_directory(dir / "out");
    const std::string nul("a\0b", 3);
    const struct {
        const char* what;
        std::string file;
        SfxResult expected;
    } cases[] = {
        {"count 257", Craft({{64, 1, "a"}}, 257), SFX_ERR_MARKER},
        {"negative count", Craft({{64, 1, "a"}}, -1), SFX_ERR_MARKER},
        {"count above the records", Craft({{64, 1, "a"}}, 2), SFX_ERR_MARKER},
        {"huge count walks past the start", Craft({{64, 1, "a"}}, 200), SFX_ERR_MARKER},
        {"name length 1000", Craft({{64, 1, std::string(1000, 'n')}}), SFX_ERR_MARKER},
        {"name length 0", Craft({{64, 1, ""}}), SFX_ERR_MARKER},
        {"negative name length", Craft({{64, 1, "a", -5}}), SFX_ERR_MARKER},
        {"name length past the start", Craft({{64, 1, "a", 0x7FFFFFFF}}), SFX_ERR_MARKER},
        {"name with slash", Craft({{64, 1, "../escaped"}}), SFX_ERR_MARKER},
        {"absolute name", Craft({{64, 1, "/tmp/escaped"}}), SFX_ERR_MARKER},
        {"name with backslash", Craft({{64, 1, "..\\escaped"}}), SFX_ERR_MARKER},
        {"name with NUL", Craft({{64, 1, nul}}), SFX_ERR_MARKER},
        {"dot", Craft({{64, 1, "."}}), SFX_ERR_MARKER},
        {"dot dot", Craft({{64, 1, ".."}}), SFX_ERR_MARKER},
        {"negative offset", Craft({{-1, 1, "a"}}), SFX_ERR_MARKER},
        {"negative size", Craft({{64, -1, "a"}}), SFX_ERR_MARKER},
        {"size into the trailer", Craft({{64, 17, "a"}}), SFX_ERR_MARKER},
        {"offset past the end", Craft({{100000, 1, "a"}}), SFX_ERR_MARKER},
        {"offset plus size overflows", Craft({{0x7FFFFFF0, 0x7FFFFFF0, "a"}}), SFX_ERR_MARKER},
        {"bad second record", Craft({{64, 1, "ok"}, {65, 1, "../escaped"}}), SFX_ERR_MARKER},
        {"only the tail", std::string("\x01\0\0\0!KOVA_SFX!", 14), SFX_ERR_MARKER},
        {"count 0", Craft({}, 0), SFX_ERR_EMPTY},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractContained(dir, c.file), c.expected) << c.what;
        EXPECT_TRUE(TreeListing(dir / "out").empty()) << c.what;
    }
}

TEST(HostileTrailer, EveryCutOfAPackageIsRefusedOrConsistent) {
    TempFolder dir;
    const std::string file = Craft({{64, 10, "first.ino"}, {74, 6, "second.exe"}});
    for (size_t cut = 0; cut < file.size(); ++cut) {
        WriteBytes(dir / "pkg", file.substr(0, cut));
        CSfxPackage r;
        // The marker is at the very end, so no proper prefix can be read.
        EXPECT_EQ(r.ReadDirectory(dir / "pkg"), SFX_ERR_MARKER) << cut;
    }
    // Dropping bytes from the front moves the trailer below its offsets.
    for (size_t drop = 1; drop < 80; ++drop) {
        const SfxResult result = ExtractContained(dir, file.substr(drop));
        EXPECT_EQ(result, SFX_ERR_MARKER) << drop;
    }
}

TEST(HostileTrailer, FlippedTrailerBytesNeverEscapeTheFolder) {
    TempFolder dir;
    const std::string file = Craft({{64, 10, "first.ino"}, {74, 6, "second.exe"}});
    const size_t trailerStart = 80;
    for (size_t pos = trailerStart; pos < file.size(); ++pos) {
        for (unsigned char mask : {0x01, 0x2F ^ 'f', 0x80, 0xFF}) {
            std::string bad = file;
            bad[pos] = static_cast<char>(bad[pos] ^ mask);
            const SfxResult result = ExtractContained(dir, bad);
            EXPECT_TRUE(result == SFX_OK || result == SFX_ERR_MARKER || result == SFX_ERR_EMPTY)
                << pos << " " << int(mask) << " " << result;
            if (result != SFX_OK) {
                EXPECT_TRUE(TreeListing(dir / "out").empty()) << pos;
            }
            // Whatever was accepted lies wholly inside the file before its trailer.
            CSfxPackage r;
            if (r.ReadDirectory(dir / "pkg") == SFX_OK) {
                for (int i = 0; i < r.GetCount(); ++i) {
                    EXPECT_LE(int64_t(r.GetEntry(i).m_nOffset) + r.GetEntry(i).m_nSize, 80);
                }
            }
        }
    }
}
