#include "sources/SourceFactory.h"

#include "sources/MusicDataMP3.h"
#include "sources/MusicDataWave.h"

namespace sonavel {

std::u16string ExtensionOf(std::u16string_view path)
{
    const size_t dot = path.rfind(u'.');
    const size_t slash = path.rfind(u'/');
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && slash > dot)) {
        return {};
    }
    std::u16string extension(path.substr(dot + 1));
    for (char16_t& c : extension) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return extension;
}

std::unique_ptr<CMusicData> CreateSourceOfType(int32_t sourceType)
{
    switch (sourceType) {
    case kSourceWave:
        return std::make_unique<CMusicDataWave>();
    case kSourceMp3:
        return std::make_unique<CMusicDataMP3>();
    default:
        return nullptr;
    }
}

std::unique_ptr<CMusicData> CreateSourceForPath(std::u16string_view path)
{
    const std::u16string extension = ExtensionOf(path);
    if (extension == u"wav") {
        return CreateSourceOfType(kSourceWave);
    }
    if (extension == u"mp3") {
        return CreateSourceOfType(kSourceMp3);
    }
    return nullptr;
}

} // namespace sonavel
