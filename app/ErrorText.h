#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonavel {

// The message shown for a music-source result code: empty for success and end of data, the
// path on a second line for the file errors, the code in hexadecimal for unknown codes.
std::u16string ResultMessage(int32_t code, std::u16string_view path);

// "Playback device does not support source media format (DSD|PCM rate Hz)" with the path.
std::u16string FormatNotSupportedMessage(bool dsd, uint32_t sampleRate, std::u16string_view path);

// "audio device error (code = N)" for a driver result code.
std::u16string DeviceErrorMessage(int32_t driverCode);

} // namespace sonavel
