#include "drivers/filewriter/FileSequence.h"

#include <map>
#include <mutex>

namespace sonavel {

int NextFileNumber(const std::filesystem::path& out)
{
    static std::mutex mutex;
    static std::map<std::filesystem::path, int> numbers;
    std::lock_guard guard(mutex);
    return ++numbers[out.lexically_normal()];
}

} // namespace sonavel
