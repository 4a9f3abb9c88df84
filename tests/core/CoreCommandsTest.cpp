#include "core/PlayerCore.h"
#include "core/PlaylistCtrlImpl.h"
#include "core/TkCallback.h"
#include "engine/ThrAudioPlay.h"
#include "platform/FileExtension.h"
#include "tests/core/CoreTestSession.h"
#include "tests/support/DiscInDrive.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sonavel {
namespace {

using test::CoreTestSession;
using test::DiscInDrive;
using test::WaveBuilder;
using Names = std::vector<std::u16string>;

// A mono 8-bit file of `seconds` at 8000 Hz: cheap to open and to play.
std::u16string WriteWave(const CoreTestSession& session, const std::string& name, uint32_t seconds = 1)
{
    return session.Dir()
        .Write(name, WaveBuilder().Format(1, 1, 8000, 8).Data(test::CountingBytes(8000 * seconds)).Build())
        .u16string();
}

// A stereo 16-bit file at 44.1 kHz, long enough to be caught while it plays.
std::u16string WriteCdQualityWave(const CoreTestSession& session, const std::string& name, uint32_t seconds)
{
    return session.Dir()
        .Write(name,
               WaveBuilder().Format(1, 2, 44100, 16).Data(test::CountingBytes(176400 * seconds)).Build())
        .u16string();
}

// Adds a.wav, b.wav, ... (one per letter of `letters`) in that order.
void AddLettered(const CoreTestSession& session, const std::string& letters)
{
    for (const char letter : letters) {
        ASSERT_EQ(CoreAddPaths({WriteWave(session, std::string(1, letter) + ".wav")}, -1), 1);
    }
}

// The title column of every row.
Names RowNames(const CMemoryListCtrl& list)
{
    Names names;
    for (int32_t row = 0; row < list.GetItemCount(); ++row) {
        names.push_back(list.GetItemText(row, 2));
    }
    return names;
}

// The playlist's entries as their rows show them: the title, else the file name.
Names EntryNames()
{
    const auto& store = *Core().playlistStore;
    Names names;
    MusicTrackInfo entry;
    for (int32_t i = 0; i < store.GetEntryCount(); ++i) {
        store.GetEntry(i, &entry);
        names.push_back(entry.title.empty() ? entry.displayName : entry.title);
    }
    return names;
}

// Playback has started and the last status the view heard is the stop.
bool StoppedAfterStart(const CoreTestSession& session)
{
    const auto statuses = session.Statuses();
    return std::find(statuses.begin(), statuses.end(), kStatusStarted) != statuses.end() &&
           statuses.back() == kStatusStopped;
}

void ExpectRowsAndEntries(CoreTestSession& session, const Names& expected)
{
    EXPECT_EQ(RowNames(session.List()), expected);
    EXPECT_EQ(EntryNames(), expected);
}

TEST(CoreCommandsTest, ExtensionsChooseTheSourceAndTheLists)
{
    EXPECT_EQ(CoreSourceTypeOf(u"/m/a.wav"), kSourceWave);
    EXPECT_EQ(CoreSourceTypeOf(u"/m/a.WAV"), kSourceWave);
    EXPECT_EQ(CoreSourceTypeOf(u"/m/a.MP3"), kSourceMp3);
    EXPECT_EQ(CoreSourceTypeOf(u"/m/a.dff"), kSourcePlugin);
    EXPECT_EQ(CoreSourceTypeOf(u"/m/a.cue"), kSourcePlugin);

    const Names list{u"wav", u"DFF"};
    const struct {
        std::u16string path;
        bool listed;
    } cases[] = {
        {u"/m/a.WAV", true}, {u"/m/a.dff", true},  {u"/m/a.wav.txt", false},
        {u"/m/wav", false},  {u"/m.wav/a", false}, {u"/m/a.", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CoreHasListedExtension(c.path, list), c.listed)
            << std::string(c.path.begin(), c.path.end());
    }
}

TEST(CoreCommandsTest, AddedPathsComeInNaturalOrderWithoutFoldersAndUnknownFiles)
{
    CoreTestSession session;
    const auto ten = WriteWave(session, "Track10.wav");
    const auto two = WriteWave(session, "Track2.wav");
    const auto one = WriteWave(session, "track1.WAV");
    const auto folder = session.Dir().Path() / "Track0.wav";
    std::filesystem::create_directory(folder);
    const auto text = session.Dir().WriteText("Track3.txt", "not music").u16string();

    EXPECT_EQ(CoreAddPaths({ten, folder.u16string(), two, text, one}, -1), 3);
    ExpectRowsAndEntries(session, {u"track1.WAV", u"Track2.wav", u"Track10.wav"});
    EXPECT_EQ(session.List().GetItemText(0, 3), u"0:01");
    EXPECT_TRUE(Core().playlistStore->IsModified());
    EXPECT_EQ(CoreAddPaths({folder.u16string(), text}, -1), 0);
    EXPECT_EQ(session.List().GetItemCount(), 3);
}

// A list whose hit test reports a fixed row, for a drop onto a row scrolled out above the top.
class FixedHitList final : public CMemoryListCtrl {
  public:
    int32_t HitTest(ViewPoint) const override { return 0; }
};

// a.wav to e.wav with new.wav inserted before row `at`.
Names RowsWithNewAt(size_t at)
{
    Names rows{u"a.wav", u"b.wav", u"c.wav", u"d.wav", u"e.wav"};
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), u"new.wav");
    return rows;
}

