#include "tests/support/SelfCreatorFixtures.h"

#include "package/ProductInfoFile.h"

#include <gtest/gtest.h>

namespace {

TEST(ProductInfoFile, WrittenBlocksAreReadBack) {
    ScratchFolder dir;
    const std::string path = dir / "info.ino";
    WriteBytes(path, EncodeProductInfo({kTestUuid, ""}));

    // A product without registration records: 4 + 36 + 4 bytes.
    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x24\0\0\0", 4));
    EXPECT_EQ(bytes.substr(40), std::string(4, '\0'));

    CProductInfo info;
    ASSERT_EQ(ReadProductInfoFile(path, info), ProductInfoStatus::Ok);
    EXPECT_EQ(info.strUuid, kTestUuid);
    EXPECT_EQ(info.strRegistrationList, "");
}

TEST(ProductInfoFile, BinaryBytesAndTheLargestBlockPass) {
    ScratchFolder dir;
    const std::string list(3999, '\n');
    WriteBytes(dir / "a", ProductInfoBytes(std::string("\r\n\0x", 4), list));
    CProductInfo info;
    ASSERT_EQ(ReadProductInfoFile(dir / "a", info), ProductInfoStatus::Ok);
    EXPECT_EQ(info.strUuid, std::string("\r\n\0x", 4));
    EXPECT_EQ(info.strRegistrationList, list);
}

TEST(ProductInfoFile, OversizedBlocksAndShortFilesAreCorrupted) {
    ScratchFolder dir;
    CProductInfo info;
    const auto status = [&](const std::string& bytes) {
        WriteBytes(dir / "f", bytes);
        return ReadProductInfoFile(dir / "f", info);
    };
    EXPECT_EQ(status(ProductInfoBytes(kTestUuid, std::string(4000, 'x'))),
              ProductInfoStatus::Corrupted);
    EXPECT_EQ(status(ProductInfoBytes(std::string(4000, 'x'), "RegNow;1;")),
              ProductInfoStatus::Corrupted);
    EXPECT_EQ(status(std::string("\xff\xff\xff\xff", 4)), ProductInfoStatus::Corrupted);
    // Length says 10, five bytes follow.
    EXPECT_EQ(status(std::string("\x0a\0\0\0abcde", 9)), ProductInfoStatus::Corrupted);
    // Block 2 missing, or its length cut short.
    EXPECT_EQ(status(LengthPrefixed(kTestUuid)), ProductInfoStatus::Corrupted);
    EXPECT_EQ(status(LengthPrefixed(kTestUuid) + std::string("\x05\0", 2)),
              ProductInfoStatus::Corrupted);
    EXPECT_EQ(status(""), ProductInfoStatus::Corrupted);
    EXPECT_EQ(ReadProductInfoFile(dir / "missing", info), ProductInfoStatus::OpenFailed);
}

} // namespace
