#include "sources/MusicDataCue.h"

#include "app/StringTable.h"
#include "app/TextFormat.h"
#include "platform/FileExtension.h"
#include "platform/File.h"
#include "platform/Utf.h"
#include "sources/CueSheetText.h"
#include "sources/MusicResult.h"
#include "sources/SourceFactory.h"

#include <algorithm>
#include <map>
#include <vector>

namespace sonavel {

namespace {

// Sheets are small; a larger file is not a cue sheet.
constexpr uint64_t kMaxSheetBytes = 4u << 20;

bool CommandIs(const std::u16string& token, std::u16string_view command)
{
    return EqualsIgnoringCase(token, command);
}

} // namespace

struct CMusicDataCue::ParseState {
    std::u16string folder;
    int current = 0;
    std::u16string albumPerformer;
    bool haveFile = false;
    MusicTrackInfo file;
    // One source per kind, reused for every file of that kind.
    std::map<int32_t, std::unique_ptr<CMusicData>> sources;
    // Plug-in sources live until parsing ends.
    std::vector<std::unique_ptr<CMusicData>> pluginSources;
};

CMusicDataCue::CMusicDataCue(std::shared_ptr<CPluginCtrl> registry)
    : registry_(std::move(registry)), fileType_{LoadString(strings::kCueSheet).data(), u"cue"}
{
}

CMusicDataCue::~CMusicDataCue() = default;

const MusicFileType* CMusicDataCue::GetFileType()
{
    return &fileType_;
}

int32_t CMusicDataCue::Open(const MusicOpenParams* params)
{
    if (params == nullptr) {
        return kResultBadArgument;
    }
    trackCount_ = 0;
    ReadOnlyFile file;
    if (file.Open(params->path) != ReadOnlyFile::OpenError::None) {
        return kResultCannotOpen;
    }
    if (file.Size() > kMaxSheetBytes) {
        return kResultBroken;
    }
    std::string bytes(static_cast<size_t>(file.Size()), '\0');
    if (file.ReadAt(0, std::span(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size())) != static_cast<int64_t>(bytes.size())) {
        return kResultCannotOpen;
    }
    const size_t slash = params->path.rfind(u'/');
    const std::u16string folder = slash == std::u16string::npos ? std::u16string{} : params->path.substr(0, slash + 1);
    return Parse(DecodeCueSheet(bytes), folder);
}

int32_t CMusicDataCue::Parse(const std::u16string& text, const std::u16string& folder)
{
    trackCount_ = 0;
    tracks_.fill(MusicTrackInfo{});
    pregap_.fill(0);
    ParseState state;
    state.folder = folder;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(u'\n', start), text.size());
        if (const int32_t result = ParseLine(SplitCueLine(std::u16string_view(text).substr(start, end - start)), state);
            result != kResultOk) {
            return result;
        }
        start = end + 1;
    }
    return Finish(state);
}

int32_t CMusicDataCue::OpenAudioFile(const std::u16string& name, ParseState& state)
{
    std::u16string path = name;
    // Sheets written on Windows separate folders with backslashes.
    std::replace(path.begin(), path.end(), u'\\', u'/');
    if (path.empty() || path[0] != u'/') {
        path = state.folder + path;
    }
    const std::u16string extension = ExtensionOf(path);
    const int32_t kind = extension == u"wav" ? kSourceWave : extension == u"mp3" ? kSourceMp3 : kSourcePlugin;
    CMusicData* source = nullptr;
    if (kind == kSourcePlugin) {
        state.pluginSources.push_back(CreateSourceOfType(kind, path, registry_));
        source = state.pluginSources.back().get();
    } else {
        auto& reused = state.sources[kind];
        if (!reused) {
            reused = CreateSourceOfType(kind, path, registry_);
        }
        source = reused.get();
    }
    MusicOpenParams params;
    params.path = path;
    MusicTrackInfo info;
    info.path = path;
    if (source == nullptr || source->Open(&params) != kResultOk || source->GetTrackInfo(0, &info) != kResultOk ||
        info.lengthFrames == 0) {
        return kResultBroken;
    }
    info.path = path;
    info.displayName = FileNameOf(path);
    state.file = std::move(info);
    state.haveFile = true;
    return kResultOk;
}

