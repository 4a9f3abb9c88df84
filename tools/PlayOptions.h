#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sonavel {

// The options of `play`, and of `render` with its file-writer settings.
struct PlayOptions {
    std::optional<std::string> device;
    bool debug = false;
    bool ramMode = false;
    // 1 native DSD, 0 DSD over PCM; none: as configured.
    std::optional<int32_t> decodeMode;
    // 0 default, 1 repeat title, 2 repeat playlist.
    int32_t repeatMode = 0;
    bool shuffle = false;
    std::optional<uint32_t> seekSeconds;
    std::optional<std::string> cdDevice;
    std::vector<std::string> files;

    // render only.
    std::string out;
    std::string speed = "20";
    std::optional<std::string> type;
    std::optional<std::string> channels;
    std::optional<std::string> buffer;
};

// Parses the arguments after the command name; an error text describes what is wrong.
std::optional<PlayOptions> ParsePlayOptions(std::span<const std::string> args, bool render, std::string* error);

} // namespace sonavel
