#include "tests/support/Mp3Fixtures.h"

namespace sonavel::test {

std::filesystem::path MakeWave(const TempDir& dir, const std::string& name, uint32_t rate, int channels, double seconds)
{
    const auto path = dir.Path() / name;
    Shell("sox -n -r " + std::to_string(rate) + " -b 16 -c " + std::to_string(channels) + " '" + path.string() +
          "' synth " + std::to_string(seconds) + " sine 200-3000 vol 0.6");
    return path;
}

bool EncodeMp3(const std::filesystem::path& wave, const std::filesystem::path& mp3, const std::string& options)
{
    return Shell("lame --quiet " + options + " '" + wave.string() + "' '" + mp3.string() + "'");
}

std::vector<uint8_t> DecodeWithMpg123(const TempDir& dir, const std::filesystem::path& mp3)
{
    const auto raw = dir.Path() / (mp3.filename().string() + ".mpg123.raw");
    Shell("mpg123 -q -s '" + mp3.string() + "' > '" + raw.string() + "'");
    return ReadFileBytes(raw);
}

std::vector<uint8_t> RawSamples(const TempDir& dir, const std::filesystem::path& wave)
{
    const auto raw = dir.Path() / (wave.filename().string() + ".raw");
    Shell("sox '" + wave.string() + "' -t raw '" + raw.string() + "'");
    return ReadFileBytes(raw);
}

} // namespace sonavel::test
