#pragma once

#include "sources/MusicTypes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

class CPlaylistCtrlImpl;
class CPluginCtrl;

// ".ppl" playlist files: UTF-8 with a byte-order mark, one line per entry with seven fields
// (quoted path, source type, quoted title, quoted artist, length, start frame, end frame).

// The line of one entry, without its line end.
std::u16string PlaylistFileLine(const MusicTrackInfo& entry);

// The fields of a line as the reader's field scanner finds them, unquoted. A stray quote inside
// an unquoted field ends the scan with the fields begun before it.
std::vector<std::u16string> SplitPlaylistFileLine(std::u16string_view line);

// Writes every entry in row order and clears the modified flag. The file is replaced atomically,
// so a crash leaves either the old or the new playlist. False when it cannot be written.
bool WritePlaylistFile(CPlaylistCtrlImpl& playlist, const std::u16string& path);

// Appends the entries of a playlist file to `out` (emptied first). Every file is opened once to
// learn its current format; entries whose file cannot be opened and malformed lines are skipped.
// False when the playlist file cannot be read.
bool ReadPlaylistFile(const std::u16string& path, const std::shared_ptr<CPluginCtrl>& registry,
                      std::vector<MusicTrackInfo>& out);

} // namespace sonavel
