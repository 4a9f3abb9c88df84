#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

using test::RunProgram;
using test::TempDir;
using test::WaveBuilder;

// sonavel-cli with its configuration in the test's folder, never the user's.
test::ProgramResult RunCli(const TempDir& dir, const std::vector<std::string>& args)
{
    return RunProgram("sonavel-cli", args, {"XDG_CONFIG_HOME=" + (dir.Path() / "config").string()});
}

std::string FileText(const std::filesystem::path& path)
{
    const auto bytes = test::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(PlaylistCommandTest, WritesThePlaylistThatAddingTheFilesBuilds)
{
    TempDir dir;
    const auto wave = [&](const std::string& name, uint32_t frames75) {
        return dir.Write(
            name,
            WaveBuilder().Format(1, 2, 44100, 16).Data(test::CountingBytes(size_t{2352} * frames75)).Build());
    };
    const auto album = wave("album, \"live\".wav", 300);
    const auto single = wave("single.wav", 75);
    const auto cue = dir.WriteText(
        "album.cue", "PERFORMER Band\nFILE 'album, \"live\".wav' WAVE\nTRACK 01 AUDIO\nTITLE One\n"
                     "INDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:02:00\n");
    const auto unknown = dir.WriteText("notes.txt", "text");
    const auto playlist = dir.Path() / "out.ppl";

    const auto result = RunCli(
        dir, {"playlist", "--out", playlist.string(), single.string(), unknown.string(), cue.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "entries: 3\n");
    EXPECT_EQ(result.err, "skipped: " + unknown.string() + "\n");
    std::string albumPath = dir.Path().string();
    albumPath.insert(0, 1, '"').append("/album, \"\"live\"\".wav\"");
    EXPECT_EQ(FileText(playlist), "\xef\xbb\xbf\"" + single.string() + "\",2,\"\",\"\",75,0,74\r\n" +
                                      albumPath + ",2,\"One\",\"Band\",150,0,149\r\n" + albumPath +
                                      ",2,\"Track 02\",\"Band\",150,150,299\r\n");

    // info and play take the playlist file as it was written.
    const auto info = RunCli(dir, {"info", playlist.string()});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.err, "");
    EXPECT_NE(
        info.out.find("displayName: album, \"live\".wav\nsourceType: 2\nformatName: WAVE\ndataBytes: 0\n"
                      "title: Track 02\nartist: Band\n"),
        std::string::npos);
    EXPECT_NE(info.out.find("lengthFrames: 150\nstartFrame: 150\nendFrame: 299\n"), std::string::npos);
    const auto render = RunCli(
        dir, {"render", "--out", (dir.Path() / "out.wav").string(), "--speed", "0", playlist.string()});
    EXPECT_EQ(render.status, 0) << render.err;
    EXPECT_NE(render.out.find("tracks: 3,"), std::string::npos);

    // Relative names are stored as absolute paths, so the playlist works from any folder.
    const auto relative =
        RunProgram("/bin/sh",
                   {"-c", "cd '" + dir.Path().string() + "' && '" + test::ProgramDir().string() +
                              "/sonavel-cli' playlist --out rel.ppl single.wav"},
                   {"XDG_CONFIG_HOME=" + (dir.Path() / "config").string()});
    EXPECT_EQ(relative.status, 0) << relative.err;
    EXPECT_EQ(FileText(dir.Path() / "rel.ppl"),
              "\xef\xbb\xbf\"" + single.string() + "\",2,\"\",\"\",75,0,74\r\n");
}

TEST(PlaylistCommandTest, UsageAndWriteErrors)
{
    TempDir dir;
    const auto single =
        dir.Write("single.wav", WaveBuilder().Format(1, 1, 7500, 8).Data(test::CountingBytes(7500)).Build());
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"playlist", single.string()}, 2},
        {{"playlist", "--out", (dir.Path() / "a.ppl").string()}, 2},
        {{"playlist", single.string(), "--out"}, 2},
        {{"playlist", "--shuffle", "--out", (dir.Path() / "a.ppl").string(), single.string()}, 2},
        {{"playlist", "--out", (dir.Path() / "missing" / "a.ppl").string(), single.string()}, 1},
        {{"info", "--cd"}, 2},
        {{"info", "--cd", (dir.Path() / "sr9").string()}, 1},
    };
    for (const auto& c : cases) {
        const auto result = RunCli(dir, c.args);
        EXPECT_EQ(result.status, c.status) << c.args.back();
        EXPECT_NE(result.err, "") << c.args.back();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "a.ppl"));
    EXPECT_EQ(RunCli(dir, {"info", "--cd", (dir.Path() / "sr9").string()}).err,
              "Can't open file\r\n" + (dir.Path() / "sr9").string() + "\n");
}

} // namespace
} // namespace sonavel
