#include "core/ExtensionTokens.h"
#include "core/PlayerCore.h"
#include "core/PlaylistCtrl.h"
#include "core/TkCallback.h"
#include "engine/PlayerMessages.h"
#include "engine/ThrAudioPlay.h"
#include "tests/core/CoreTestSession.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace sonavel {
namespace {

using test::CoreTestSession;
using test::WaveBuilder;

// A stereo 16-bit file of `seconds` whole seconds whose samples are never silent.
std::u16string AddWave(CoreTestSession& session, const std::string& name, uint32_t rate, double seconds,
    const std::vector<std::pair<std::string, std::string>>& tags = {})
{
    const auto frames = static_cast<size_t>(rate * seconds);
    std::vector<uint8_t> samples(frames * 4);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<uint8_t>(i % 251 + 1);
    }
    const auto path = session.Dir().Write(name, WaveBuilder().Format(1, 2, rate, 16).InfoList(tags).Data(samples).Build());
    return path.u16string();
}

TEST(PlayerCoreTest, TheDebugSwitchNeedsTheAccessWordRightAfterIt)
{
    const struct {
        std::vector<std::u16string> arguments;
        bool debug;
    } cases[] = {
        {{u"prog", u"-d", u"pX2w"}, true},
        {{u"prog", u"a.wav", u"/D", u"pX2w"}, true},
        {{u"prog", u"-d", u"x", u"-d", u"pX2w"}, true},
        {{u"prog", u"-d"}, false},
        {{u"prog", u"-d", u"other"}, false},
        {{u"prog", u"-d", u"px2w"}, false},
        {{u"prog", u"pX2w", u"-d"}, false},
    };
    for (const auto& c : cases) {
        CoreTestSession session(c.arguments);
        EXPECT_EQ(Core().debugMode, c.debug) << c.arguments.size();
    }
}

TEST(PlayerCoreTest, ExtensionTextsAreCutIntoTokens)
{
    using Tokens = std::vector<std::u16string>;
    EXPECT_EQ(ExtensionTokens(u"DFF"), (Tokens{u"DFF"}));
    EXPECT_EQ(ExtensionTokens(u"AIFF|AIF, AIFC"), (Tokens{u"AIFF", u"AIF", u"AIFC"}));
    EXPECT_EQ(ExtensionTokens(u"AIFF, AIF|AIFC"), (Tokens{u"AIFF", u"AIF|AIFC"}));
    EXPECT_EQ(ExtensionTokens(u" ,|"), Tokens{});

    CoreTestSession session;
    const auto& extensions = Core().playableExtensions;
    ASSERT_GE(extensions.size(), 4u);
    EXPECT_EQ(Tokens(extensions.begin(), extensions.begin() + 3), (Tokens{u"wav", u"mp3", u"cue"}));
    EXPECT_NE(std::find(extensions.begin(), extensions.end(), u"DFF"), extensions.end());
    EXPECT_EQ(Core().playlistExtensions, Tokens{u"ppl"});
}

TEST(PlayerCoreTest, InitialisationSetsUpTheListAndShutdownReleasesEverything)
{
    {
        CoreTestSession session;
        EXPECT_TRUE(Core().ready);
        std::shared_ptr<CPlaylistCtrl> playlist;
        CoreGetPlaylist(&playlist);
        EXPECT_NE(playlist, nullptr);
        const auto& list = session.List();
        EXPECT_EQ(list.GetBounds().left, 18);
        EXPECT_EQ(list.GetBounds().bottom, 191 + 330);
        EXPECT_EQ(list.GetColumnTitles(), (std::vector<std::u16string>{u"Playing", u"Artist", u"Title", u"Duration"}));
        EXPECT_EQ(list.GetColumnWidths(), (std::vector<int32_t>{60, 165, 340, 110}));
        EXPECT_EQ(list.GetExtendedStyle(), 0x21u);
        EXPECT_EQ(list.GetMinColumnWidth(), 50);
        EXPECT_TRUE(list.IsDragReorderEnabled());
        EXPECT_TRUE(list.IsFileDropEnabled());
    }
    EXPECT_FALSE(Core().ready);
    EXPECT_EQ(Core().player, nullptr);
    EXPECT_EQ(Core().playlist, nullptr);
    EXPECT_EQ(CoreStopPlayback(), kCoreNotReady);
    std::shared_ptr<CPlaylistCtrl> playlist;
    CoreGetPlaylist(&playlist);
    EXPECT_EQ(playlist, nullptr);
}

