#include "sources/SourceFactory.h"

#include "platform/FileExtension.h"
#include "sources/MusicDataCDDA.h"
#include "sources/MusicDataCue.h"
#include "sources/MusicDataMP3.h"
#include "sources/MusicDataPlugin.h"
#include "sources/MusicDataWave.h"

#include <mutex>

namespace sonavel {

namespace {

std::mutex& FactoryMutex()
{
    static std::mutex mutex;
    return mutex;
}

CdTransportFactory& TransportFactory()
{
    static CdTransportFactory factory;
    return factory;
}

std::shared_ptr<IScsiTransport> MakeCdTransport()
{
    std::lock_guard guard(FactoryMutex());
    const CdTransportFactory& factory = TransportFactory();
    return factory ? factory() : std::make_shared<SgIoTransport>();
}

} // namespace

void SetCdTransportFactory(CdTransportFactory factory)
{
    std::lock_guard guard(FactoryMutex());
    TransportFactory() = std::move(factory);
}

std::unique_ptr<CMusicData> CreateSourceOfType(int32_t sourceType, std::u16string_view path,
                                               const std::shared_ptr<CPluginCtrl>& registry)
{
    switch (sourceType) {
    case kSourceCdda:
        return std::make_unique<CMusicDataCDDA>(MakeCdTransport());
    case kSourceWave:
        return std::make_unique<CMusicDataWave>();
    case kSourceMp3:
        return std::make_unique<CMusicDataMP3>();
    case kSourcePlugin:
        return std::make_unique<CMusicDataPlugin>(registry, path);
    default:
        return nullptr;
    }
}

std::unique_ptr<CMusicData> CreateSourceForPath(std::u16string_view path, const std::shared_ptr<CPluginCtrl>& registry)
{
    const std::u16string extension = ExtensionOf(path);
    if (extension == u"cue") {
        return std::make_unique<CMusicDataCue>(registry);
    }
    if (extension == u"wav") {
        return CreateSourceOfType(kSourceWave, path, registry);
    }
    if (extension == u"mp3") {
        return CreateSourceOfType(kSourceMp3, path, registry);
    }
    return CreateSourceOfType(kSourcePlugin, path, registry);
}

} // namespace sonavel
