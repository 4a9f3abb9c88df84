#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace sonavel {

// The file writer's settings, from SONAVEL_FILEWRITER_OUT, _SPEED, _TYPE, _CHANNELS, _BUFFER and
// _RATES; a value that does not read as the setting's kind keeps the default.
struct FileWriterSettings {
    std::filesystem::path out; // empty: nothing is written
    double speed = 1.0; // clock speed factor; 0 runs as fast as the host fills buffers
    int32_t type = 18; // the ASIO sample type of every channel
    int32_t channels = 2;
    int32_t bufferSize = 512; // preferred, in samples
    std::vector<double> rates; // accepted rates; default every PCM, DoP and native DSD rate

    static FileWriterSettings FromEnvironment();
};

} // namespace sonavel
