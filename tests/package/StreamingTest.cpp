// Checks how payloads travel while a package is built or extracted: this
// program puts its own read() and write() in front of the C library's, and its
// own operator new and delete in front of the library's, and records the
// calls made and the heap in use. It also makes writes fail on request.
#include "package/PackageTrailer.h"
#include "package/SfxPackage.h"
#include "platform/BufferedFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <unistd.h>

using platform::kFileBufferSize;

namespace {

// What the process did between Start() and Stop(). Descriptors 0 to 2 are
// left out: they carry the test's own output.
struct Calls {
    size_t reads = 0;
    size_t writes = 0;
    size_t largestRead = 0;
    size_t largestWrite = 0;
    size_t bytesRead = 0;
    size_t firstWrite = 0; // kept without allocating, so the record never counts itself
    // Writes whose last byte does not end a kFileBufferSize block of the file.
    size_t writesEndingOffBoundary = 0;
    size_t peakHeapGrowth = 0; // most heap in use beyond what was in use at Start()
};

bool g_tracking = false;
bool g_failWrites = false;
Calls g_calls;
size_t g_heapInUse = 0;
size_t g_heapAtStart = 0;

void Start() {
    g_calls = Calls{};
    g_heapAtStart = g_heapInUse;
    g_tracking = true;
}

Calls Stop() {
    g_tracking = false;
    return g_calls;
}

template <typename F> F Next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

std::string Pattern(size_t length) {
    std::string s(length, '\0');
    for (size_t i = 0; i < length; ++i)
        s[i] = static_cast<char>(i * 7 + i / 1000);
    return s;
}

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    static auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    const ssize_t n = real(fd, buffer, count);
    if (g_tracking && fd > 2) {
        g_calls.largestRead = std::max(g_calls.largestRead, count);
        ++g_calls.reads;
        g_calls.bytesRead += n > 0 ? static_cast<size_t>(n) : 0;
    }
    return n;
}

extern "C" ssize_t write(int fd, const void* buffer, size_t count) {
    static auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    if (fd <= 2)
        return real(fd, buffer, count);
    if (g_failWrites) {
        errno = ENOSPC;
        return -1;
    }
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    const ssize_t n = real(fd, buffer, count);
    if (g_tracking) {
        g_calls.largestWrite = std::max(g_calls.largestWrite, count);
        ++g_calls.writes;
        if (g_calls.writes == 1)
            g_calls.firstWrite = count;
        if ((static_cast<size_t>(at) + count) % kFileBufferSize != 0)
            ++g_calls.writesEndingOffBoundary;
    }
    return n;
}

void* operator new(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    g_heapInUse += ::malloc_usable_size(p);
    if (g_tracking && g_heapInUse > g_heapAtStart)
        g_calls.peakHeapGrowth = std::max(g_calls.peakHeapGrowth, g_heapInUse - g_heapAtStart);
    return p;
}

void operator delete(void* p) noexcept {
    if (p)
        g_heapInUse -= ::malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

// Builds a package of a small information file and a payload of the given
// length on a 10-byte image, extracts it again, and returns the calls of
// both. The payload must come back whole.
Calls BuildAndExtract(size_t payloadLength) {
    TempFolder dir;
    const std::string payload = Pattern(payloadLength);
    WriteBytes(dir / "setup.exe", payload);
    WriteBytes(dir / "info.ino", std::string(2500, 'i'));
    std::filesystem::create_directory(dir / "out");

    Start();
    CSfxPackage w;
    const bool added = w.AddFile(dir / "info.ino") && w.AddFile(dir / "setup.exe");
    const SfxResult built = w.BuildWithImage("tiny image", 10, dir / "pkg");
    CSfxPackage r;
    const SfxResult extracted = r.ExtractFrom(dir / "pkg", dir / "out");
    const Calls calls = Stop();

    EXPECT_TRUE(added);
    EXPECT_EQ(built, SFX_OK);
    EXPECT_EQ(extracted, SFX_OK);
    EXPECT_TRUE(ReadBytes(dir / "out/setup.exe") == payload);
    return calls;
}

} // namespace

