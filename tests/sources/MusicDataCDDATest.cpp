#include "sources/DiscImageTransport.h"
#include "sources/MusicDataCDDA.h"
#include "sources/MusicResult.h"
#include "tests/sources/WaveTestSupport.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

constexpr uint32_t kSector = 2352;

struct Disc {
    std::shared_ptr<DiscImageTransport> transport;
    std::vector<uint8_t> image;
};

// Ten audio tracks of `sectors` each, then a data track of 300 sectors.
Disc MakeDisc(uint32_t sectors)
{
    std::vector<DiscImageTransport::Track> tracks;
    for (uint32_t t = 0; t < 10; ++t) {
        tracks.push_back({t * sectors, false});
    }
    tracks.push_back({10 * sectors, true});
    Disc disc;
    disc.image = test::CountingBytes(size_t{10 * sectors + 300} * kSector);
    disc.transport = std::make_shared<DiscImageTransport>(tracks, disc.image);
    return disc;
}

int32_t OpenCd(CMusicDataCDDA& cd)
{
    MusicOpenParams params;
    params.path = u"/dev/sr0";
    return cd.Open(&params);
}

TEST(MusicDataCDDATest, TocListsTheAudioTracks)
{
    Disc disc = MakeDisc(13500);
    CMusicDataCDDA cd(disc.transport);
    ASSERT_EQ(OpenCd(cd), kResultOk);
    EXPECT_EQ(disc.transport->ReadSpeed(), 1200u);
    int count = 0;
    cd.GetTrackCount(&count);
    EXPECT_EQ(count, 10);
    MusicTrackInfo info;
    ASSERT_EQ(cd.GetTrackInfo(2, &info), kResultOk);
    EXPECT_EQ(info.path, u"/dev/sr0");
    EXPECT_EQ(info.displayName, u"/dev/sr0");
    EXPECT_EQ(info.sourceType, kSourceCdda);
    EXPECT_EQ(info.formatName, u"CD-DA");
    EXPECT_EQ(info.title, u"CD Track 03");
    EXPECT_EQ(info.dataBytes, 180u * 75 * 2352);
    EXPECT_EQ(info.lengthFrames, 13500u);
    EXPECT_EQ(info.startFrame, 27000u);
    EXPECT_EQ(info.endFrame, 40499u);
    EXPECT_EQ(info.format.nSamplesPerSec, 44100u);
    EXPECT_EQ(info.format.nBlockAlign, 4);
    EXPECT_EQ(cd.GetTrackInfo(10, &info), kResultBadArgument);
    EXPECT_EQ(cd.GetTrackInfo(-1, &info), kResultBadArgument);
    EXPECT_EQ(cd.GetFileType(), nullptr);
}

TEST(MusicDataCDDATest, DataTrackFirstStillListsEveryAudioTrack)
{
    const std::vector<DiscImageTransport::Track> tracks{{0, true}, {100, false}, {250, false}};
    CMusicDataCDDA cd(std::make_shared<DiscImageTransport>(tracks, std::vector<uint8_t>(size_t{400} * kSector)));
    ASSERT_EQ(OpenCd(cd), kResultOk);
    int count = 0;
    cd.GetTrackCount(&count);
    ASSERT_EQ(count, 2);
    MusicTrackInfo info;
    ASSERT_EQ(cd.GetTrackInfo(1, &info), kResultOk);
    EXPECT_EQ(info.title, u"CD Track 03");
    EXPECT_EQ(info.startFrame, 250u);
    EXPECT_EQ(info.endFrame, 399u);
}

TEST(MusicDataCDDATest, ReadsOneSecondBlocksInCommandsOfAtMost15Sectors)
{
    Disc disc = MakeDisc(200);
    CMusicDataCDDA cd(disc.transport);
    ASSERT_EQ(OpenCd(cd), kResultOk);
    MusicTrackInfo info;
    ASSERT_EQ(cd.GetTrackInfo(1, &info), kResultOk);
    ASSERT_EQ(cd.SetRange(info.startFrame, info.endFrame, 0), kResultOk);
    size_t blocks = 0;
    const auto data = test::ReadToEnd(cd, &blocks);
    EXPECT_EQ(blocks, 3u);
    EXPECT_EQ(data, std::vector<uint8_t>(disc.image.begin() + 200 * kSector, disc.image.begin() + 400 * kSector));
    EXPECT_EQ(disc.transport->LargestRead(), 15u);

    // An offset beyond the range places the cursor one sector before its end.
    cd.SetRange(200, 399, 1000);
    const auto tail = test::ReadToEnd(cd);
    EXPECT_EQ(tail, std::vector<uint8_t>(disc.image.begin() + 398 * kSector, disc.image.begin() + 400 * kSector));

    cd.SetRange(200, 299, 10);
    void* block = nullptr;
    uint32_t bytes = 0;
    ASSERT_EQ(cd.ReadAll(&block, &bytes), kResultOk);
    EXPECT_EQ(bytes, 90u * kSector);
    cd.FreeBuffer(block);
}

TEST(MusicDataCDDATest, MediumRemovedDuringPlayGivesNoMediumAndTheNextReadReopens)
{
    Disc disc = MakeDisc(200);
    CMusicDataCDDA cd(disc.transport);
    ASSERT_EQ(OpenCd(cd), kResultOk);
    cd.SetRange(0, 1999, 0);
    void* block = nullptr;
    uint32_t bytes = 0;
    ASSERT_EQ(cd.ReadNext(&block, &bytes), kResultOk);
    cd.FreeBuffer(block);
    disc.transport->SetMediumPresent(false);
    EXPECT_EQ(cd.ReadNext(&block, &bytes), kResultNoMedium);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(bytes, 0u);
    EXPECT_FALSE(disc.transport->IsOpen());
    disc.transport->SetMediumPresent(true);
    const uint32_t opens = disc.transport->OpenCount();
    ASSERT_EQ(cd.ReadNext(&block, &bytes), kResultOk);
    EXPECT_EQ(disc.transport->OpenCount(), opens + 1);
    cd.FreeBuffer(block);

    // A sector the drive cannot read is a read error, not a missing medium.
    cd.SetRange(2290, 2400, 0);
    EXPECT_EQ(cd.ReadNext(&block, &bytes), kResultReadError);
}

TEST(MusicDataCDDATest, NoDriveOrNoTocCannotBeOpened)
{
    auto absent = std::make_shared<DiscImageTransport>(std::vector<DiscImageTransport::Track>{}, std::vector<uint8_t>{});
    absent->SetMediumPresent(false);
    CMusicDataCDDA cd(absent);
    EXPECT_EQ(OpenCd(cd), kResultCannotOpen);
    CMusicDataCDDA real;
    MusicOpenParams params;
    params.path = u"/dev/no-such-drive";
    EXPECT_EQ(real.Open(&params), kResultCannotOpen);
}

} // namespace
} // namespace sonavel
