#include "app/StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sonavel {

namespace {

struct StringEntry {
    uint32_t id;
    std::u16string_view text;
};

// Sorted by id.
constexpr std::array kStrings{
    StringEntry{100, u"Version Information KESTRANE Sonavel"},
    StringEntry{101, u"Preferences"},
    StringEntry{102, u"KESTRANE Sonavel Error"},
    StringEntry{103, u"Open audio CD"},
    StringEntry{104, u"Properties"},
    StringEntry{140, u"OLE initialization failed. Make sure that the OLE libraries are the correct version."},
    StringEntry{141, u"KESTRANE Sonavel"},
    StringEntry{150, u"Plugin name"},
    StringEntry{151, u"Extension"},
    StringEntry{152, u"Version"},
    StringEntry{160, u"No output device has been selected."},
    StringEntry{161, u"Playlist has been changed. Do you want to save?"},
    StringEntry{170, u"Loading"},
    StringEntry{171, u"Pause"},
    StringEntry{172, u"Stop"},
    StringEntry{180, u"OK"},
    StringEntry{181, u"Cancel"},
    StringEntry{200, u"&File"},
    StringEntry{201, u"&Open..."},
    StringEntry{202, u"Open audio &CD..."},
    StringEntry{203, u"&Add files..."},
    StringEntry{204, u"&Remove files"},
    StringEntry{205, u"&New playlist"},
    StringEntry{206, u"&Load playlist..."},
    StringEntry{207, u"&Save playlist..."},
    StringEntry{208, u"&Exit"},
    StringEntry{210, u"&Playback"},
    StringEntry{211, u"Stop"},
    StringEntry{212, u"Pause"},
    StringEntry{213, u"Play"},
    StringEntry{214, u"Previous"},
    StringEntry{215, u"Next"},
    StringEntry{216, u"Shuffle (playlist)"},
    StringEntry{220, u"Order"},
    StringEntry{221, u"Default"},
    StringEntry{222, u"Repeat (playlist)"},
    StringEntry{223, u"Repeat (title)"},
    StringEntry{230, u"&Configure"},
    StringEntry{231, u"&Device"},
    StringEntry{232, u"Control &Panel"},
    StringEntry{240, u"&Help"},
    StringEntry{241, u"&About"},
    StringEntry{250, u"Play"},
    StringEntry{251, u"Remove"},
    StringEntry{252, u"Properties"},
    StringEntry{1001, u"Version"},
    StringEntry{1024, u"DSD over PCM"},
    StringEntry{1025, u"DSD Native"},
    StringEntry{1026, u"Normal"},
    StringEntry{1027, u"Expand to RAM (Needs More Memory)"},
    StringEntry{1050, u"Filename"},
    StringEntry{1051, u"Title"},
    StringEntry{1052, u"Artist"},
    StringEntry{25001, u"Playing"},
    StringEntry{25002, u"Artist"},
    StringEntry{25003, u"Title"},
    StringEntry{25004, u"Duration"},
    StringEntry{25006, u"Open"},
    StringEntry{25007, u"Add files"},
    StringEntry{25008, u"Load playlist"},
    StringEntry{25009, u"Save playlist"},
    StringEntry{25010, u"All Music File"},
    StringEntry{25011, u"WAVE File"},
    StringEntry{25012, u"MP3 File"},
    StringEntry{25013, u"Cue Sheet"},
    StringEntry{25015, u"Track %02d"},
    StringEntry{25016, u"Parameter error occurred (may be a BUG)"},
    StringEntry{25017, u"Illegal control sequence error occurred (may be a BUG)"},
    StringEntry{25018, u"Can't open file"},
    StringEntry{25019, u"Audio file is broken"},
    StringEntry{25020, u"Can't allocate enough memory"},
    StringEntry{25021, u"Error has been occurred when reading audio data"},
    StringEntry{25022, u"Too large file"},
    StringEntry{25023, u"Unknown error (error code = %08x)"},
    StringEntry{25024, u"Playback device is not available"},
    StringEntry{25025, u"Playback device does not support source media format (%s %dHz)"},
    StringEntry{25026, u"Not enough memory"},
    StringEntry{25027, u"audio device error (code = %d)"},
    StringEntry{57344, u"KESTRANE Sonavel"},
};

static_assert(std::is_sorted(kStrings.begin(), kStrings.end(),
                             [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; }));

const StringEntry* Find(uint32_t id)
{
    const auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                     [](const StringEntry& entry, uint32_t wanted) { return entry.id < wanted; });
    return it != kStrings.end() && it->id == id ? &*it : nullptr;
}

} // namespace

std::u16string_view LoadString(uint32_t id)
{
    const StringEntry* entry = Find(id);
    return entry != nullptr ? entry->text : std::u16string_view{};
}

bool HasString(uint32_t id)
{
    return Find(id) != nullptr;
}

} // namespace sonavel
