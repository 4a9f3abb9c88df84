#pragma once

#include <ostream>
#include <span>
#include <string>

namespace sonavel {

// `info FILE...`: one block of key: value lines per track of every file. Returns the exit status.
int RunInfoCommand(std::span<const std::string> files, std::ostream& out, std::ostream& err);

} // namespace sonavel
