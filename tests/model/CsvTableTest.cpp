#include "model/CsvTable.h"
#include "model/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> FieldsOf(const CsvTable& table) {
    std::vector<Fields> all;
    for (const CsvRecord& r : table.records)
        all.push_back(r.fields);
    return all;
}

TEST(CsvTable, EveryLineEndEndsARecordAndBlankLinesHoldNone) {
    const CsvTable table = ReadCsv("a,b\r\nc,d\ne,f\rg,\n\n\r\n,h");
    ASSERT_TRUE(table.Ok()) << table.error;
    EXPECT_EQ(FieldsOf(table),
              (std::vector<Fields>{{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", ""}, {"", "h"}}));
    EXPECT_EQ(table.records.back().line, 7u);
}

TEST(CsvTable, FaultsNameTheLineTheyAreOn) {
    CsvTable table = ReadCsv("a\n\"b\nc");
    EXPECT_EQ(table.error, "a quoted field is not closed");
    EXPECT_EQ(table.errorLine, 2u);
    EXPECT_TRUE(table.records.empty());
    table = ReadCsv("a\r\n\"multi\r\nline\"x,b");
    EXPECT_EQ(table.error, "text follows a closing quote");
    EXPECT_EQ(table.errorLine, 3u);
}

TEST(CsvTable, AQuoteInsideAPlainFieldIsKept) {
    const CsvTable table = ReadCsv("5\" disk,x");
    ASSERT_TRUE(table.Ok());
    EXPECT_EQ(table.records[0].fields[0], "5\" disk");
}

TEST(CsvTable, WrittenRecordsReadBackUnchanged) {
    const Fields awkward = {"",     "plain", "a,b",     "say \"hi\"", "two\r\nlines",
                            "lf\n", " lead", "trail\t", "\"",         "Zo\xC3\xAB"};
    std::string out;
    AppendCsvRecord(out, awkward);
    AppendCsvRecord(out, {"x"});
    EXPECT_EQ(out.substr(0, 14), ",plain,\"a,b\",\"");
    EXPECT_EQ(out.substr(out.size() - 3), "x\r\n");
    const CsvTable table = ReadCsv(std::string(kUtf8Bom) + out);
    ASSERT_TRUE(table.Ok()) << table.error;
    EXPECT_EQ(FieldsOf(table), (std::vector<Fields>{awkward, {"x"}}));
    EXPECT_EQ(table.records[1].line, 4u); // two line breaks inside the first record
}

struct Utf8Case {
    std::string in;
    std::string out;
};

class SanitizeUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(SanitizeUtf8Test, KeepsWellFormedTextAndReplacesTheRest) {
    EXPECT_EQ(SanitizeUtf8(GetParam().in), GetParam().out);
}

const std::string kFffd = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Bytes, SanitizeUtf8Test,
    ::testing::Values(Utf8Case{"plain", "plain"}, Utf8Case{"Zo\xC3\xAB", "Zo\xC3\xAB"},
                      Utf8Case{"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
                      Utf8Case{"Jos\xE9", "Jos" + kFffd},              // Latin-1 byte
                      Utf8Case{"\xC0\xAF", kFffd + kFffd},             // overlong '/'
                      Utf8Case{"\xED\xA0\x80", kFffd + kFffd + kFffd}, // surrogate
                      Utf8Case{"\xE2\x82", kFffd + kFffd},             // cut short
                      Utf8Case{"\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd}));

TEST(TextEncoding, Utf16TextReadsLikeTheProjectFilesWideTexts) {
    const std::string units("Z\0o\0\xEB\0\x3D\xD8\x00\xDE\x00\xD8", 12);
    EXPECT_EQ(Utf16LeToUtf8(units), "Zo\xC3\xAB\xF0\x9F\x98\x80" + kFffd);
    const CsvTable table = ReadCsv("\xFF\xFE" + std::string("a\0,\0b\0", 6));
    ASSERT_TRUE(table.Ok());
    EXPECT_EQ(table.records[0].fields, (Fields{"a", "b"}));
}

} // namespace
