#include "model/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// The same writes through a sizing writer and a real one.
void WriteSample(CArchiveWriter& w, size_t textLength) {
    w.WriteCount(3);
    w.WriteObjectTag("CReseller", 100);
    w.WriteU32(100);
    w.WriteText(std::string(textLength, 'x'));
    w.WriteObjectTag("CReseller", 100); // a reference to the class
    w.WriteU16(7);
    w.WriteCount(0x10000);
}

class ArchiveSizing : public testing::TestWithParam<size_t> {};

// Text lengths at each edge of the three length forms.
TEST_P(ArchiveSizing, CountsExactlyTheBytesOfARealWrite) {
    CArchiveWriter real;
    WriteSample(real, GetParam());
    CArchiveWriter sizing = CArchiveWriter::Sizing();
    WriteSample(sizing, GetParam());
    EXPECT_EQ(sizing.Size(), real.Bytes().size());
    EXPECT_EQ(real.Size(), real.Bytes().size());
    EXPECT_TRUE(sizing.Bytes().empty());
}

INSTANTIATE_TEST_SUITE_P(TextLengths, ArchiveSizing,
                         testing::Values(0, 254, 255, 0xFFFD, 0xFFFE, 0xFFFF, 0x10000));

} // namespace
