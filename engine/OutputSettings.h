#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace sonavel {

// The engine's own copy of the output settings, taken from the configuration at start-up and
// again when the device dialog closes with OK.
struct OutputSettings {
    std::u16string deviceName;
    bool mp3Gapless = true;
    int32_t thrGapless = -45;
    int32_t decodeMode = 0; // 1 native DSD, otherwise DSD over PCM
    int32_t ramMode = 0;    // non-zero: whole tracks are expanded into memory
};

inline constexpr int32_t kDecodeModeNativeDsd = 1;

// The GUI thread replaces the settings while the engine's threads read them.
class OutputSettingsStore {
public:
    OutputSettings Get() const
    {
        std::lock_guard guard(mutex_);
        return settings_;
    }
    void Set(const OutputSettings& settings)
    {
        std::lock_guard guard(mutex_);
        settings_ = settings;
    }

private:
    mutable std::mutex mutex_;
    OutputSettings settings_;
};

} // namespace sonavel
