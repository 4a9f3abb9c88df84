#include "tests/support/DsfBuilder.h"
#include "tests/support/RunProgram.h"
#include "tests/support/Shell.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

// sonavel-cli finds the plug-ins beside itself and describes each format through them.
TEST(PluginInfoCommandTest, DescribesFlacAiffAndDsfFiles)
{
    test::TempDir dir;
    const auto wave = dir.Write("tone.wav", test::WaveBuilder().Format(1, 2, 96000, 24).Data(test::CountingBytes(6 * 9600)).Build());
    const auto flac = dir.Path() / "tone.flac";
    const auto aiff = dir.Path() / "tone.aif";
    ASSERT_TRUE(test::Shell("flac -s -f -T TITLE=Tone -o '" + flac.string() + "' '" + wave.string() + "'"));
    ASSERT_TRUE(test::Shell("sox '" + wave.string() + "' '" + aiff.string() + "'"));
    const auto dsf = dir.Write("tone.dsf", test::DsfBuilder({}, {std::vector<uint8_t>(8192, 0x69), std::vector<uint8_t>(8192, 0x96)})
                                               .Id3(test::MakeId3Tag({{"TIT2", 3, {'D', 'S', 'D'}}}))
                                               .Build());

    const auto result = test::RunProgram("sonavel-cli", {"info", flac.string(), aiff.string(), dsf.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* expected : {"formatName: FLAC\n", "title: Tone\n", "samplesPerSec: 96000\n", "bitsPerSample: 24\n",
                                 "dataBytes: 57600\n", "formatName: AIFF, AIF\n", "formatName: DSF\n", "title: DSD\n",
                                 "samplesPerSec: 88200\n", "dataBytes: 16384\n"}) {
        EXPECT_NE(result.out.find(expected), std::string::npos) << expected << "\n" << result.out;
    }
}

} // namespace
} // namespace sonavel
