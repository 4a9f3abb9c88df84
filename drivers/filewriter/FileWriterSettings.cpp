#include "drivers/filewriter/FileWriterSettings.h"

#include "drivers/common/DoubleBufferDriver.h"
#include "output/RateMasks.h"

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace sonavel {

namespace {

std::string_view Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view{};
}

template <typename T>
std::optional<T> ReadNumber(std::string_view text)
{
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::vector<double> ReadRates(std::string_view text)
{
    std::vector<double> rates;
    while (!text.empty()) {
        const auto comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        while (!item.empty() && item.front() == ' ') {
            item.remove_prefix(1);
        }
        while (!item.empty() && item.back() == ' ') {
            item.remove_suffix(1);
        }
        if (const auto rate = ReadNumber<double>(item); rate && *rate > 0) {
            rates.push_back(*rate);
        }
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return rates;
}

} // namespace

FileWriterSettings FileWriterSettings::FromEnvironment()
{
    FileWriterSettings settings;
    settings.out = std::filesystem::path(std::string(Variable("SONAVEL_FILEWRITER_OUT")));
    if (const auto speed = ReadNumber<double>(Variable("SONAVEL_FILEWRITER_SPEED")); speed && *speed >= 0) {
        settings.speed = *speed;
    }
    if (const auto type = ReadNumber<int32_t>(Variable("SONAVEL_FILEWRITER_TYPE"));
        type && HalfBufferBytes(*type, 8) > 0) {
        settings.type = *type;
    }
    if (const auto channels = ReadNumber<int32_t>(Variable("SONAVEL_FILEWRITER_CHANNELS"));
        channels && *channels >= 1 && *channels <= 64) {
        settings.channels = *channels;
    }
    if (const auto size = ReadNumber<int32_t>(Variable("SONAVEL_FILEWRITER_BUFFER"));
        size && *size >= 8 && *size <= 1 << 20) {
        settings.bufferSize = *size;
    }
    settings.rates = ReadRates(Variable("SONAVEL_FILEWRITER_RATES"));
    if (settings.rates.empty()) {
        settings.rates.assign(kPcmRates.begin(), kPcmRates.end());
        settings.rates.insert(settings.rates.end(), kNativeDsdRates.begin(), kNativeDsdRates.end());
    }
    return settings;
}

} // namespace sonavel
