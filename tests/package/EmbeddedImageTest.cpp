#include "platform/EmbeddedImage.h"
#include "package/SfxPackage.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

// Defined by the library that embeds the image under id 131.
int TouchLibraryThatEmbeds();

TEST(EmbeddedImage, LinkedImageIsTheImageFileByteForByte) {
    platform::EmbeddedImage image = platform::FindEmbeddedImage("SFX_EXE", 130);
    ASSERT_TRUE(image);
    const std::string file = ReadBytes(TEST_IMAGE_FILE);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(image.size, file.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data), image.size), file);
    EXPECT_FALSE(platform::FindEmbeddedImage("SFX_EXE", 129));
    EXPECT_FALSE(platform::FindEmbeddedImage("OTHER", 130));
}

TEST(EmbeddedImage, ImageEmbeddedThroughAStaticLibraryIsFound) {
    EXPECT_EQ(TouchLibraryThatEmbeds(), 7);
    platform::EmbeddedImage image = platform::FindEmbeddedImage("SFX_EXE", 131);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.size, std::filesystem::file_size(TEST_IMAGE_FILE));
}

TEST(EmbeddedImage, BuildWritesTheTemplateAtTheFront) {
    TempFolder dir;
    WriteBytes(dir / "setup.exe", "vendor");
    CSfxPackage w;
    ASSERT_TRUE(w.AddFile(dir / "setup.exe"));
    EXPECT_EQ(w.Build(kSfxTemplateSelfkit, dir / "selfkit.pkg"), SFX_ERR_TEMPLATE);
    EXPECT_FALSE(std::filesystem::exists(dir / "selfkit.pkg"));
    ASSERT_EQ(w.Build(kSfxTemplateSetupStub, dir / "setup.pkg"), SFX_OK);

    const std::string image = ReadBytes(TEST_IMAGE_FILE);
    const std::string package = ReadBytes(dir / "setup.pkg");
    ASSERT_EQ(package.size(), image.size() + 6 + 14 + 12 + 9);
    EXPECT_EQ(package.substr(0, image.size()), image);
    CSfxPackage r;
    ASSERT_EQ(r.ReadDirectory(dir / "setup.pkg"), SFX_OK);
    EXPECT_EQ(r.GetEntry(0).m_nOffset, static_cast<int32_t>(image.size()));
}
