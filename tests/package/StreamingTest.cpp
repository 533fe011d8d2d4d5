// Checks how payloads travel while a package is built or extracted: this
// program puts its own read(), pread(), write() and copy_file_range() in front
// of the C library's, and its own operator new and delete in front of the
// library's, and records the calls made and the heap in use. It also makes
// writes fail, or the system's copy be missing, on request.
#include "package/PackageTrailer.h"
#include "package/SfxPackage.h"
#include "platform/BufferedFile.h"
#include "platform/FileCopy.h"

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
using platform::kFileCopyBlock;

namespace {

// What the process did between Start() and Stop(). Descriptors 0 to 2 are
// left out: they carry the test's own output.
struct Calls {
    size_t reads = 0; // read() and pread()
    size_t writes = 0;
    size_t largestRead = 0;
    size_t largestWrite = 0;
    size_t bytesRead = 0;
    size_t bytesCopiedBySystem = 0; // moved by copy_file_range()
    size_t firstWrite = 0;          // kept without allocating, so the record never counts itself
    // Writes whose last byte does not end a kFileCopyBlock block of the file.
    size_t writesEndingOffBoundary = 0;
    size_t peakHeapGrowth = 0; // most heap in use beyond what was in use at Start()
};

bool g_tracking = false;
bool g_failWrites = false;
bool g_noSystemCopy = false;
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

void NoteRead(int fd, size_t count, ssize_t n) {
    if (g_tracking && fd > 2) {
        g_calls.largestRead = std::max(g_calls.largestRead, count);
        ++g_calls.reads;
        g_calls.bytesRead += n > 0 ? static_cast<size_t>(n) : 0;
    }
}

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    static auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    const ssize_t n = real(fd, buffer, count);
    NoteRead(fd, count, n);
    return n;
}

extern "C" ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
    static auto real = Next<ssize_t (*)(int, void*, size_t, off_t)>("pread");
    const ssize_t n = real(fd, buffer, count, offset);
    NoteRead(fd, count, n);
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
        if ((static_cast<size_t>(at) + count) % kFileCopyBlock != 0)
            ++g_calls.writesEndingOffBoundary;
    }
    return n;
}

extern "C" ssize_t copy_file_range(int in, off_t* inOffset, int out, off_t* outOffset,
                                   size_t length, unsigned flags) {
    static auto real =
        Next<ssize_t (*)(int, off_t*, int, off_t*, size_t, unsigned)>("copy_file_range");
    if (g_noSystemCopy) {
        errno = EXDEV;
        return -1;
    }
    if (g_failWrites) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t n = real(in, inOffset, out, outOffset, length, flags);
    if (g_tracking && n > 0)
        g_calls.bytesCopiedBySystem += static_cast<size_t>(n);
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

// Builds a package of an information file of infoLength bytes and a payload
// of the given length on an image of imageLength bytes, extracts it again,
// and returns the calls of both. The payload must come back whole.
Calls BuildAndExtract(size_t payloadLength, size_t imageLength = 10, size_t infoLength = 2500) {
    TempFolder dir;
    const std::string payload = Pattern(payloadLength);
    const std::string image = Pattern(imageLength);
    WriteBytes(dir / "setup.exe", payload);
    WriteBytes(dir / "info.ino", std::string(infoLength, 'i'));
    std::filesystem::create_directory(dir / "out");

    Start();
    CSfxPackage w;
    const bool added = w.AddFile(dir / "info.ino") && w.AddFile(dir / "setup.exe");
    const SfxResult built = w.BuildWithImage(image.data(), image.size(), dir / "pkg");
    CSfxPackage r;
    const SfxResult extracted = r.ExtractFrom(dir / "pkg", dir / "out");
    const Calls calls = Stop();

    EXPECT_TRUE(added);
    EXPECT_EQ(built, SFX_OK);
    EXPECT_EQ(extracted, SFX_OK);
    EXPECT_TRUE(ReadBytes(dir / "out/setup.exe") == payload);
    EXPECT_EQ(ReadBytes(dir / "pkg").substr(0, image.size()), image);
    return calls;
}

// The payload of BuildAndExtract starts on a block boundary of the package.
constexpr size_t kAlignedInfo = 2500;
constexpr size_t kAlignedImage = kFileCopyBlock - kAlignedInfo;

} // namespace

TEST(Streaming, AShiftedPayloadGoesInWholeBlocksThroughOneBuffer) {
    const size_t length = 5 * 1000 * 1000 + 123;
    const Calls calls = BuildAndExtract(length);

    // Behind a 10-byte image the payload is shifted against every block, so
    // it goes through the buffer twice (build and extraction).
    EXPECT_GE(calls.bytesRead, 2 * length);
    EXPECT_EQ(calls.bytesCopiedBySystem, 0u);
    EXPECT_LE(calls.largestRead, kFileCopyBlock);
    EXPECT_LE(calls.largestWrite, kFileCopyBlock);
    // One call per block, not one per small piece: about 39 reads and 39
    // writes per pass over 5 MB.
    const size_t perPass = length / kFileCopyBlock + 4;
    EXPECT_LE(calls.reads, 2 * perPass + 32);
    EXPECT_LE(calls.writes, 2 * perPass + 32);
    // Per file written, at most the first write of each copy, the image and
    // the trailer end inside a block: 2 files, 2 copies into the package.
    EXPECT_LE(calls.writesEndingOffBoundary, 8u);
}

