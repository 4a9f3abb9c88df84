#pragma once

#include "plugin-api/PlayerPluginIF.h"
#include "sources/MusicData.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sonavel {

class CPluginCtrl;

// The source for every file a decoder plug-in reads: drives one plug-in instance and turns its
// frame-based interface into frame75 ranges and blocks of host memory. DSD plug-ins are always
// asked for native DSD words; any DoP packing is the engine's.
class CMusicDataPlugin : public CMusicData {
public:
    // For a file: the registry's instance for the file's extension (none: every Open fails).
    CMusicDataPlugin(std::shared_ptr<CPluginCtrl> registry, std::u16string_view path);
    // For the open-file dialog: the plug-in of registry record `record`.
    CMusicDataPlugin(std::shared_ptr<CPluginCtrl> registry, size_t record);
    ~CMusicDataPlugin() override;
    CMusicDataPlugin(const CMusicDataPlugin&) = delete;
    CMusicDataPlugin& operator=(const CMusicDataPlugin&) = delete;

    const MusicFileType* GetFileType() override;
    int32_t Open(const MusicOpenParams* params) override;
    int32_t GetTrackCount(int* count) override;
    int32_t GetTrackInfo(int index, MusicTrackInfo* out) override;
    int32_t SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames) override;
    int32_t ReadNext(void** block, uint32_t* bytes) override;
    int32_t IsDsd(int* out) override;
    int32_t SetDsdMode(int mode) override;
    int32_t CanPrepareAhead(int* out) override;

    // Plug-in result codes as music-source result codes.
    static int32_t MapResult(int32_t pluginResult);

private:
    int32_t OpenFile(const MusicOpenParams& params);
    uint64_t Granularity();

    std::shared_ptr<CPluginCtrl> registry_;
    CPlayerPluginIF* plugin_ = nullptr;
    bool ownsInstance_ = false;
    MusicTrackInfo info_;
    std::u16string nameText_;
    std::u16string extText_;
    MusicFileType fileType_;
    uint64_t cursor_ = 0;
    uint64_t rangeEnd_ = 0;
    uint32_t granule_ = 0;
};

} // namespace sonavel
