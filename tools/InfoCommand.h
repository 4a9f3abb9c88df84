#pragma once

#include <ostream>
#include <span>
#include <string>

namespace sonavel {

// `info [--cd DEVICE] FILE...`: one block of key: value lines per track of every file (every entry
// of a .ppl playlist file) and of every disc named with --cd. Returns the exit status.
int RunInfoCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace sonavel
