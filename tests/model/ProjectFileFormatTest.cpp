#include "model/AffProject.h"
#include "model/ProjectFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

// "64 00 ff" -> the three bytes; anything but hex digits separates.
std::string Hex(const std::string& text) {
    std::string out;
    int nibbles = 0;
    unsigned value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            continue;
        }
        value = value * 16 + static_cast<unsigned>(std::stoi(std::string(1, c), nullptr, 16));
        if (++nibbles == 2) {
            out.push_back(static_cast<char>(value));
            nibbles = 0;
            value = 0;
        }
    }
    return out;
}

const std::string kCompleteExample = Hex("64 00 00 00  01 00 00 00  00 00 00 00"
                                         "01 50  00  00  00  00  00"
                                         "00 00  00  00"
                                         "01 00  00 00"
                                         "ff ff  64 00  09 00  43 52 65 73 65 6c 6c 65 72"
                                         "64 00 00 00  00 00 00 00  01 41  00  00  00 00 00 00"
                                         "00  00  00  00 00 00 00"
                                         "01 00  00 00"
                                         "ff ff  02 00  0f 00"
                                         "43 50 72 6f 64 75 63 74 52 65 67 49 6e 66 6f"
                                         "00  00 00  01 39");

CAffProject ExampleProject() {
    CAffProject p;
    p.m_strTitle = "P";
    CReseller r;
    r.m_strName = "A";
    p.AddReseller(r);
    auto info = std::make_unique<CProductRegInfo>();
    info->m_wService = 0;
    info->m_strProductId = "9";
    p.m_mapRegInfo.SetAt(0, std::move(info));
    return p;
}

TEST(ProjectFileFormat, CompleteExampleIsWrittenByteForByte) {
    ASSERT_EQ(kCompleteExample.size(), 95u);
    EXPECT_EQ(EncodeProject(ExampleProject()), kCompleteExample);
}

TEST(ProjectFileFormat, CompleteExampleReadsBack) {
    CAffProject p;
    p.m_strTitle = "stale";
    ProjectFileResult result = DecodeProject(kCompleteExample, p);
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(p.m_strTitle, "P");
    EXPECT_EQ(p.m_nNextResellerId, 1u);
    EXPECT_EQ(p.m_dwReserved, 0u);
    ASSERT_EQ(p.m_mapResellers.GetCount(), 1u);
    const CReseller* r = p.LookupReseller(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_strName, "A");
    EXPECT_EQ(r->m_nId, 0u);
    EXPECT_EQ(r->m_bChanged, 1);
    EXPECT_EQ(r->m_nImage, 0);
    const CProductRegInfo* info = p.LookupRegInfo(0);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_strProductId, "9");
    EXPECT_EQ(info->m_strServiceName, "RegNow");
    EXPECT_EQ(EncodeProject(p), kCompleteExample);
}

TEST(ProjectFileFormat, EmptyProjectEndsWithTwoZeroCounts) {
    const std::string bytes = EncodeProject(CAffProject{});
    ASSERT_EQ(bytes.size(), 12u + 6 + 2 + 2 + 4);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), Hex("00 00 00 00"));
}

} // namespace
