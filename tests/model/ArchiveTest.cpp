#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

std::string PrefixOf(const std::string& text) {
    CArchiveWriter w;
    w.WriteText(text);
    EXPECT_EQ(w.Bytes().substr(w.Bytes().size() - text.size()), text);
    return w.Bytes().substr(0, w.Bytes().size() - text.size());
}

std::string ReadBack(const std::string& bytes, bool expectOk = true) {
    CArchiveReader r(bytes);
    std::string text;
    EXPECT_EQ(r.ReadText(text), expectOk);
    if (expectOk) {
        EXPECT_EQ(r.Remaining(), 0u);
    }
    return text;
}

TEST(Archive, TextLengthPrefixesAtEachThreshold) {
    EXPECT_EQ(PrefixOf(""), Bytes({0x00}));
    EXPECT_EQ(PrefixOf(std::string(254, 'a')), Bytes({0xFE}));
    EXPECT_EQ(PrefixOf(std::string(255, 'a')), Bytes({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(PrefixOf(std::string(65533, 'a')), Bytes({0xFF, 0xFD, 0xFF}));
    // 65534 would read as the wide-text mark in the short form.
    EXPECT_EQ(PrefixOf(std::string(65534, 'a')), Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(PrefixOf(std::string(70000, 'a')), Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));

    for (size_t length : {0, 1, 254, 255, 256, 65533, 65534, 65535, 70000}) {
        std::string text(length, 'x');
        if (length)
            text[length - 1] = 'y';
        CArchiveWriter w;
        w.WriteText(text);
        EXPECT_EQ(ReadBack(w.Bytes()), text) << length;
    }
}

TEST(Archive, WideTextIsConvertedToUtf8) {
    // "hé€" and U+1F600 as a surrogate pair, 5 code units.
    const std::string wide =
        Bytes({0xFF, 0xFE, 0xFF, 0x05, 'h', 0x00, 0xE9, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE});
    EXPECT_EQ(ReadBack(wide), "h\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");

    // The second prefix follows the same rules: 0xFF and a u16 count.
    std::string longWide = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01});
    for (int i = 0; i < 300; ++i)
        longWide += Bytes({'w', 0x00});
    EXPECT_EQ(ReadBack(longWide), std::string(300, 'w'));

    // A lone surrogate cannot be represented and becomes U+FFFD.
    EXPECT_EQ(ReadBack(Bytes({0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xDC})), "\xEF\xBF\xBD");
}

TEST(Archive, TextsLongerThanTheDataAreRefused) {
    ReadBack(Bytes({0x03, 'a', 'b'}), false);
    ReadBack(Bytes({0xFF, 0x00, 0x01}), false);
    // A u32 length of four billion must not be allocated.
    ReadBack(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}), false);
    // Three code units announced, five bytes present.
    ReadBack(Bytes({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c'}), false);
    // The wide mark twice names no length.
    ReadBack(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}), false);
    ReadBack(Bytes({0xFF, 0xFE}), false);
}

TEST(Archive, CountsEscapeAt0xFFFF) {
    CArchiveWriter w;
    w.WriteCount(0xFFFE);
    w.WriteCount(0xFFFF);
    w.WriteCount(65536);
    EXPECT_EQ(w.Bytes(), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                                0x00, 0x01, 0x00}));
    CArchiveReader r(w.Bytes());
    uint32_t a = 0, b = 0, c = 0;
    ASSERT_TRUE(r.ReadCount(a) && r.ReadCount(b) && r.ReadCount(c));
    EXPECT_EQ(a, 0xFFFEu);
    EXPECT_EQ(b, 0xFFFFu);
    EXPECT_EQ(c, 65536u);
    uint32_t d;
    const std::string cutBytes = Bytes({0xFF, 0xFF, 0x01, 0x00}); // the reader only views it
    CArchiveReader cut(cutBytes);
    EXPECT_FALSE(cut.ReadCount(d));
}

TEST(Archive, ClassIndicesBeyond0x7FFEUseTheEscape) {
    CArchiveWriter w;
    w.WriteObjectTag("A", 1); // class 1, object 2
    for (int i = 0; i < 0x7FFF; ++i)
        w.WriteObjectTag("A", 1); // objects 3 .. 0x8001
    const size_t before = w.Bytes().size();
    w.WriteObjectTag("B", 7); // class 0x8002, object 0x8003
    w.WriteObjectTag("B", 7);
    EXPECT_EQ(w.Bytes().substr(before + 7), Bytes({0xFF, 0x7F, 0x02, 0x80, 0x00, 0x80}));

    CArchiveReader r(w.Bytes());
    uint16_t schema = 0;
    for (int i = 0; i < 0x8000; ++i)
        ASSERT_TRUE(r.ReadObjectTag("A", schema));
    EXPECT_TRUE(r.ReadObjectTag("B", schema));
    EXPECT_EQ(schema, 7);
    schema = 0;
    EXPECT_TRUE(r.ReadObjectTag("B", schema));
    EXPECT_EQ(schema, 7);
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(Archive, ObjectTagsThatNameNoClassAreRefused) {
    const std::string newA = Bytes({0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00, 'A'});
    struct Case {
        const char* what;
        std::string second;
    };
    const Case cases[] = {
        {"null tag", Bytes({0x00, 0x00})},
        {"earlier object", Bytes({0x02, 0x00})},
        {"earlier class as object", Bytes({0x01, 0x00})},
        {"class-seen tag naming the object", Bytes({0x02, 0x80})},
        {"class-seen tag naming nothing", Bytes({0x05, 0x80})},
        {"class index 0", Bytes({0x00, 0x80})},
        {"escaped object reference", Bytes({0xFF, 0x7F, 0x02, 0x00, 0x00, 0x00})},
        {"escaped class naming nothing", Bytes({0xFF, 0x7F, 0x09, 0x00, 0x00, 0x80})},
        {"escape cut short", Bytes({0xFF, 0x7F, 0x01, 0x00})},
        {"other class name", Bytes({0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00, 'B'})},
        {"name cut short", Bytes({0xFF, 0xFF, 0x01, 0x00, 0x02, 0x00, 'A'})},
    };
    for (const Case& c : cases) {
        const std::string bytes = newA + c.second; // the reader only views it
        CArchiveReader r(bytes);
        uint16_t schema;
        ASSERT_TRUE(r.ReadObjectTag("A", schema));
        EXPECT_FALSE(r.ReadObjectTag("A", schema)) << c.what;
    }
    // Accepted forms for comparison.
    for (const std::string& ok : {Bytes({0x01, 0x80}), Bytes({0xFF, 0x7F, 0x01, 0, 0, 0x80})}) {
        const std::string bytes = newA + ok;
        CArchiveReader r(bytes);
        uint16_t schema;
        ASSERT_TRUE(r.ReadObjectTag("A", schema));
        EXPECT_TRUE(r.ReadObjectTag("A", schema));
    }
}

TEST(Archive, ClassNamesLongerThan63BytesAreRefused) {
    for (size_t length : {63u, 64u}) {
        const std::string name(length, 'N');
        std::string bytes = Bytes({0xFF, 0xFF, 0x01, 0x00, static_cast<int>(length), 0x00}) + name;
        CArchiveReader r(bytes);
        uint16_t schema;
        EXPECT_EQ(r.ReadObjectTag(name, schema), length == 63) << length;
    }
}

} // namespace
