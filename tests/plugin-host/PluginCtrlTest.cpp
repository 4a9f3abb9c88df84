#include "plugin-host/PluginCtrl.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>

namespace sonavel {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = SONAVEL_FAKE_PLUGIN_DIR;

class PluginCtrlTest : public ::testing::Test {
protected:
    void Install(const std::string& fixture, const std::string& name)
    {
        fs::copy_file(kFixtures / (fixture + ".so"), dir_.Path() / name);
    }

    test::TempDir dir_;
    CPluginCtrl plugins_;
};

TEST_F(PluginCtrlTest, LoadsOnlyLowerCasePpiFilesWithBothExportsAndAnInstance)
{
    Install("fake_a", "a.ppi");
    Install("fake_multi", "multi.ppi");
    Install("fake_a", "upper.PPI");
    Install("fake_null", "null.ppi");
    Install("no_exports", "none.ppi");
    Install("fake_a", "a.so");
    dir_.WriteText("garbage.ppi", "not an ELF file");
    ASSERT_EQ(plugins_.LoadFolder(dir_.Path()), 0);
    ASSERT_EQ(plugins_.Records().size(), 2u);
    std::vector<std::u16string> names;
    for (const PluginRecord& record : plugins_.Records()) {
        names.push_back(record.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Fake A", u"Fake Multi"}));
    EXPECT_EQ(plugins_.Unload(), 0);
    EXPECT_TRUE(plugins_.Records().empty());
}

TEST_F(PluginCtrlTest, MissingFolderIsNotAnError)
{
    EXPECT_EQ(plugins_.LoadFolder(dir_.Path() / "absent"), 0);
    EXPECT_TRUE(plugins_.Records().empty());
    EXPECT_EQ(plugins_.InstanceForFile(u"/x/a.tst"), nullptr);
}

TEST_F(PluginCtrlTest, SameExtensionTextLeavesTheOneListedLast)
{
    Install("fake_a", "first.ppi");
    Install("fake_b", "second.ppi");
    ASSERT_EQ(plugins_.LoadFolder(dir_.Path()), 0);
    ASSERT_EQ(plugins_.Records().size(), 1u);
    std::string last;
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
        last = entry.path().filename().string();
    }
    EXPECT_EQ(plugins_.Records()[0].name, last == "first.ppi" ? u"Fake A" : u"Fake B");
    // A shared instance is handed out for every file and stays alive when given back.
    CPlayerPluginIF* shared = plugins_.Records()[0].instance;
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(plugins_.InstanceForFile(u"/music/x.TST"), shared);
    plugins_.ReleaseForSource(shared);
    char16_t name[100];
    EXPECT_EQ(shared->GetName(name, 100), PPI_OK);
}

TEST_F(PluginCtrlTest, MultiInstancePluginMakesOneInstancePerFile)
{
    Install("fake_multi", "multi.ppi");
    ASSERT_EQ(plugins_.LoadFolder(dir_.Path()), 0);
    ASSERT_EQ(plugins_.Records().size(), 1u);
    EXPECT_EQ(plugins_.Records()[0].instance, nullptr);
    auto live = reinterpret_cast<int (*)()>(dlsym(plugins_.Records()[0].module, "fake_LiveInstances"));
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(live(), 0);

    CPlayerPluginIF* first = plugins_.InstanceForFile(u"/music/song.abc");
    CPlayerPluginIF* second = plugins_.InstanceForFile(u"/music/song.XYZ");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(live(), 2);
    EXPECT_EQ(plugins_.InstanceForFile(u"/music/song.ab"), nullptr);
    plugins_.ReleaseForSource(first);
    plugins_.ReleaseForSource(second);
    EXPECT_EQ(live(), 0);
}

TEST(SplitExtensionsTest, CommasAndSpaces)
{
    EXPECT_EQ(SplitExtensions(u"AIFF, AIF"), (std::vector<std::u16string>{u"AIFF", u"AIF"}));
    EXPECT_EQ(SplitExtensions(u" a,,b c "), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_TRUE(SplitExtensions(u"").empty());
}

} // namespace
} // namespace sonavel
