#include "tools/PlayOptions.h"

#include <charconv>
#include <map>

namespace sonavel {

namespace {

bool IsWholeNumber(const std::string& text)
{
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

bool IsPositiveNumber(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

} // namespace

std::optional<PlayOptions> ParsePlayOptions(std::span<const std::string> args, bool render, std::string* error)
{
    PlayOptions options;
    const auto fail = [&](const std::string& text) -> std::optional<PlayOptions> {
        *error = text;
        return std::nullopt;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options.files.insert(options.files.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
        if (arg == "--debug") {
            options.debug = true;
            continue;
        }
        if (arg == "--ram") {
            options.ramMode = true;
            continue;
        }
        if (arg == "--shuffle") {
            options.shuffle = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            return fail("option " + arg + " needs a value");
        }
        const std::string& value = args[++i];
        if (arg == "--device" && !render) {
            options.device = value;
        } else if (arg == "--dsd") {
            if (value != "native" && value != "dop") {
                return fail("--dsd takes native or dop");
            }
            options.decodeMode = value == "native" ? 1 : 0;
        } else if (arg == "--repeat") {
            static const std::map<std::string, int32_t> modes{{"default", 0}, {"title", 1}, {"playlist", 2}};
            const auto mode = modes.find(value);
            if (mode == modes.end()) {
                return fail("--repeat takes default, playlist or title");
            }
            options.repeatMode = mode->second;
        } else if (arg == "--seek") {
            if (!IsWholeNumber(value)) {
                return fail("--seek takes whole seconds");
            }
            options.seekSeconds = static_cast<uint32_t>(std::stoul(value));
        } else if (arg == "--cd") {
            options.cdDevice = value;
        } else if (render && arg == "--out") {
            options.out = value;
        } else if (render && arg == "--speed") {
            if (!IsPositiveNumber(value)) {
                return fail("--speed takes a number, 0 for as fast as possible");
            }
            options.speed = value;
        } else if (render && (arg == "--type" || arg == "--channels" || arg == "--buffer")) {
            if (!IsWholeNumber(value)) {
                return fail(arg + " takes a whole number");
            }
            (arg == "--type" ? options.type : arg == "--channels" ? options.channels : options.buffer) = value;
        } else {
            return fail("unknown option " + arg);
        }
    }
    if (render && options.out.empty()) {
        return fail("render needs --out FILE");
    }
    if (options.files.empty() && !options.cdDevice) {
        return fail("no files to play");
    }
    return options;
}

} // namespace sonavel
