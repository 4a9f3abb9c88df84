#include "app/ConfigLocation.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace sonavel {

namespace {

std::filesystem::path HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

} // namespace

std::filesystem::path ConfigFolderPath()
{
    std::filesystem::path base;
    // The base directory specification ignores relative values.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const std::filesystem::path home = HomeFolder();
        if (home.empty()) {
            return {};
        }
        base = home / ".config";
    }
    return base / kConfigCompanyName / kConfigProductName;
}

bool PrepareConfigFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

} // namespace sonavel