TEST(PlayerCoreTest, RowsShowArtistTitleAndDuration)
{
    CoreTestSession session;
    MusicTrackInfo entry;
    entry.displayName = u"file.wav";
    entry.artist = u"Someone";
    entry.lengthFrames = 75 * 3725;
    CoreInsertRow(entry, 0);
    entry.title = std::u16string(300, u'x');
    entry.lengthFrames = 75 * 65 + 38;
    CoreInsertRow(entry, 1);
    entry.lengthFrames = 0;
    CoreInsertRow(entry, 2);

    const auto& list = session.List();
    EXPECT_EQ(list.GetItemText(0, 1), u"Someone");
    EXPECT_EQ(list.GetItemText(0, 2), u"file.wav");
    EXPECT_EQ(list.GetItemText(0, 3), u"1:02:05");
    EXPECT_EQ(list.GetItemText(1, 2), std::u16string(260, u'x'));
    EXPECT_EQ(list.GetItemText(1, 3), u"1:06");
    EXPECT_EQ(list.GetItemText(2, 3), u"?");
}

TEST(PlayerCoreTest, PlayIsRefusedWithoutDeviceOrEntries)
{
    CoreTestSession session;
    EXPECT_EQ(CorePlay(false), kCoreRefused);
    CoreAddPaths({AddWave(session, "a.wav", 8000, 1)}, -1);
    EXPECT_EQ(CorePlay(true), kCoreOk);
    session.Config().device.value.clear();
    EXPECT_EQ(CorePlay(false), kCoreRefused);
    EXPECT_EQ(CorePlay(true), kCoreRefused);
}

TEST(PlayerCoreTest, TrackDetailsAndTotalDuration)
{
    CoreTestSession session;
    CoreAddPaths({AddWave(session, "a.wav", 8000, 1.5, {{"INAM", "First"}, {"IART", "Band"}}),
                     AddWave(session, "b.wav", 11025, 1)},
        -1);
    TrackDetails details;
    EXPECT_EQ(CoreGetTrackDetails(false, nullptr), kCoreNullArgument);
    ASSERT_EQ(CoreGetTrackDetails(false, &details), kCoreOk);
    EXPECT_EQ(details.title, u"First");
    EXPECT_EQ(details.artist, u"Band");
    EXPECT_EQ(details.displayName, u"a.wav");
    EXPECT_EQ(details.formatName, u"WAVE");
    EXPECT_EQ(details.sampleRate, 8000u);
    EXPECT_EQ(details.bitsPerSample, 16);
    EXPECT_EQ(details.durationSeconds, 2.0);

    EXPECT_EQ(CoreGetTrackDetails(true, &details), kCoreRefused);
    session.List().SetItemSelected(1, true);
    ASSERT_EQ(CoreGetTrackDetails(true, &details), kCoreOk);
    EXPECT_EQ(details.displayName, u"b.wav");
    session.List().SetItemSelected(0, true);
    EXPECT_EQ(CoreGetTrackDetails(true, &details), kCoreRefused);

    int32_t seconds = 0;
    EXPECT_EQ(CoreGetTotalDuration(nullptr), kCoreNullArgument);
    ASSERT_EQ(CoreGetTotalDuration(&seconds), kCoreOk);
    EXPECT_EQ(seconds, 3);
}

