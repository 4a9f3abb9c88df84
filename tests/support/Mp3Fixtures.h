#pragma once

#include "tests/support/Shell.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sonavel::test {

// A test tone with a sweep, so that every sample differs from its neighbours' positions.
std::filesystem::path MakeWave(const TempDir& dir, const std::string& name, uint32_t rate, int channels, double seconds);

// Encodes a WAVE file with lame and the given options; true when lame succeeded.
bool EncodeMp3(const std::filesystem::path& wave, const std::filesystem::path& mp3, const std::string& options);

// 16-bit PCM as the mpg123 program decodes the file gaplessly.
std::vector<uint8_t> DecodeWithMpg123(const TempDir& dir, const std::filesystem::path& mp3);

// The 16-bit samples of a WAVE file's data chunk, as sox writes them.
std::vector<uint8_t> RawSamples(const TempDir& dir, const std::filesystem::path& wave);

} // namespace sonavel::test
