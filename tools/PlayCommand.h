#pragma once

#include <ostream>
#include <span>
#include <string>

namespace sonavel {

// `play [options] FILE...` and `render --out FILE [options] FILE...`: plays the files through the
// player core until playback stops. Returns the exit status: 0 when the play order ended without
// an error report, 1 after an error, 2 for bad arguments.
int RunPlayCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);
int RunRenderCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace sonavel