int32_t CMusicDataCue::ParseLine(const std::vector<std::u16string>& tokens, ParseState& state)
{
    if (tokens.empty() || CommandIs(tokens[0], u"REM")) {
        return kResultOk;
    }
    const std::u16string& command = tokens[0];
    const bool inTrack = state.current >= 1 && state.current <= kMaxTracks;
    MusicTrackInfo* track = inTrack ? &tracks_[static_cast<size_t>(state.current - 1)] : nullptr;
    if (CommandIs(command, u"PERFORMER")) {
        if (tokens.size() < 2) {
            return kResultBroken;
        }
        if (track != nullptr) {
            track->artist = tokens[1];
        } else if (state.current == 0) {
            state.albumPerformer = tokens[1];
        }
    } else if (CommandIs(command, u"TITLE")) {
        if (tokens.size() < 2) {
            return kResultBroken;
        }
        if (track != nullptr) {
            track->title = tokens[1];
        }
    } else if (CommandIs(command, u"FILE")) {
        if (tokens.size() != 3) {
            return kResultBroken;
        }
        return OpenAudioFile(tokens[1], state);
    } else if (CommandIs(command, u"TRACK")) {
        if (tokens.size() != 3 || !CommandIs(tokens[2], u"AUDIO") || !state.haveFile) {
            return kResultBroken;
        }
        state.current = static_cast<int32_t>(LeadingDecimal(tokens[1], INT32_MAX));
        if (state.current >= 1 && state.current <= kMaxTracks) {
            MusicTrackInfo& record = tracks_[static_cast<size_t>(state.current - 1)];
            record = state.file;
            record.title = FormatText(LoadString(strings::kCueTrackTitle), {int64_t{state.current}});
            record.artist = state.albumPerformer;
            record.startFrame = 0;
            record.endFrame = state.file.lengthFrames;
            pregap_[static_cast<size_t>(state.current - 1)] = 0;
        }
    } else if (CommandIs(command, u"INDEX")) {
        if (!inTrack || tokens.size() < 3) {
            return kResultOk;
        }
        const bool digits = !tokens[1].empty() && tokens[1].find_first_not_of(u"0123456789") == std::u16string::npos;
        const int32_t number = digits ? static_cast<int32_t>(LeadingDecimal(tokens[1], INT32_MAX)) : -1;
        const uint32_t time = ParseCueTime(tokens[2]);
        if (number == 0) {
            pregap_[static_cast<size_t>(state.current - 1)] = time;
        } else if (number == 1) {
            track->startFrame = time;
        } else {
            return kResultBroken;
        }
    }
    return kResultOk;
}

int32_t CMusicDataCue::Finish(const ParseState& state)
{
    const int count = std::min(state.current, kMaxTracks);
    if (count <= 0) {
        trackCount_ = 0;
        return kResultOk;
    }
    MusicTrackInfo& marker = tracks_[static_cast<size_t>(count)];
    marker.path = state.file.path;
    marker.startFrame = state.file.lengthFrames;
    pregap_[static_cast<size_t>(count)] = state.file.lengthFrames;
    for (int k = 0; k < count; ++k) {
        MusicTrackInfo& track = tracks_[static_cast<size_t>(k)];
        const MusicTrackInfo& next = tracks_[static_cast<size_t>(k + 1)];
        // Tracks numbered with gaps leave empty records; they belong to no file.
        if (track.path.empty()) {
            return kResultBroken;
        }
        uint64_t end = 0;
        if (next.path == track.path) {
            const uint32_t boundary = pregap_[static_cast<size_t>(k + 1)] != 0 ? pregap_[static_cast<size_t>(k + 1)] : next.startFrame;
            end = boundary;
        } else {
            end = track.lengthFrames;
        }
        // A track must start before it ends, inside its file.
        if (end <= track.startFrame) {
            return kResultBroken;
        }
        track.endFrame = static_cast<uint32_t>(end - 1);
        track.lengthFrames = track.endFrame - track.startFrame + 1;
    }
    trackCount_ = count;
    return kResultOk;
}

int32_t CMusicDataCue::GetTrackCount(int* count)
{
    if (count == nullptr) {
        return kResultBadArgument;
    }
    *count = trackCount_;
    return kResultOk;
}

int32_t CMusicDataCue::GetTrackInfo(int index, MusicTrackInfo* out)
{
    if (out == nullptr || index < 0 || index >= trackCount_) {
        return kResultBadArgument;
    }
    const MusicTrackInfo& track = tracks_[static_cast<size_t>(index)];
    out->path = track.path;
    out->displayName = track.displayName;
    CopyTrackFields(track, *out);
    return kResultOk;
}

int32_t CMusicDataCue::ReadAll(void** block, uint32_t* bytes)
{
    if (block != nullptr) {
        *block = nullptr;
    }
    if (bytes != nullptr) {
        *bytes = 0;
    }
    return kResultOk;
}

} // namespace sonavel
