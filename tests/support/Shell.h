#pragma once

#include <string>

namespace sonavel::test {

// Runs a shell command line (sox, flac, lame, mpg123 make and check fixtures) with its error
// output and input discarded; true when it exits with 0.
bool Shell(const std::string& command);

} // namespace sonavel::test
