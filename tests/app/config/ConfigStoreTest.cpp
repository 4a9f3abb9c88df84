#include "app/AppConfigData.h"
#include "app/ConfigFileIo.h"
#include "app/AppConfigDataIniFileBackend.h"
#include "app/ConfigLocation.h"
#include "app/ConfigStartup.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

namespace sonavel {
namespace {

namespace fs = std::filesystem;

constexpr char kDefaultFile[] =
    "[Window]\nX=0\nY=0\n\n"
    "[Config]\nDevice=\nMp3Gapless=true\nThrGapless=-45\nDecodeMode=0\nRamMode=0\n"
    "RepeatMode=0\nShuffleMode=0\n\n"
    "[Playlist]\nFile=\n";

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        ::setenv(name, value, 1);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv()
    {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class ConfigStoreTest : public ::testing::Test {
  protected:
    std::string ReadConfig() const
    {
        const auto bytes = test::ReadFileBytes(IniPath());
        return {bytes.begin(), bytes.end()};
    }
    void WriteConfig(const std::string& text) const
    {
        fs::create_directories(Folder());
        temp.WriteText((Folder() / kConfigFileName).lexically_relative(temp.Path()).string(), text);
    }
    fs::path Folder() const { return temp.Path() / "xdg" / kConfigCompanyName / kConfigProductName; }
    fs::path IniPath() const { return Folder() / kConfigFileName; }

    test::TempDir temp;
    ScopedEnv xdg{"XDG_CONFIG_HOME", (temp.Path() / "xdg").c_str()};
};

TEST_F(ConfigStoreTest, FirstStartCreatesTheFolderAndKeepsDefaults)
{
    const auto config = LoadStartupConfig();
    EXPECT_TRUE(fs::is_directory(Folder()));
    EXPECT_FALSE(fs::exists(IniPath()));
    EXPECT_EQ(config->thrGapless.value, -45);
    EXPECT_TRUE(config->mp3Gapless.value);
    EXPECT_EQ(config->device.value, u"");

    config->Save();
    EXPECT_EQ(ReadConfig(), kDefaultFile);
}

TEST_F(ConfigStoreTest, LoadsWhateverLineEndsAndMarksTheFileHas)
{
    const std::string lines[] = {
        "[WINDOW]",
        "x=-20",
        "[Unknown]",
        "Device=not this one",
        "[config]",
        "Device=WASAPI: Speakers (USB)",
        "Mp3Gapless=True",
        "ThrGapless=-90",
        "DecodeMode=1 junk",
        "RamMode=garbage",
        "RepeatMode=2",
        "[Playlist]",
        "File=\"/music/list one.ppl\"",
    };
    for (const char* bom : {"", "\xEF\xBB\xBF"}) {
        for (const char* eol : {"\n", "\r\n"}) {
            SCOPED_TRACE(testing::Message() << "bom " << (*bom != 0) << " crlf " << (eol[1] != 0));
            std::string text = bom;
            for (const auto& line : lines) {
                text += line + eol;
            }
            WriteConfig(text);

            // What the file holds, before start-up forces the two gapless settings.
            CAppConfigData raw;
            CAppConfigDataIniBackend(IniPath()).Exchange(raw, false);
            EXPECT_FALSE(raw.mp3Gapless.value); // only "true" is true
            EXPECT_EQ(raw.thrGapless.value, -90);

            const auto config = LoadStartupConfig();
            EXPECT_EQ(config->x.value, -20);
            EXPECT_EQ(config->y.value, 0);
            EXPECT_EQ(config->device.value, u"WASAPI: Speakers (USB)");
            EXPECT_TRUE(config->mp3Gapless.value);
            EXPECT_EQ(config->thrGapless.value, -45);
            EXPECT_EQ(config->decodeMode.value, 1);
            EXPECT_EQ(config->ramMode.value, 0);
            EXPECT_EQ(config->repeatMode.value, 2);
            EXPECT_EQ(config->shuffleMode.value, 0);
            EXPECT_EQ(config->playlistFile.value, u"/music/list one.ppl");
        }
    }
}

TEST_F(ConfigStoreTest, SaveWritesAllKeysAndKeepsTheRestOfTheFile)
{
    WriteConfig("; written by hand\r\n[Config]\r\nDEVICE=old\r\nExtra=1\r\n[Mine]\r\nKeep=yes\r\n");
    const auto config = LoadStartupConfig();
    config->device.value = u"AUX";
    config->mp3Gapless.value = false;
    config->repeatMode.value = 1;
    config->playlistFile.value = u"/home/u/list.ppl";
    config->Save();
    EXPECT_EQ(
        ReadConfig(),
        "; written by "
        "hand\n[Config]\nDEVICE=AUX\nExtra=1\nMp3Gapless=false\nThrGapless=-45\nDecodeMode=0\nRamMode=0\n"
        "RepeatMode=1\nShuffleMode=0\n[Mine]\nKeep=yes\n\n[Window]\nX=0\nY=0\n\n[Playlist]\n"
        "File=/home/u/list.ppl\n");

    // The next start reads the choice back but not the gapless switch.
    const auto next = LoadStartupConfig();
    EXPECT_EQ(next->repeatMode.value, 1);
    EXPECT_EQ(next->device.value, u"AUX");
    EXPECT_TRUE(next->mp3Gapless.value);
}

TEST_F(ConfigStoreTest, ALeftOverTemporaryFileNeverCorruptsTheConfiguration)
{
    const auto config = LoadStartupConfig();
    config->device.value = u"First";
    config->Save();
    const std::string saved = ReadConfig();

    // A crash in the middle of the next save leaves a partial temporary file behind.
    temp.WriteText(AtomicTempPath(IniPath()).lexically_relative(temp.Path()).string(), "[Config]\nDevi");
    EXPECT_EQ(LoadStartupConfig()->device.value, u"First");
    EXPECT_EQ(ReadConfig(), saved);

    config->device.value = u"Second";
    config->Save();
    EXPECT_EQ(LoadStartupConfig()->device.value, u"Second");
    EXPECT_FALSE(fs::exists(AtomicTempPath(IniPath())));
}

TEST_F(ConfigStoreTest, AFailedSaveLeavesTheOldFile)
{
    const auto config = LoadStartupConfig();
    config->device.value = u"Kept";
    config->Save();
    const std::string saved = ReadConfig();

    fs::create_directory(AtomicTempPath(IniPath())); // the temporary file cannot be created
    config->device.value = u"Lost";
    CAppConfigDataIniBackend backend(IniPath());
    EXPECT_FALSE(backend.Exchange(*config, true));
    EXPECT_EQ(ReadConfig(), saved);
}

TEST_F(ConfigStoreTest, WithoutAFolderNothingIsSaved)
{
    temp.WriteText("file", "not a folder");
    ScopedEnv blocked("XDG_CONFIG_HOME", (temp.Path() / "file").c_str());
    const auto config = LoadStartupConfig();
    config->device.value = u"Nowhere";
    config->Save();
    config->Load();
    EXPECT_EQ(config->device.value, u"Nowhere");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1)
        << "only the blocking file";
}

TEST_F(ConfigStoreTest, ChoosesTheFirstDeviceInOrdinalOrderOnce)
{
    const auto config = LoadStartupConfig();
    EXPECT_TRUE(ChooseDefaultDevice(*config, {u"Speakers", u"ASIO4ALL", u"aux"}));
    EXPECT_EQ(config->device.value, u"ASIO4ALL");
    EXPECT_EQ(LoadStartupConfig()->device.value, u"ASIO4ALL");
    EXPECT_FALSE(ChooseDefaultDevice(*config, {u"Alpha"}));
    EXPECT_EQ(config->device.value, u"ASIO4ALL");
}

TEST(ConfigLocationTest, FollowsXdgConfigHomeElseTheHomeFolder)
{
    const test::TempDir temp;
    const ScopedEnv home("HOME", temp.Path().c_str());
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/somewhere/config");
        EXPECT_EQ(ConfigFolderPath(), fs::path("/somewhere/config/KESTRANE Company/KESTRANE Sonavel"));
    }
    const ScopedEnv relative("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(ConfigFolderPath(), temp.Path() / ".config/KESTRANE Company/KESTRANE Sonavel");
}

} // namespace
} // namespace sonavel
