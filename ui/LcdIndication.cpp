#include "ui/LcdIndication.h"

#include <algorithm>

namespace sonavel {
namespace {

template <typename Table, typename Value> int32_t IndexOf(const Table& table, Value value)
{
    const auto found = std::find(table.begin(), table.end(), value);
    return found == table.end() ? -1 : static_cast<int32_t>(found - table.begin());
}

} // namespace

LcdIndexes SelectLcdIndexes(std::u16string_view format, uint32_t rate, int32_t bits)
{
    uint64_t shownRate = rate;
    if (format == u"DSF" || format == u"DFF") {
        if (bits == 24) {
            shownRate *= 16;
            bits = 1;
        } else if (bits == 32) {
            shownRate *= 32;
            bits = 1;
        }
    } else if (format == u"MP3") {
        bits = 0;
    }
    LcdIndexes indexes;
    for (size_t i = 0; i < kLcdFormatLabels.size(); ++i) {
        if (kLcdFormatLabels[i].formatText == format) {
            indexes.format = static_cast<int32_t>(i);
        }
    }
    indexes.rate = IndexOf(kLcdRates, shownRate);
    indexes.bitDepth = IndexOf(kLcdBitDepths, bits);
    return indexes;
}

std::array<int32_t, 8> LcdClockCells(int32_t hours, int32_t minutes, int32_t seconds)
{
    constexpr int32_t kColon = 10;
    std::array<int32_t, 8> cells = {hours / 10,   hours % 10, kColon,       minutes / 10,
                                    minutes % 10, kColon,     seconds / 10, seconds % 10};
    if (hours / 10 == 0) {
        cells[0] = -1;
    }
    if (hours == 0) {
        cells[1] = -1;
        cells[2] = -1;
    }
    return cells;
}

} // namespace sonavel
