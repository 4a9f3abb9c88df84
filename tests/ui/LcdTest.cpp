#include "sources/MusicTypes.h"
#include "ui/LcdDisplayAreaCtrl.h"
#include "ui/LcdIndication.h"

#include <gtest/gtest.h>

namespace sonavel::test {
namespace {

TEST(LcdIndicationTest, SelectsFormatRateAndBitDepthLabels)
{
    const struct {
        std::u16string_view format;
        uint32_t rate;
        int32_t bits;
        LcdIndexes lit;
    } cases[] = {
        {u"WAVE", 44100, 16, {0, 1, 0}},
        {u"WAVE", 22050, 16, {0, -1, 0}},
        {u"AIFF,AIF", 192000, 24, {1, 6, 2}},
        {u"AIFF", 192000, 24, {-1, 6, 2}},
        {u"MP3", 48000, 16, {4, 2, -1}},
        // DSD carried in 24- and 32-bit words shows its DSD rate and no bit depth.
        {u"DSF", 176400, 24, {5, 11, -1}},
        {u"DFF", 88200, 32, {6, 11, -1}},
        {u"DFF", 352800, 32, {6, 13, -1}},
        {u"DFF", 2822400, 8, {6, 11, -1}},
        {u"dff", 88200, 32, {-1, 3, 3}},
        {u"CD-DA", 44100, 16, {-1, 1, 0}},
        {u"FLAC", 768000, 32, {2, 10, 3}},
    };
    for (const auto& c : cases) {
        const LcdIndexes lit = SelectLcdIndexes(c.format, c.rate, c.bits);
        EXPECT_EQ(lit.format, c.lit.format);
        EXPECT_EQ(lit.rate, c.lit.rate);
        EXPECT_EQ(lit.bitDepth, c.lit.bitDepth);
    }
}

TEST(LcdIndicationTest, ClockShowsHoursOnlyWhenThereAreAny)
{
    using Cells = std::array<int32_t, 8>;
    const struct {
        int32_t seconds;
        Cells cells;
    } cases[] = {
        {0, {-1, -1, -1, 0, 0, 10, 0, 0}},
        {59, {-1, -1, -1, 0, 0, 10, 5, 9}},
        {3725, {-1, 1, 10, 0, 2, 10, 0, 5}},
        {36000, {1, 0, 10, 0, 0, 10, 0, 0}},
        // 100..109 hours: the tens cell is glyph 10, a colon; from 110 hours on it draws nothing.
        {105 * 3600, {10, 5, 10, 0, 0, 10, 0, 0}},
        {110 * 3600, {11, 0, 10, 0, 0, 10, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LcdClockCells(c.seconds / 3600, c.seconds % 3600 / 60, c.seconds % 60), c.cells)
            << c.seconds;
    }
}

TEST(LcdDisplayAreaCtrlTest, StoppingClearsTheLabels)
{
    CLcdDisplayAreaCtrl lcd(nullptr);
    MusicTrackInfo entry;
    entry.formatName = u"WAVE";
    entry.format.nSamplesPerSec = 96000;
    entry.format.wBitsPerSample = 24;
    lcd.SetFormat(&entry);
    EXPECT_EQ(lcd.Indexes().rate, 4);
    lcd.SetFormat(nullptr);
    EXPECT_EQ(lcd.Indexes().format, -1);
    EXPECT_EQ(lcd.Indexes().rate, -1);
    EXPECT_EQ(lcd.Indexes().bitDepth, -1);
}

TEST(LcdDisplayAreaCtrlTest, PaintsTheLitLabelsFromItsBitmaps)
{
    QWidget panel;
    panel.resize(709, 567);
    CLcdDisplayAreaCtrl lcd(&panel);
    lcd.LoadBitmaps();
    lcd.setGeometry(211, 52, 278, 71);
    QImage black(709, 567, QImage::Format_RGB32);
    black.fill(Qt::black);
    lcd.SetParentBackground(black);
    MusicTrackInfo entry;
    entry.formatName = u"WAVE";
    entry.format.nSamplesPerSec = 44100;
    entry.format.wBitsPerSample = 16;
    lcd.SetFormat(&entry);
    lcd.SetClock(5, 2, 1);
    const QImage shown = lcd.grab().toImage();
    auto litPixels = [&shown](QRect area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                count += qBlue(shown.pixel(x, y)) > 150 ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_GT(litPixels(QRect(10, 5, 36, 15)), 10);   // WAV lit
    EXPECT_EQ(litPixels(QRect(46, 5, 32, 15)), 0);    // AIFF dim
    EXPECT_GT(litPixels(QRect(13, 31, 58, 11)), 10);  // 44.1kHz
    EXPECT_GT(litPixels(QRect(13, 45, 32, 11)), 10);  // 16bit
    EXPECT_EQ(litPixels(QRect(98, 27, 20, 32)), 0);   // blank tens of hours
    EXPECT_GT(litPixels(QRect(118, 27, 20, 32)), 10); // the hour digit 1
}

} // namespace
} // namespace sonavel::test