TEST(Streaming, NoCallMovesMoreThanOneBufferAndPiecesAreGathered) {
    const size_t length = 5 * 1000 * 1000 + 123;
    const Calls calls = BuildAndExtract(length);

    // The interposition saw the payload go through read() twice (build and
    // extraction): a copy that bypassed read() would fail here.
    EXPECT_GE(calls.bytesRead, 2 * length);
    EXPECT_LE(calls.largestRead, kFileBufferSize);
    EXPECT_LE(calls.largestWrite, kFileBufferSize);
    // One call per buffer, not one per 1000-byte piece: about 77 reads and 77
    // writes per pass over 5 MB, where pieces would need 5000.
    const size_t perPass = length / kFileBufferSize + 4;
    EXPECT_LE(calls.reads, 2 * perPass + 32);
    EXPECT_LE(calls.writes, 2 * perPass + 32);
}

TEST(Streaming, MemoryInUseDoesNotGrowWithThePayload) {
    const Calls small = BuildAndExtract(5 * 1000 * 1000 + 1);
    const Calls large = BuildAndExtract(50 * 1000 * 1000 + 7);

    EXPECT_EQ(large.largestRead, small.largestRead);
    EXPECT_EQ(large.largestWrite, small.largestWrite);
    // A few buffers and the directory; holding even the smaller payload whole
    // would be 5 MB.
    EXPECT_GT(small.peakHeapGrowth, 0u);
    EXPECT_LT(small.peakHeapGrowth, size_t(512) * 1024);
    EXPECT_LE(large.peakHeapGrowth, small.peakHeapGrowth + 4096);
}

TEST(Streaming, ImageGoesInOneCallAndLaterWritesEndOnBufferBoundaries) {
    TempFolder dir;
    const std::string image = Pattern(kFileBufferSize + 12345);
    WriteBytes(dir / "setup.exe", Pattern(1000 * 1000));
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "setup.exe"));

    Start();
    const SfxResult built = w.BuildWithImage(image.data(), image.size(), dir / "pkg");
    const Calls calls = Stop();

    ASSERT_EQ(built, SFX_OK);
    EXPECT_EQ(calls.firstWrite, image.size());
    EXPECT_EQ(calls.largestWrite, image.size());
    // Only the image and the last write end inside a block of the file.
    EXPECT_EQ(calls.writesEndingOffBoundary, 2u);
    EXPECT_EQ(ReadBytes(dir / "pkg").substr(0, image.size()), image);
}

TEST(Streaming, AWriteThatFailsOnlyWhenTheBufferIsFlushedIsReported) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "out");
    // Everything fits one buffer, so nothing reaches the file before Close.
    WriteBytes(dir / "setup.exe", "vendor setup");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "setup.exe"));
    g_failWrites = true;
    const SfxResult failedBuild = w.BuildWithImage("tiny image", 10, dir / "failed");
    g_failWrites = false;
    EXPECT_EQ(failedBuild, SFX_ERR_CREATE);

    ASSERT_EQ(w.BuildWithImage("tiny image", 10, dir / "pkg"), SFX_OK);
    CSfxPackage r;
    g_failWrites = true;
    const SfxResult failedExtraction = r.ExtractFrom(dir / "pkg", dir / "out");
    g_failWrites = false;
    EXPECT_EQ(failedExtraction, SFX_ERR_CREATE);
    // The partly extracted file is removed.
    EXPECT_FALSE(std::filesystem::exists(dir / "out/setup.exe"));
}

TEST(BufferedWriter, TheFirstFailureSticksAndAClosedWriterRefusesMore) {
    TempFolder dir;
    platform::BufferedWriter out(platform::RawFile::CreateTruncate(dir / "f"));
    ASSERT_TRUE(out.IsOpen());
    ASSERT_TRUE(out.Write("abc", 3));
    g_failWrites = true;
    EXPECT_FALSE(out.Flush());
    g_failWrites = false;
    EXPECT_FALSE(out.Write("d", 1));
    EXPECT_FALSE(out.Close());

    platform::BufferedWriter good(platform::RawFile::CreateTruncate(dir / "g"));
    ASSERT_TRUE(good.Write("abc", 3));
    EXPECT_TRUE(good.Close());
    EXPECT_FALSE(good.Write("d", 1));
    EXPECT_EQ(ReadBytes(dir / "g"), "abc");

    platform::BufferedWriter none(platform::RawFile::CreateTruncate(dir / "no/such/f"));
    EXPECT_FALSE(none.IsOpen());
    EXPECT_FALSE(none.Write("", 0));
    EXPECT_FALSE(none.Close());
}
