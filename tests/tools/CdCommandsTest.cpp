// `info --cd` and `play --cd` run in this process: a real drive cannot be put in front of the
// program, a disc image behind the CD transport can.
#include "tests/support/DiscInDrive.h"
#include "tests/support/TempDir.h"
#include "tools/InfoCommand.h"
#include "tools/PlayCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace sonavel {
namespace {

using test::DiscInDrive;
using test::TempDir;

constexpr uint32_t kSector = DiscImageTransport::kSectorBytes;

// The bytes of the data chunk of a RIFF WAVE file.
std::vector<uint8_t> WaveData(const std::filesystem::path& path)
{
    const auto bytes = test::ReadFileBytes(path);
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 |
                              static_cast<uint32_t>(bytes[at + 7]) << 24;
        if (std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4, "data")) {
            const size_t end = std::min(bytes.size(), at + 8 + size);
            return {bytes.begin() + static_cast<std::ptrdiff_t>(at) + 8,
                    bytes.begin() + static_cast<std::ptrdiff_t>(end)};
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

class CdCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", (dir_.Path() / "config").c_str(), 1); }
    // render leaves the file writer's settings in the environment, where the programs that later
    // tests start would find them.
    void TearDown() override
    {
        for (const char* name :
             {"XDG_CONFIG_HOME", "SONAVEL_FILEWRITER_OUT", "SONAVEL_FILEWRITER_SPEED",
              "SONAVEL_FILEWRITER_TYPE", "SONAVEL_FILEWRITER_CHANNELS", "SONAVEL_FILEWRITER_BUFFER"}) {
            unsetenv(name);
        }
    }

    TempDir dir_;
    // Two audio tracks of one and two seconds, then a data track.
    DiscInDrive disc_{{{0, false}, {75, false}, {225, true}}, 300};
};

TEST_F(CdCommandsTest, InfoListsTheAudioTracksOfTheDisc)
{
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> args{"--cd", "/dev/sr0"};
    EXPECT_EQ(RunInfoCommand(args, out, err), 0);
    EXPECT_EQ(err.str(), "");
    const auto block = [](const std::string& title, const std::string& bytes, const std::string& range) {
        return "path: /dev/sr0\ndisplayName: /dev/sr0\nsourceType: 1\nformatName: CD-DA\ndataBytes: " +
               bytes + "\ntitle: " + title +
               "\nartist: \nformatTag: 1\nchannels: 2\nsamplesPerSec: 44100\navgBytesPerSec: 176400\n"
               "blockAlign: 4\nbitsPerSample: 16\n" +
               range + "\n\n";
    };
    EXPECT_EQ(out.str(),
              block("CD Track 01", "176400", "lengthFrames: 75\nstartFrame: 0\nendFrame: 74") +
                  block("CD Track 02", "352800", "lengthFrames: 150\nstartFrame: 75\nendFrame: 224"));
}

TEST_F(CdCommandsTest, PlayPlaysTheAudioTracksBitForBit)
{
    const auto output = dir_.Path() / "cd.wav";
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> args{"--out", output.string(), "--type", "16", "--cd", "/dev/sr0"};
    EXPECT_EQ(RunRenderCommand(args, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("tracks: 2,"), std::string::npos) << out.str();
    // Each track restarts the output, so the file writer writes it into a file of its own, sample
    // for sample after the silence an output starts with.
    const auto image = test::CountingBytes(size_t{225} * kSector);
    const auto contains = [](const std::vector<uint8_t>& written, auto begin, auto end) {
        return std::search(written.begin(), written.end(), begin, end) != written.end();
    };
    const auto track2 = image.begin() + 75 * kSector;
    EXPECT_TRUE(contains(WaveData(output), image.begin(), track2));
    EXPECT_TRUE(contains(WaveData(dir_.Path() / "cd.2.wav"), track2, image.end()));
}

} // namespace
} // namespace sonavel
