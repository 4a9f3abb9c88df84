#pragma once

#include "sources/MusicData.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace sonavel {

class CPluginCtrl;

// A cue sheet as a list of tracks, each a range of frames inside a real audio file that its own
// source (WAVE, MP3 or plug-in) plays. Only for enumeration: it delivers no audio itself.
class CMusicDataCue : public CMusicData {
public:
    static constexpr int kMaxTracks = 100;

    explicit CMusicDataCue(std::shared_ptr<CPluginCtrl> registry);
    ~CMusicDataCue() override;

    const MusicFileType* GetFileType() override;
    int32_t Open(const MusicOpenParams* params) override;
    int32_t GetTrackCount(int* count) override;
    int32_t GetTrackInfo(int index, MusicTrackInfo* out) override;
    int32_t ReadAll(void** block, uint32_t* bytes) override;

    // Parses the text of a sheet that lies in `folder`; a result code as Open gives.
    int32_t Parse(const std::u16string& text, const std::u16string& folder);

private:
    struct ParseState;
    int32_t ParseLine(const std::vector<std::u16string>& tokens, ParseState& state);
    int32_t OpenAudioFile(const std::u16string& name, ParseState& state);
    int32_t Finish(const ParseState& state);

    std::shared_ptr<CPluginCtrl> registry_;
    MusicFileType fileType_;
    int trackCount_ = 0;
    std::array<MusicTrackInfo, kMaxTracks + 1> tracks_;
    std::array<uint32_t, kMaxTracks + 2> pregap_{};
};

} // namespace sonavel