TEST(CoreCommandsTest, DroppedFilesGoWhereTheyWereDropped)
{
    // Rows are 16 pixels high without a header: row r covers y = 16r .. 16r + 15, middle 16r + 8.
    const struct {
        const char* where;
        int32_t topIndex;
        int32_t y;
        size_t at;
    } cases[] = {
        {"upper half of row 3", 0, 3 * 16 + 7, 3},
        {"lower half of row 3", 0, 3 * 16 + 8, 4},
        {"below the last row", 0, 5 * 16 + 2, 5},
        {"scrolled, lower half of the first visible row", 2, 9, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        CoreTestSession session;
        AddLettered(session, "abcde");
        session.List().SetTopIndex(c.topIndex);
        session.List().SetLastDropPoint({5, c.y});
        EXPECT_EQ(CoreDropFiles({WriteWave(session, "new.wav")}), 1);
        ExpectRowsAndEntries(session, RowsWithNewAt(c.at));
    }

    SCOPED_TRACE("a row above the first visible row");
    CoreTestSession session;
    FixedHitList list;
    Core().listCtrl = &list;
    Core().listViewCtrl = &list;
    AddLettered(session, "abcde");
    list.SetTopIndex(3);
    EXPECT_EQ(CoreDropFiles({WriteWave(session, "new.wav")}), 1);
    EXPECT_EQ(RowNames(list), RowsWithNewAt(3));
    EXPECT_EQ(EntryNames(), RowsWithNewAt(3));
    Core().listCtrl = &session.List();
    Core().listViewCtrl = &session.List();
}

TEST(CoreCommandsTest, ACueSheetAddedAtARowOccupiesOneRowPerTrack)
{
    CoreTestSession session;
    AddLettered(session, "abcdefg");
    session.Dir().Write("album.wav",
                        WaveBuilder().Format(1, 1, 8000, 8).Data(test::CountingBytes(8000 * 12)).Build());
    std::string sheet = "PERFORMER \"The Band\"\nFILE \"album.wav\" WAVE\n";
    Names expected{u"a.wav", u"b.wav", u"c.wav", u"d.wav", u"e.wav"};
    for (int track = 1; track <= 12; ++track) {
        char lines[96];
        std::snprintf(lines, sizeof lines,
                      "  TRACK %02d AUDIO\n    TITLE \"Song %d\"\n    INDEX 01 00:%02d:00\n", track, track,
                      track - 1);
        sheet += lines;
        const std::string title = "Song " + std::to_string(track);
        expected.emplace_back(title.begin(), title.end());
    }
    expected.insert(expected.end(), {u"f.wav", u"g.wav"});
    const auto cue = session.Dir().WriteText("album.cue", sheet).u16string();

    EXPECT_EQ(CoreAddPaths({cue}, 5), 12);
    ExpectRowsAndEntries(session, expected);
    MusicTrackInfo track;
    Core().playlistStore->GetEntry(16, &track);
    EXPECT_EQ(track.artist, u"The Band");
    EXPECT_EQ(track.startFrame, 11u * 75);
    EXPECT_EQ(track.endFrame, 12u * 75 - 1);
    EXPECT_EQ(session.List().GetItemText(16, 1), u"The Band");
}

TEST(CoreCommandsTest, APlaylistDroppedOnTheListIsInsertedAtTheDropRow)
{
    CoreTestSession session;
    AddLettered(session, "xy");
    const auto playlist = (session.Dir().Path() / "two.ppl").u16string();
    ASSERT_TRUE(CoreWritePlaylistFile(playlist));
    EXPECT_FALSE(Core().playlistStore->IsModified());
    CoreNewPlaylist();
    AddLettered(session, "abc");
    Core().playlistStore->SetModified(false);

    session.List().SetLastDropPoint({5, 16 + 2});
    EXPECT_EQ(CoreDropFiles({playlist}), 2);
    ExpectRowsAndEntries(session, {u"a.wav", u"x.wav", u"y.wav", u"b.wav", u"c.wav"});
    EXPECT_TRUE(Core().playlistStore->IsModified());
}

TEST(CoreCommandsTest, TheOpenFilterListsTheBuiltInKindsThenThePlugIns)
{
    CoreTestSession session;
    const std::u16string filter = CoreBuildOpenFilter();
    const std::u16string allStart = u"All Music File|*.wav;*.mp3;*.cue;";
    ASSERT_EQ(filter.substr(0, allStart.size()), allStart);
    const size_t allEnd = filter.find(u'|', allStart.size());
    ASSERT_NE(allEnd, std::u16string::npos);
    EXPECT_NE(filter.substr(0, allEnd).find(u"*.DFF;"), std::u16string::npos);
    const std::u16string builtIns = u"|WAVE File|*.wav;|MP3 File|*.mp3;|Cue Sheet|*.cue;|";
    EXPECT_EQ(filter.substr(allEnd, builtIns.size()), builtIns);
    EXPECT_NE(filter.find(u"|DFF|*.DFF;|", allEnd), std::u16string::npos);
    EXPECT_EQ(filter.substr(filter.size() - 3), u";||");
}

TEST(CoreCommandsTest, OpenAndAddFilesTakeTheDialogsAnswers)
{
    CoreTestSession session;
    AddLettered(session, "x");
    const auto a = WriteWave(session, "a.wav");
    const auto b = WriteWave(session, "b.wav");

    // Cancelled dialogs change nothing.
    CoreOpenFiles();
    EXPECT_EQ(CoreAddFiles(), kCoreOk);
    ExpectRowsAndEntries(session, {u"x.wav"});

    // Open replaces the playlist, in the order the dialog returned the files.
    session.AnswerDialog({b, a});
    CoreOpenFiles();
    ExpectRowsAndEntries(session, {u"b.wav", u"a.wav"});
    EXPECT_EQ(session.SourceModes().back(), kSourceModeToFiles);

    session.AnswerDialog({a});
    EXPECT_EQ(CoreAddFiles(), kCoreOk);
    ExpectRowsAndEntries(session, {u"b.wav", u"a.wav", u"a.wav"});
    EXPECT_EQ(session.SourceModes().back(), kSourceModeUnchanged);

    const auto requests = session.DialogRequests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[2].title, u"Open");
    EXPECT_EQ(requests[3].title, u"Add files");
    EXPECT_EQ(requests[3].kind, FileDialogKind::Open);
    EXPECT_TRUE(requests[3].multipleSelection);
    EXPECT_EQ(requests[3].filter, CoreBuildOpenFilter());
}

