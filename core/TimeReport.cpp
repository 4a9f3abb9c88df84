#include "core/TimeReport.h"

#include <algorithm>

namespace sonavel {

TimeReport MakeTimeReport(int32_t elapsedSeconds, int32_t currentLength, int32_t secondsBefore)
{
    if (currentLength == 0) {
        return {elapsedSeconds, secondsBefore};
    }
    const int32_t inTrack = std::min(elapsedSeconds, currentLength);
    return {inTrack, secondsBefore + inTrack};
}

} // namespace sonavel
