#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace sonavel {

// What the LCD lights: rows of its format, sample-rate and bit-depth tables, -1 for none.
struct LcdIndexes {
    int32_t format = -1;
    int32_t rate = -1;
    int32_t bitDepth = -1;
};

// One label of the format strip: the format text that selects it, where it is drawn on the LCD
// and where the lit label lies in the lit strip.
struct LcdFormatLabel {
    std::u16string_view formatText;
    int32_t x;
    int32_t width;
    int32_t sourceX;
};

inline constexpr std::array<LcdFormatLabel, 7> kLcdFormatLabels = {{
    {u"WAVE", 10, 36, 0},
    {u"AIFF,AIF", 46, 32, 36},
    {u"FLAC", 78, 35, 68},
    {u"M4A", 113, 37, 103},
    {u"MP3", 150, 31, 140},
    {u"DSF", 181, 28, 171},
    {u"DFF", 209, 25, 199},
}};

inline constexpr std::array<uint32_t, 15> kLcdRates = {32000,  44100,   48000,   88200,    96000,
                                                       176400, 192000,  352800,  384000,   705600,
                                                       768000, 2822400, 5644800, 11289600, 22579200};
inline constexpr std::array<int32_t, 4> kLcdBitDepths = {16, 20, 24, 32};

// The labels for a track of format text `format` at `rate` samples per second and `bits` bits per
// sample. DSD carried in 24- or 32-bit words shows its DSD bit rate and no bit depth; MP3 shows
// no bit depth.
LcdIndexes SelectLcdIndexes(std::u16string_view format, uint32_t rate, int32_t bits);

// Glyph value per clock cell (0..9 digits, 10 colon, -1 blank; values above 10 draw nothing):
// h h : m m : s s, with leading hour cells blank.
std::array<int32_t, 8> LcdClockCells(int32_t hours, int32_t minutes, int32_t seconds);

} // namespace sonavel