TEST(CoreCommandsTest, APlaylistSavedAndLoadedBackGivesTheSameEntries)
{
    CoreTestSession session;
    AddLettered(session, "ab");
    // A path with a comma, quotes and a non-ASCII letter, and a title with quotes.
    WriteWave(session, "caf\xc3\xa9, \"one\".wav");
    const auto cue = session.Dir().WriteText(
        "sheet.cue", "\xef\xbb\xbf"
                     "FILE 'caf\xc3\xa9, \"one\".wav' WAVE\nTRACK 01 AUDIO\n"
                     "TITLE 'He said \"hi\"'\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:00:40\n");
    ASSERT_EQ(CoreAddPaths({cue.u16string()}, 1), 2);
    const auto path = (session.Dir().Path() / "list.ppl").u16string();
    session.Config().playlistFile.value = u"/earlier.ppl";

    EXPECT_EQ(CoreSavePlaylist(), kCoreRefused);
    EXPECT_EQ(session.DialogRequests().back().initialName, u"/earlier.ppl");
    EXPECT_EQ(session.DialogRequests().back().kind, FileDialogKind::Save);
    EXPECT_EQ(session.Config().playlistFile.value, u"/earlier.ppl");

    session.AnswerDialog({path});
    EXPECT_EQ(CoreSavePlaylist(), kCoreOk);
    EXPECT_EQ(session.Config().playlistFile.value, path);
    EXPECT_FALSE(Core().playlistStore->IsModified());
    std::vector<MusicTrackInfo> saved(4);
    for (int32_t i = 0; i < 4; ++i) {
        Core().playlistStore->GetEntry(i, &saved[static_cast<size_t>(i)]);
    }

    EXPECT_EQ(CoreNewPlaylist(), kCoreOk);
    EXPECT_EQ(session.List().GetItemCount(), 0);
    EXPECT_EQ(session.Config().playlistFile.value, u"");
    EXPECT_EQ(CoreLoadPlaylist(), kCoreOk);
    EXPECT_EQ(session.List().GetItemCount(), 0);

    session.AnswerDialog({path});
    EXPECT_EQ(CoreLoadPlaylist(), kCoreOk);
    EXPECT_EQ(session.Config().playlistFile.value, path);
    EXPECT_FALSE(Core().playlistStore->IsModified());
    EXPECT_EQ(session.SourceModes().back(), kSourceModeToFiles);
    ExpectRowsAndEntries(session, {u"a.wav", u"He said \"hi\"", u"Track 02", u"b.wav"});
    for (int32_t i = 0; i < 4; ++i) {
        MusicTrackInfo loaded;
        Core().playlistStore->GetEntry(i, &loaded);
        const MusicTrackInfo& before = saved[static_cast<size_t>(i)];
        EXPECT_EQ(loaded.path, before.path) << i;
        EXPECT_EQ(loaded.displayName, FileNameOf(before.path)) << i;
        EXPECT_EQ(loaded.sourceType, before.sourceType) << i;
        EXPECT_EQ(loaded.title, before.title) << i;
        EXPECT_EQ(loaded.artist, before.artist) << i;
        EXPECT_EQ(loaded.lengthFrames, before.lengthFrames) << i;
        EXPECT_EQ(loaded.startFrame, before.startFrame) << i;
        EXPECT_EQ(loaded.endFrame, before.endFrame) << i;
        EXPECT_EQ(loaded.format.nSamplesPerSec, 8000u) << i;
    }
}

