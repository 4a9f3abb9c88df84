#include "tests/support/Shell.h"

#include <cstdlib>

namespace sonavel::test {

bool Shell(const std::string& command)
{
    return std::system((command + " 2>/dev/null </dev/null").c_str()) == 0;
}

} // namespace sonavel::test
