#pragma once

#include "sources/MusicData.h"
#include "sources/MusicTypes.h"

#include <filesystem>
#include <functional>
#include <string>

namespace sonavel::bench {

// The fastest of `repetitions` runs, in seconds: the least disturbed by the rest of the machine.
double Best(const std::function<void()>& run, int repetitions);

// Runs a shell command line; true when it exits with 0.
bool Shell(const std::string& command);

// Opens a file in a source and returns its track; exits the program when that fails.
MusicTrackInfo OpenSource(CMusicData& source, const std::filesystem::path& path);

// Reads frame75s 0 to lastFrame block by block as the engine's loader does; the bytes read.
uint64_t ReadAll(CMusicData& source, uint32_t lastFrame);

} // namespace sonavel::bench
