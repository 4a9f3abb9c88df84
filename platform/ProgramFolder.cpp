#include "platform/ProgramFolder.h"

#include <system_error>

namespace sonavel {

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : exe.parent_path();
}

} // namespace sonavel
