#include "plugin-host/PluginCtrl.h"
#include "sources/MusicDataMP3.h"
#include "sources/MusicDataPlugin.h"
#include "sources/MusicDataWave.h"
#include "sources/MusicResult.h"
#include "platform/FileExtension.h"
#include "sources/SourceFactory.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

TEST(SourceFactoryTest, ChoosesBySuffixOrStoredType)
{
    EXPECT_EQ(ExtensionOf(u"/music/Album.v2/Track.WAV"), u"wav");
    EXPECT_EQ(ExtensionOf(u"/music/Album.v2/README"), u"");
    EXPECT_EQ(ExtensionOf(u"noext"), u"");

    const auto none = std::make_shared<CPluginCtrl>();
    EXPECT_NE(dynamic_cast<CMusicDataWave*>(CreateSourceForPath(u"/x/a.Wav", none).get()), nullptr);
    EXPECT_NE(dynamic_cast<CMusicDataMP3*>(CreateSourceForPath(u"/x/a.mP3", none).get()), nullptr);
    EXPECT_NE(dynamic_cast<CMusicDataWave*>(CreateSourceOfType(kSourceWave, u"/x/a.dff", none).get()), nullptr);
    EXPECT_EQ(CreateSourceOfType(kSourceNone, u"/x/a.wav", none), nullptr);

    // Other extensions get a plug-in source; with no plug-in for them the file is broken.
    auto unknown = CreateSourceForPath(u"/x/a.xyz", none);
    ASSERT_NE(dynamic_cast<CMusicDataPlugin*>(unknown.get()), nullptr);
    MusicOpenParams params;
    params.path = u"/x/a.xyz";
    EXPECT_EQ(unknown->Open(&params), kResultBroken);
}

} // namespace
} // namespace sonavel
