#include "platform/Tick.h"

#include <chrono>

namespace sonavel {

uint64_t TickMs64()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t TickMs()
{
    return static_cast<uint32_t>(TickMs64());
}

} // namespace sonavel
