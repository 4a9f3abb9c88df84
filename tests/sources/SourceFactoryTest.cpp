#include "sources/MusicDataWave.h"
#include "sources/SourceFactory.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

TEST(SourceFactoryTest, ChoosesBySuffixOrStoredType)
{
    EXPECT_EQ(ExtensionOf(u"/music/Album.v2/Track.WAV"), u"wav");
    EXPECT_EQ(ExtensionOf(u"/music/Album.v2/README"), u"");
    EXPECT_EQ(ExtensionOf(u"noext"), u"");

    EXPECT_NE(dynamic_cast<CMusicDataWave*>(CreateSourceForPath(u"/x/a.Wav").get()), nullptr);
    EXPECT_NE(dynamic_cast<CMusicDataWave*>(CreateSourceOfType(kSourceWave).get()), nullptr);
    EXPECT_EQ(CreateSourceOfType(kSourceNone), nullptr);
}

} // namespace
} // namespace sonavel