TEST(PlayerCoreTest, TheBridgeKeepsStateAndRowImagesInStepWithTheEngine)
{
    CoreTestSession session;
    CoreAddPaths({AddWave(session, "a.wav", 44100, 4), AddWave(session, "b.wav", 44100, 1)}, -1);
    ASSERT_EQ(CorePlay(false), kCoreOk);
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.StatusCount(kStatusStarted) == 1; }));
    EXPECT_EQ(Core().playState, 1);
    EXPECT_EQ(Core().currentEntry, 0);
    EXPECT_EQ(Core().currentLength, 4);

    // A pause before the output runs would be lost: wait for the first second to be played.
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.TrackSeconds() >= 1; }));
    Core().player->Post(WM_PLAYER_PAUSE);
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.StatusCount(kStatusPaused) == 1; }));
    EXPECT_EQ(Core().playState, 2);
    EXPECT_EQ(session.List().GetItemImage(0), kRowImagePaused);
    Core().player->Post(WM_PLAYER_PAUSE);
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.StatusCount(kStatusPaused) == 2; }));
    EXPECT_EQ(Core().playState, 1);
    EXPECT_EQ(session.List().GetItemImage(0), kRowImagePlaying);

    EXPECT_EQ(CoreStopPlayback(), kCoreOk);
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.StatusCount(kStatusStopped) >= 1; }));
    EXPECT_EQ(Core().playState, 0);
    EXPECT_EQ(Core().currentLength, 0);
    EXPECT_EQ(session.List().GetItemImage(0), kRowImageNone);
    EXPECT_TRUE(session.Errors().empty());
}

TEST(PlayerCoreTest, ClearingTheCallbackSilencesTheEngine)
{
    CoreTestSession session;
    CoreAddPaths({AddWave(session, "a.wav", 44100, 1)}, -1);
    CorePlayRow(0);
    EXPECT_EQ(session.List().GetItemImage(0), kRowImagePlaying);
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.StatusCount(kStatusStarted) == 1; }));
    Core().callback = nullptr;
    CoreStopPlayback();
    Core().player->Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    Core().player->Post(WM_PLAYER_STOP, 1, 0);
    CoreShutdown();
    EXPECT_EQ(session.StatusCount(kStatusStopped), 0);
    EXPECT_EQ(session.StatusCount(kStatusStarted), 1);
}

TEST(PlayerCoreTest, ATrackTooLargeForMemoryIsRefusedInRamMode)
{
    // A sparse file whose data chunk claims nearly 4 GiB: more than a track may take in memory.
    const std::vector<uint8_t> header = WaveBuilder().Format(1, 2, 44100, 16).DataClaiming(0xFFFFFF00u, {}).Build();
    const auto path = std::filesystem::temp_directory_path() / ("sonavel-huge-" + std::to_string(getpid()) + ".wav");
    {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    }
    std::filesystem::resize_file(path, header.size() + 0xFFFFFF00ull);

    std::vector<std::u16string> errors;
    {
        CoreTestSession session;
        session.Config().ramMode.value = 1;
        CoreApplyOutputSettings();
        ASSERT_EQ(CoreAddPaths({path.u16string()}, -1), 1);
        ASSERT_EQ(CorePlay(false), kCoreOk);
        EXPECT_TRUE(session.WaitFor([](const CoreTestSession& s) {
            return s.StatusCount(kStatusStopped) >= 1 && !s.Errors().empty();
        }));
        errors = session.Errors();
    }
    std::filesystem::remove(path);
    EXPECT_NE(std::find(errors.begin(), errors.end(), u"Not enough memory"), errors.end());
}

TEST(PlayerCoreTest, DevicesArePassedOverOnAWrapperOfTheirOwn)
{
    CoreTestSession session;
    EXPECT_TRUE(CoreTestDevice(u"File Writer"));
    EXPECT_FALSE(CoreTestDevice(u""));
    EXPECT_FALSE(CoreTestDevice(u"No Such Device"));
    EXPECT_TRUE(CoreOpenControlPanel(u"File Writer"));
    std::vector<PluginListItem> plugins;
    EXPECT_EQ(CoreCreatePluginList(nullptr), kCoreNullArgument);
    ASSERT_EQ(CoreCreatePluginList(&plugins), kCoreOk);
    EXPECT_TRUE(std::any_of(plugins.begin(), plugins.end(), [](const PluginListItem& p) { return p.extension == u"DFF"; }));
}

} // namespace
} // namespace sonavel
