#include "ui/PlayerDisplayRules.h"

#include "app/StringTable.h"
#include "app/TextFormat.h"
#include "ui/CommandIds.h"

namespace sonavel {
bool IsMenuItemEnabled(int commandId, bool playing, bool cdMode)
{
    switch (commandId) {
    case command::kOpen:
    case command::kOpenCd:
    case command::kNewPlaylist:
    case command::kLoadPlaylist:
    case command::kShuffle:
        return !playing;
    case command::kAddFiles:
        return !cdMode;
    case command::kSavePlaylist:
        return !playing && !cdMode;
    default:
        return true;
    }
}

std::u16string BuildWindowTitle(bool hasTrack, std::u16string_view trackTitle, int32_t loadPercent,
                                bool debugMode)
{
    std::u16string title;
    if (hasTrack) {
        title = loadPercent >= 0 && loadPercent < 100
                    ? FormatText(u"[%s %u%%...] %s - ",
                                 {LoadString(strings::kLoading), int64_t{loadPercent}, trackTitle})
                    : FormatText(u"%s - ", {trackTitle});
    }
    title += LoadString(strings::kApplicationTitle);
    if (debugMode) {
        title += u" [Debug Mode]";
    }
    return title;
}

std::u16string FormatTimeText(int32_t elapsedSeconds, int32_t totalSeconds)
{
    return FormatText(u"%d:%02d:%02d / %d:%02d:%02d",
                      {int64_t{elapsedSeconds / 3600}, int64_t{elapsedSeconds % 3600 / 60},
                       int64_t{elapsedSeconds % 60}, int64_t{totalSeconds / 3600},
                       int64_t{totalSeconds % 3600 / 60}, int64_t{totalSeconds % 60}});
}

std::u16string FormatSeekTip(int32_t seconds)
{
    return FormatText(u"%d:%02d", {int64_t{seconds / 60}, int64_t{seconds % 60}});
}

bool ThumbFollowsReports(bool tracking, int32_t seekState, uint32_t lastThumbTick, uint32_t now)
{
    const bool withinThumbPause = lastThumbTick<now&& static_cast<uint64_t>(lastThumbTick) + 250> now;
    return !tracking && seekState == 0 && !withinThumbPause;
}

TrackingSize MinimumTrackingSize(int dpiX, int dpiY)
{
    // Rounded to the nearest, as the system's MulDiv does.
    const auto scale = [](int value, int dpi) {
        return static_cast<int>((static_cast<int64_t>(value) * (dpi > 0 ? dpi : 96) + 48) / 96);
    };
    return TrackingSize{scale(320, dpiX), scale(240, dpiY)};
}

std::u16string FirstFormatToken(std::u16string_view formatName)
{
    const size_t start = formatName.find_first_not_of(u", ");
    if (start == std::u16string_view::npos) {
        return {};
    }
    const size_t end = formatName.find_first_of(u", ", start);
    return std::u16string(formatName.substr(start, end == std::u16string_view::npos ? end : end - start));
}

} // namespace sonavel
