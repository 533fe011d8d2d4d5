// The toolbar strips that velkora.exe carries are the Qt program's drawings:
// a changed drawing fails here until the strips are written again
// (target toolbar_strips).
#include "app/ToolBarStrip.h"
#include "app/AppTexts.h"
#include "ui/ToolbarImages.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Rendering may differ in the last bits between versions of the toolkit; a
// moved line or another colour differs by far more.
constexpr int kTolerance = 8;

struct Strip {
    const char* file;
    bool disabled;
};

void PrintTo(const Strip& s, std::ostream* os) {
    *os << s.file;
}

class ToolbarStripTest : public testing::TestWithParam<Strip> {};

TEST_P(ToolbarStripTest, CheckedInStripIsWhatTheDrawingsGive) {
    const QString path = QStringLiteral(VELKORA_SOURCE_DIR "/ui/win32/") + GetParam().file;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    // The bitmap's header is checked in the images (tests/windows).
    const QByteArray bytes = file.readAll();
    const QImage stored = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    const QImage drawn = ToolbarStrip(GetParam().disabled);
    ASSERT_EQ(stored.size(), drawn.size());
    const QColor key(kToolBarKeyColour.red, kToolBarKeyColour.green, kToolBarKeyColour.blue);
    EXPECT_EQ(stored.pixelColor(0, stored.height() - 1), key) << "the bottom-left pixel";
    int worst = 0, differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = stored.pixel(x, y), b = drawn.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            worst = std::max(worst, d);
            differing += d > kTolerance ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "largest difference " << worst
                            << "; write the strips again: target toolbar_strips";
}

INSTANTIATE_TEST_SUITE_P(Strips, ToolbarStripTest,
                         testing::Values(Strip{"toolbar.bmp", false},
                                         Strip{"toolbar-disabled.bmp", true}),
                         [](const testing::TestParamInfo<Strip>& info) {
                             return info.param.disabled ? "Disabled" : "Normal";
                         });

TEST(ToolbarStrip, KeyColourTakesOnlyTheBackground) {
    // Wherever a drawing is mostly opaque, its pixel must survive the key
    // colour's replacement by the button face.
    const QColor key(kToolBarKeyColour.red, kToolBarKeyColour.green, kToolBarKeyColour.blue);
    for (const bool disabled : {false, true}) {
        const QImage strip = ToolbarStrip(disabled);
        for (const int command : apptext::kToolBarButtons) {
            if (command == 0)
                continue;
            const QImage drawn = ToolbarIcon(command)
                                     .pixmap(24, 24, disabled ? QIcon::Disabled : QIcon::Normal)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32);
            int eaten = 0;
            for (int y = 0; y < 24; ++y) {
                for (int x = 0; x < 24; ++x) {
                    const QColor c = strip.pixelColor(24 * ToolBarImageIndex(command) + x, y);
                    eaten += qAlpha(drawn.pixel(x, y)) >= 60 &&
                             IsNearKeyColour({static_cast<uint8_t>(c.red()),
                                              static_cast<uint8_t>(c.green()),
                                              static_cast<uint8_t>(c.blue())},
                                             kToolBarKeyColour);
                }
            }
            EXPECT_EQ(eaten, 0) << "command " << command << (disabled ? " disabled" : "");
        }
    }
}

} // namespace