TEST(CoreCommandsTest, MovingRowsKeepsThemSelectedInTheirOrder)
{
    const struct {
        std::vector<int32_t> selected;
        int32_t target;
        Names rows;
        std::vector<int32_t> selectedAfter;
    } cases[] = {
        {{1, 3}, 0, {u"b.wav", u"d.wav", u"a.wav", u"c.wav", u"e.wav"}, {0, 1}},
        {{0, 1}, 4, {u"c.wav", u"d.wav", u"a.wav", u"b.wav", u"e.wav"}, {2, 3}},
        {{2}, 2, {u"a.wav", u"b.wav", u"c.wav", u"d.wav", u"e.wav"}, {2}},
        {{2}, 3, {u"a.wav", u"b.wav", u"c.wav", u"d.wav", u"e.wav"}, {2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        CoreTestSession session;
        AddLettered(session, "abcde");
        Core().playlistStore->SetModified(false);
        for (const int32_t row : c.selected) {
            session.List().SetItemSelected(row, true);
        }
        session.List().SetSelectionMark(c.selected.back());
        CoreMoveSelectedRows(c.target);
        ExpectRowsAndEntries(session, c.rows);
        EXPECT_EQ(session.List().GetSelectedRows(), c.selectedAfter);
        EXPECT_EQ(session.List().GetSelectionMark(), c.selectedAfter.back());
        EXPECT_EQ(session.List().GetItemText(c.selectedAfter.back(), 3), u"0:01");
        EXPECT_TRUE(Core().playlistStore->IsModified());
    }
}

TEST(CoreCommandsTest, RemovingThePlayingEntryStopsPlayback)
{
    CoreTestSession session;
    CoreAddPaths({WriteCdQualityWave(session, "a.wav", 10), WriteWave(session, "b.wav")}, -1);
    ASSERT_EQ(CorePlay(false), kCoreOk);
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.StatusCount(kStatusStarted) == 1; }));
    session.List().SetItemSelected(0, true);
    CoreRemoveSelected();
    EXPECT_EQ(Core().playState, 0);
    ASSERT_TRUE(session.WaitFor(StoppedAfterStart));
    ExpectRowsAndEntries(session, {u"b.wav"});
    EXPECT_EQ(session.StatusCount(kStatusStarted), 1);
    EXPECT_LT(Core().player->DeliveredSamples(), uint64_t{44100} * 10);
}