TEST(Streaming, AnAlignedPayloadGoesThroughTheSystemsCopy) {
    const size_t length = 5 * 1000 * 1000 + 123;
    const Calls calls = BuildAndExtract(length, kAlignedImage, kAlignedInfo);

    // Into the package and out of it again without passing through here.
    EXPECT_GE(calls.bytesCopiedBySystem, 2 * length);
    EXPECT_LT(calls.bytesRead, size_t(64) * 1024);
}

TEST(Streaming, WithoutTheSystemsCopyTheBufferCarriesThePayload) {
    const size_t length = 3 * 1000 * 1000 + 5;
    g_noSystemCopy = true;
    const Calls calls = BuildAndExtract(length, kAlignedImage, kAlignedInfo);
    g_noSystemCopy = false;

    EXPECT_EQ(calls.bytesCopiedBySystem, 0u);
    EXPECT_GE(calls.bytesRead, 2 * length);
    EXPECT_LE(calls.largestWrite, std::max<size_t>(kFileCopyBlock, kAlignedImage));
}

TEST(Streaming, MemoryInUseDoesNotGrowWithThePayload) {
    for (const bool aligned : {false, true}) {
        SCOPED_TRACE(aligned ? "aligned" : "shifted");
        const size_t image = aligned ? kAlignedImage : 10;
        const Calls small = BuildAndExtract(5 * 1000 * 1000 + 1, image);
        const Calls large = BuildAndExtract(50 * 1000 * 1000 + 7, image);

        EXPECT_EQ(large.largestRead, small.largestRead);
        EXPECT_EQ(large.largestWrite, small.largestWrite);
        // A buffer and the directory; holding even the smaller payload whole
        // would be 5 MB.
        EXPECT_GT(small.peakHeapGrowth, 0u);
        EXPECT_LT(small.peakHeapGrowth, size_t(512) * 1024);
        EXPECT_LE(large.peakHeapGrowth, small.peakHeapGrowth + 4096);
    }
}

TEST(Streaming, ImageGoesInOneCall) {
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
    EXPECT_EQ(ReadBytes(dir / "pkg").substr(0, image.size()), image);
}

// A failing target is reported whichever way the bytes go.
class FailingWrites : public ::testing::TestWithParam<size_t> {};

TEST_P(FailingWrites, AreReportedAndLeaveNoExtractedFile) {
    const size_t imageLength = GetParam();
    const std::string image = Pattern(imageLength);
    TempFolder dir;
    std::filesystem::create_directory(dir / "out");
    WriteBytes(dir / "info.ino", std::string(kAlignedInfo, 'i'));
    WriteBytes(dir / "setup.exe", Pattern(300 * 1000));
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "info.ino") && w.AddFile(dir / "setup.exe"));
    g_failWrites = true;
    const SfxResult failedBuild = w.BuildWithImage(image.data(), image.size(), dir / "failed");
    g_failWrites = false;
    EXPECT_EQ(failedBuild, SFX_ERR_CREATE);
    EXPECT_FALSE(std::filesystem::exists(dir / "failed"));

    ASSERT_EQ(w.BuildWithImage(image.data(), image.size(), dir / "pkg"), SFX_OK);
    CSfxPackage r;
    g_failWrites = true;
    const SfxResult failedExtraction = r.ExtractFrom(dir / "pkg", dir / "out");
    g_failWrites = false;
    EXPECT_EQ(failedExtraction, SFX_ERR_CREATE);
    // The partly extracted file is removed.
    EXPECT_FALSE(std::filesystem::exists(dir / "out/setup.exe"));
}

INSTANTIATE_TEST_SUITE_P(ShiftedAndAligned, FailingWrites,
                         ::testing::Values(size_t{10}, kAlignedImage));

// A source that lost bytes after it was added fails the build as a source,
// with the system's copy and without it.
TEST(Streaming, ASourceShorterThanRecordedIsReportedAsTheSource) {
    for (const bool systemCopy : {true, false}) {
        SCOPED_TRACE(systemCopy ? "system copy" : "buffer");
        TempFolder dir;
        WriteBytes(dir / "setup.exe", Pattern(400 * 1000));
        CSfxPackage w;
        ASSERT_TRUE(w.AddFile(dir / "setup.exe"));
        std::filesystem::resize_file(dir / "setup.exe", 399 * 1000);
        g_noSystemCopy = !systemCopy;
        const std::string image = Pattern(kFileCopyBlock);
        const SfxResult built = w.BuildWithImage(image.data(), image.size(), dir / "pkg");
        g_noSystemCopy = false;
        EXPECT_EQ(built, SFX_ERR_SOURCE);
        EXPECT_FALSE(std::filesystem::exists(dir / "pkg"));
    }
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
