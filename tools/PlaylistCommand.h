#pragma once

#include <ostream>
#include <span>
#include <string>

namespace sonavel {

// `playlist --out FILE.ppl FILE...`: adds the files to the player core's playlist in the order
// given, each as a dropped file is added (cue sheets give one entry per track, .ppl files their
// entries), and writes that playlist to FILE.ppl. Returns the exit status: 0 when the playlist was
// written and every file added something, 1 otherwise, 2 for bad arguments.
int RunPlaylistCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace sonavel
