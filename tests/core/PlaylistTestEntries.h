#pragma once

#include "sources/MusicTypes.h"

#include <cstdint>
#include <string>

namespace sonavel::test {

// A WAVE entry whose title names its original row, so tests can follow entries through edits.
inline MusicTrackInfo NamedEntry(int32_t id)
{
    MusicTrackInfo entry;
    entry.path = u"/music/" + std::u16string(1, static_cast<char16_t>(u'a' + id)) + u".wav";
    entry.title = std::u16string(1, static_cast<char16_t>(u'0' + id));
    entry.sourceType = kSourceWave;
    entry.lengthFrames = 75;
    return entry;
}

inline int32_t EntryId(const MusicTrackInfo& entry)
{
    return entry.title.empty() ? -1 : entry.title[0] - u'0';
}

} // namespace sonavel::test
