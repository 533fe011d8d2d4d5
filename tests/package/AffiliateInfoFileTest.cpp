#include "package/AffiliateInfoFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(AffiliateInfoFile, FifteenByteExampleAndRoundTrip) {
    TempFolder dir;
    CAffiliateInfo info{"K1", "L", ""};
    const std::string expected("\x02\0\0\0K1\x01\0\0\0L\0\0\0\0", 15);
    EXPECT_EQ(EncodeAffiliateInfo(info), expected);

    ASSERT_EQ(WriteAffiliateInfoFile(dir / "afflreg.dat", info), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "afflreg.dat"), expected);

    CAffiliateInfo back{"x", "y", "z"};
    ASSERT_EQ(ReadAffiliateInfoFile(dir / "afflreg.dat", back), SFX_OK);
    EXPECT_EQ(back.m_strKey, "K1");
    EXPECT_EQ(back.m_strLink, "L");
    EXPECT_EQ(back.m_strWebSite, "");
}

TEST(AffiliateInfoFile, RawBytesSurviveUnchanged) {
    TempFolder dir;
    CAffiliateInfo info{"7E0A1C2B-0000-4000-8000-00000000AB12",
                        std::string("https://x/?a=1\r\nb\x01"
                                    "c",
                                    19),
                        std::string(3999, '\xE9')};
    ASSERT_EQ(WriteAffiliateInfoFile(dir / "i.ino", info), SFX_OK);
    CAffiliateInfo back;
    ASSERT_EQ(ReadAffiliateInfoFile(dir / "i.ino", back), SFX_OK);
    EXPECT_EQ(back.m_strKey, info.m_strKey);
    EXPECT_EQ(back.m_strLink, info.m_strLink);
    EXPECT_EQ(back.m_strWebSite, info.m_strWebSite);
}

TEST(AffiliateInfoFile, FieldLongerThanTheLauncherBufferIsNotWritten) {
    TempFolder dir;
    CAffiliateInfo info{"K", std::string(4000, 'l'), ""};
    EXPECT_EQ(WriteAffiliateInfoFile(dir / "i.ino", info), SFX_ERR_CREATE);
    EXPECT_FALSE(std::filesystem::exists(dir / "i.ino"));
}

TEST(AffiliateInfoFile, MalformedLengthsAreRefused) {
    CAffiliateInfo info{"keep", "keep", "keep"};
    const std::string good("\x02\0\0\0K1\x01\0\0\0L\0\0\0\0", 15);
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(DecodeAffiliateInfo(std::string_view(good).substr(0, cut), info), SFX_ERR_MARKER)
            << "cut at " << cut;
    EXPECT_EQ(DecodeAffiliateInfo(std::string("\xFF\xFF\xFF\xFF", 4), info), SFX_ERR_MARKER);
    std::string tooLong("\xA0\x0F\0\0", 4); // 4000
    tooLong += std::string(4000, 'k') + std::string(8, '\0');
    EXPECT_EQ(DecodeAffiliateInfo(tooLong, info), SFX_ERR_MARKER);
    EXPECT_EQ(info.m_strKey, "keep");
    EXPECT_EQ(DecodeAffiliateInfo(good + "trailing", info), SFX_OK);
}

TEST(AffiliateInfoFile, MissingFileAndPlantedLink) {
    TempFolder dir;
    CAffiliateInfo info;
    EXPECT_EQ(ReadAffiliateInfoFile(dir / "absent", info), SFX_ERR_OPEN);

    WriteBytes(dir / "victim", "precious");
    std::filesystem::create_symlink(dir / "victim", dir / "afflreg.dat");
    ASSERT_EQ(WriteAffiliateInfoFile(dir / "afflreg.dat", {"K", "L", "W"}), SFX_OK);
    EXPECT_EQ(ReadBytes(dir / "victim"), "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "afflreg.dat"));
}
