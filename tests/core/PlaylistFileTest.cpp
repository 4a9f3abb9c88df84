#include "core/PlaylistCtrlImpl.h"
#include "core/PlaylistFile.h"
#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace sonavel {
namespace {

using test::TempDir;
using test::WaveBuilder;

class PlaylistFileTest : public ::testing::Test {
protected:
    std::u16string WriteWave(const std::filesystem::path& relative, uint32_t seconds = 1)
    {
        std::filesystem::create_directories((dir_.Path() / relative).parent_path());
        const auto path = dir_.Write(relative.string(), WaveBuilder().Format(1, 2, 44100, 16).Data(test::CountingBytes(176400 * seconds)).Build());
        return Utf8ToUtf16(path.string());
    }

    MusicTrackInfo Entry(const std::u16string& path, std::u16string title, std::u16string artist, uint32_t start, uint32_t end)
    {
        MusicTrackInfo entry;
        entry.path = path;
        entry.sourceType = kSourceWave;
        entry.title = std::move(title);
        entry.artist = std::move(artist);
        entry.startFrame = start;
        entry.endFrame = end;
        entry.lengthFrames = end - start + 1;
        return entry;
    }

    std::u16string PlaylistPath() const { return Utf8ToUtf16((dir_.Path() / "list.ppl").string()); }

    TempDir dir_;
    std::shared_ptr<CPluginCtrl> registry_ = std::make_shared<CPluginCtrl>();
};

TEST_F(PlaylistFileTest, WrittenAndReadBackGivesTheSameEntries)
{
    const std::u16string plain = WriteWave("plain.wav", 4 * 60);
    const std::u16string odd = WriteWave(u8"folder, with commas/\u65e5\u672c \"quoted\".wav");
    std::filesystem::path deep;
    for (int i = 0; i < 6; ++i) {
        deep /= std::string(50, static_cast<char>('a' + i));
    }
    const std::u16string longPath = WriteWave(deep / "long.wav");
    ASSERT_GT(longPath.size(), 259u);

    CPlaylistCtrlImpl playlist;
    const MusicTrackInfo entries[] = {
        Entry(plain, u"Title \"with\" quotes", u"", 0, 4 * 60 * 75 - 1),
        Entry(odd, u"", u"", 0, 74),
        Entry(plain, u"Cue track", u"Artist, Name", 1500, 2999),
        Entry(longPath, u"\u00e9", u"x", 0, 74),
    };
    for (const auto& entry : entries) {
        playlist.InsertAt(entry, playlist.GetEntryCount());
    }
    playlist.SetModified(true);
    ASSERT_TRUE(WritePlaylistFile(playlist, PlaylistPath()));
    EXPECT_FALSE(playlist.IsModified());

    const auto bytes = test::ReadFileBytes(Utf16ToUtf8(PlaylistPath()));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(text.find("\"Title \"\"with\"\" quotes\",\"\",18000,0,17999\r\n"), std::string::npos);

    std::vector<MusicTrackInfo> read;
    ASSERT_TRUE(ReadPlaylistFile(PlaylistPath(), registry_, read));
    ASSERT_EQ(read.size(), 4u);
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].path, entries[i].path);
        EXPECT_EQ(read[i].sourceType, entries[i].sourceType);
        EXPECT_EQ(read[i].title, entries[i].title);
        EXPECT_EQ(read[i].artist, entries[i].artist);
        EXPECT_EQ(read[i].lengthFrames, entries[i].lengthFrames);
        EXPECT_EQ(read[i].startFrame, entries[i].startFrame);
        EXPECT_EQ(read[i].endFrame, entries[i].endFrame);
        EXPECT_EQ(read[i].formatName, u"WAVE");
        EXPECT_EQ(read[i].format.nSamplesPerSec, 44100u);
        EXPECT_EQ(read[i].dataBytes, 0u);
        EXPECT_FALSE(read[i].played);
    }
    EXPECT_EQ(read[1].displayName, u"\u65e5\u672c \"quoted\".wav");
}

TEST_F(PlaylistFileTest, MalformedLinesAndMissingFilesAreSkipped)
{
    const std::string wave = Utf16ToUtf8(WriteWave("a.wav"));
    std::ofstream(Utf16ToUtf8(PlaylistPath()))
        << "\"" << wave << "\",2,\"ok LF\",\"\",75,0,74\n"
        << "\"" << wave << "\",2,\"six\",\"\",75,0\r\n"
        << "\"" << wave << "\",2,\"eight\",\"\",75,0,74,9\r\n"
        << "\"" << wave << "\",2\",\"stray quote\",\"\",75,0,74\r\n"
        << "\"" << dir_.Path().string() << "/gone.wav\",2,\"gone\",\"\",75,0,74\r\n"
        << "garbage\r\n\r\n"
        << "\"" << wave << "\",2,\"ok CRLF\",\"\",x,,74\r\n";
    std::vector<MusicTrackInfo> read{MusicTrackInfo{}};
    ASSERT_TRUE(ReadPlaylistFile(PlaylistPath(), registry_, read));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].title, u"ok LF");
    EXPECT_FALSE(ReadPlaylistFile(Utf8ToUtf16((dir_.Path() / "none.ppl").string()), registry_, read));
}

TEST_F(PlaylistFileTest, FieldScanner)
{
    struct Case {
        std::u16string_view line;
        std::vector<std::u16string> fields;
    };
    const Case cases[] = {
        {u"\"a\",1,\"b\"\"c\",\"\",5,6,7", {u"a", u"1", u"b\"c", u"", u"5", u"6", u"7"}},
        {u"\"CD track\",1,\"\",\"\",100,150,249", {u"CD track", u"1", u"", u"", u"100", u"150", u"249"}},
        {u"a,,b", {u"a", u"b"}},
        {u"\"x\"y,1", {}},
        {u"a\"b,c", {}},
        {u"\"\"\"\"\"\"", {u"\"\""}},
        {u"\"\"\"", {u"\""}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitPlaylistFileLine(c.line), c.fields) << Utf16ToUtf8(c.line);
    }
    EXPECT_EQ(SplitPlaylistFileLine(u"1,2,3,4,5,6,7,8,9").size(), 8u);
}

TEST_F(PlaylistFileTest, SavingNeverLeavesAHalfWrittenFile)
{
    const std::u16string wave = WriteWave("a.wav");
    CPlaylistCtrlImpl playlist;
    playlist.InsertAt(Entry(wave, u"first", u"", 0, 74), 0);
    ASSERT_TRUE(WritePlaylistFile(playlist, PlaylistPath()));
    const auto before = test::ReadFileBytes(Utf16ToUtf8(PlaylistPath()));

    // A temporary file left by a crash does not disturb the next save.
    dir_.WriteText("list.ppl.tmp", "half a line");
    playlist.InsertAt(Entry(wave, u"second", u"", 0, 74), 1);
    ASSERT_TRUE(WritePlaylistFile(playlist, PlaylistPath()));
    std::vector<MusicTrackInfo> read;
    ASSERT_TRUE(ReadPlaylistFile(PlaylistPath(), registry_, read));
    EXPECT_EQ(read.size(), 2u);

    // A folder that cannot be written keeps the file as it was and the modified flag set.
    playlist.SetModified(true);
    EXPECT_FALSE(WritePlaylistFile(playlist, Utf8ToUtf16((dir_.Path() / "missing" / "x.ppl").string())));
    EXPECT_TRUE(playlist.IsModified());
    EXPECT_NE(test::ReadFileBytes(Utf16ToUtf8(PlaylistPath())), before);
}

} // namespace
} // namespace sonavel
