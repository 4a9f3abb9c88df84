#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonavel {

// Whether a File menu item (or Shuffle) is enabled in a display state; ids without a rule are
// always enabled.
bool IsMenuItemEnabled(int commandId, bool playing, bool cdMode);

// The window title: "<track> - " before the application title while a track is current, with
// "[Loading <n>%...] " in front while a load is reported (loadPercent 0..99), and " [Debug Mode]"
// after it in debug mode.
std::u16string BuildWindowTitle(bool hasTrack, std::u16string_view trackTitle, int32_t loadPercent,
                                bool debugMode);

// "h:mm:ss / h:mm:ss" of the elapsed time in the play order and the playlist's total.
std::u16string FormatTimeText(int32_t elapsedSeconds, int32_t totalSeconds);

// "m:ss", the seek bar's tool tip.
std::u16string FormatSeekTip(int32_t seconds);

// Whether a position report may move the seek thumb: not while the user drags it, not while a
// seek is pending and not within 250 ms after the thumb was pressed or released.
bool ThumbFollowsReports(bool tracking, int32_t seekState, uint32_t lastThumbTick, uint32_t now);

struct TrackingSize {
    int width;
    int height;
    bool operator==(const TrackingSize&) const = default;
};

// The smallest size the main window may be given: 320 x 240 at 96 dpi, scaled to the screen's
// resolution (96 dpi when it is unknown).
TrackingSize MinimumTrackingSize(int dpiX, int dpiY);

// The first word of a format text (separators comma and blank), the status word while playing.
std::u16string FirstFormatToken(std::u16string_view formatName);

} // namespace sonavel
