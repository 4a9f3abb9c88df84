#pragma once

#include "tests/support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sonavel::test {

// Runs a shell command line (sox, lame, mpg123 make and check MP3 fixtures); true on exit 0.
bool Shell(const std::string& command);

// A test tone with a sweep, so that every sample differs from its neighbours' positions.
std::filesystem::path MakeWave(const TempDir& dir, const std::string& name, uint32_t rate, int channels, double seconds);

// 16-bit PCM as the mpg123 program decodes the file gaplessly.
std::vector<uint8_t> DecodeWithMpg123(const TempDir& dir, const std::filesystem::path& mp3);

// The 16-bit samples of a WAVE file's data chunk, as sox writes them.
std::vector<uint8_t> RawSamples(const TempDir& dir, const std::filesystem::path& wave);

} // namespace sonavel::test
