// Checks that payloads pass through the 1000-byte buffer: this program puts
// its own read() and write() in front of the C library's and records the
// largest request made while a package is built or extracted.
#include "package/PackageTrailer.h"
#include "package/SfxPackage.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <unistd.h>

namespace {

bool g_tracking = false;
size_t g_largestRead = 0;
size_t g_largestWrite = 0;
size_t g_reads = 0;
size_t g_writes = 0;

template <typename F> F Next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    static auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    if (g_tracking) {
        g_largestRead = std::max(g_largestRead, count);
        ++g_reads;
    }
    return real(fd, buffer, count);
}

extern "C" ssize_t write(int fd, const void* buffer, size_t count) {
    static auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    if (g_tracking) {
        g_largestWrite = std::max(g_largestWrite, count);
        ++g_writes;
    }
    return real(fd, buffer, count);
}

TEST(Streaming, NoReadOrWriteExceedsTheCopyBuffer) {
    TempFolder dir;
    const size_t length = 3 * 1024 * 1024 + 123;
    std::string big(length, '\0');
    for (size_t i = 0; i < length; ++i)
        big[i] = static_cast<char>(i * 7 + i / 1000);
    WriteBytes(dir / "setup.exe", big);
    WriteBytes(dir / "info.ino", std::string(2500, 'i'));

    g_tracking = true;
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "info.ino"));
    ASSERT_TRUE(w.AddFile(dir / "setup.exe"));
    const SfxResult built = w.BuildWithImage("tiny image", 10, dir / "pkg");
    CSfxPackage r;
    const SfxResult extracted = r.ExtractFrom(dir / "pkg", dir.Path() + "/");
    g_tracking = false;

    ASSERT_EQ(built, SFX_OK);
    ASSERT_EQ(extracted, SFX_OK);
    // Proves the interposition took effect: a 3 MiB copy needs thousands of calls.
    EXPECT_GT(g_reads, 2 * length / kSfxCopyBufferSize);
    EXPECT_GT(g_writes, 2 * length / kSfxCopyBufferSize);
    EXPECT_LE(g_largestRead, kSfxCopyBufferSize);
    EXPECT_LE(g_largestWrite, kSfxCopyBufferSize);
    EXPECT_TRUE(ReadBytes(dir / "setup.exe") == big);
}