TEST(CoreCommandsTest, RemovingTheNextEntryMakesThePlayerPrepareTheNewNext)
{
    CoreTestSession session;
    CoreAddPaths({WriteCdQualityWave(session, "a.wav", 4), WriteCdQualityWave(session, "b.wav", 1),
                  WriteCdQualityWave(session, "c.wav", 2)},
                 -1);
    ASSERT_EQ(CorePlay(false), kCoreOk);
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.TrackSeconds() >= 1; }));
    session.List().SetItemSelected(1, true);
    CoreRemoveSelectedByKey();
    ASSERT_TRUE(session.WaitFor(StoppedAfterStart));
    ExpectRowsAndEntries(session, {u"a.wav", u"c.wav"});
    // a then c: had b stayed prepared, one second of it would have played instead of c's two.
    EXPECT_EQ(session.StatusCount(kStatusStarted), 2);
    EXPECT_NEAR(static_cast<double>(Core().player->DeliveredSamples()) / 44100, 6.0, 0.5);
    EXPECT_TRUE(session.Errors().empty());
}

TEST(CoreCommandsTest, AnAudioCdFillsThePlaylistInCdModeUntilItsLastRowGoes)
{
    CoreTestSession session;
    DiscInDrive disc({{0, false}, {750, false}, {1125, false}, {1500, true}}, 1800);
    AddLettered(session, "x");
    CoreOpenCd(u"/dev/sr0");
    ExpectRowsAndEntries(session, {u"CD Track 01", u"CD Track 02", u"CD Track 03"});
    EXPECT_EQ(session.List().GetItemText(1, 3), u"0:05");
    EXPECT_TRUE(Core().cdMode);
    EXPECT_TRUE(Core().playlistStore->IsModified());
    EXPECT_FALSE(session.List().IsFileDropEnabled());
    EXPECT_FALSE(session.List().IsDragReorderEnabled());
    EXPECT_EQ(session.SourceModes().back(), kSourceModeToCd);

    const size_t asked = session.DialogRequests().size();
    EXPECT_EQ(CoreAddFiles(), kCoreRefused);
    EXPECT_EQ(CoreSavePlaylist(), kCoreRefused);
    EXPECT_EQ(session.DialogRequests().size(), asked);

    session.List().SetItemSelected(1, true);
    CoreRemoveSelected();
    ExpectRowsAndEntries(session, {u"CD Track 01", u"CD Track 03"});
    EXPECT_TRUE(Core().cdMode);
    session.List().SetItemSelected(0, true);
    session.List().SetItemSelected(1, true);
    CoreRemoveSelected();
    EXPECT_EQ(session.List().GetItemCount(), 0);
    EXPECT_FALSE(Core().cdMode);
    EXPECT_TRUE(session.List().IsFileDropEnabled());
    EXPECT_EQ(CoreAddFiles(), kCoreOk);
}

TEST(CoreCommandsTest, ADiscWithoutAudioTracksLeavesAnEmptyPlaylistInFileMode)
{
    CoreTestSession session;
    DiscInDrive disc({{0, true}}, 300);
    CoreOpenCd(u"/dev/sr0");
    EXPECT_EQ(session.List().GetItemCount(), 0);
    EXPECT_FALSE(Core().cdMode);
    EXPECT_TRUE(session.List().IsFileDropEnabled());

    disc.SetMediumPresent(false);
    CoreOpenCd(u"/dev/sr0");
    EXPECT_EQ(session.List().GetItemCount(), 0);
    EXPECT_FALSE(Core().cdMode);
}

TEST(CoreCommandsTest, TakingTheDiscOutWhileATrackPlaysStopsPlayback)
{
    CoreTestSession session;
    // Two tracks of 30 s; the disc goes after 10 s of the first.
    DiscInDrive disc({{0, false}, {2250, false}}, 4500);
    CoreOpenCd(u"/dev/sr0");
    ASSERT_TRUE(session.WaitFor([](const CoreTestSession& s) { return s.StatusCount(kStatusStopped) == 1; }));
    disc.TakeOutAfter(750);
    ASSERT_EQ(CorePlay(false), kCoreOk);
    ASSERT_TRUE(session.WaitFor(StoppedAfterStart));
    EXPECT_EQ(session.Statuses(), (std::vector<int32_t>{kStatusStopped, kStatusStarted, kStatusStopped}));
    EXPECT_EQ(Core().playState, 0);
    EXPECT_LE(Core().player->DeliveredSamples(), uint64_t{44100} * 10);
    EXPECT_TRUE(session.Errors().empty());
}

} // namespace
} // namespace sonavel
