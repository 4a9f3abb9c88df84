#include "output/RateMasks.h"

#include <span>

namespace sonavel {

namespace {

std::optional<uint32_t> RateBit(std::span<const uint32_t> rates, double rate)
{
    for (size_t k = 0; k < rates.size(); ++k) {
        if (static_cast<double>(rates[k]) == rate) {
            return uint32_t{1} << k;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<uint32_t> PcmRateBit(double rate)
{
    return RateBit(kPcmRates, rate);
}

std::optional<uint32_t> NativeDsdRateBit(double rate)
{
    return RateBit(kNativeDsdRates, rate);
}

} // namespace sonavel
