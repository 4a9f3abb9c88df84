#include "core/PlaylistFile.h"

#include "app/ConfigFileIo.h"
#include "app/TextFormat.h"
#include "core/PlaylistCtrlImpl.h"
#include "platform/FileExtension.h"
#include "platform/Utf.h"
#include "sources/MusicDataMP3.h"
#include "sources/MusicResult.h"
#include "sources/SourceFactory.h"

#include <string>

namespace sonavel {

namespace {

// Playlists of many thousands of entries stay far below this.
constexpr size_t kMaxPlaylistFileBytes = 64u << 20;
constexpr size_t kFields = 7;
constexpr size_t kMaxNameCharacters = 255;

std::u16string Quoted(std::u16string_view text)
{
    std::u16string out = u"\"";
    for (const char16_t c : text) {
        out.push_back(c);
        if (c == u'"') {
            out.push_back(u'"');
        }
    }
    out.push_back(u'"');
    return out;
}

std::u16string Decimal(uint64_t value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// Drops the surrounding quotes and turns every doubled quote into one, so that any text
// written by Quoted comes back unchanged (also one made only of quotes).
std::u16string Unquote(std::u16string_view field)
{
    if (field.empty() || field.front() != u'"') {
        return std::u16string(field);
    }
    field.remove_prefix(1);
    if (!field.empty() && field.back() == u'"') {
        field.remove_suffix(1);
    }
    std::u16string out;
    for (size_t i = 0; i < field.size(); ++i) {
        out.push_back(field[i]);
        if (field[i] == u'"' && i + 1 < field.size() && field[i + 1] == u'"') {
            ++i;
        }
    }
    return out;
}

std::u16string DisplayNameOf(const std::u16string& path)
{
    const std::u16string name = FileNameOf(path);
    return name.size() > kMaxNameCharacters ? std::u16string{} : name;
}

// Opens the entry's file once for its current format; false when it cannot be opened.
bool LearnFormat(MusicTrackInfo& entry, const std::shared_ptr<CPluginCtrl>& registry)
{
    std::unique_ptr<CMusicData> source;
    if (ExtensionOf(entry.path) == u"mp3") {
        source = std::make_unique<CMusicDataMP3>(true);
    } else {
        source = CreateSourceForPath(entry.path, registry);
    }
    MusicOpenParams params;
    params.path = entry.path;
    if (!source || source->Open(&params) != kResultOk) {
        return false;
    }
    MusicTrackInfo info;
    info.path = entry.path;
    source->GetTrackInfo(0, &info);
    entry.formatName = info.formatName;
    entry.format = info.format;
    return true;
}

} // namespace

std::u16string PlaylistFileLine(const MusicTrackInfo& entry)
{
    return Quoted(entry.path) + u"," + Decimal(static_cast<uint32_t>(entry.sourceType)) + u"," + Quoted(entry.title) + u"," +
           Quoted(entry.artist) + u"," + Decimal(entry.lengthFrames) + u"," + Decimal(entry.startFrame) + u"," +
           Decimal(entry.endFrame);
}

std::vector<std::u16string> SplitPlaylistFileLine(std::u16string_view line)
{
    enum State { Between, Unquoted, Quoted, QuoteSeen, Stopped };
    std::vector<std::u16string> fields;
    State state = Between;
    size_t begin = 0;
    auto endField = [&](size_t at) {
        fields.emplace_back(Unquote(line.substr(begin, at - begin)));
        state = Between;
    };
    size_t i = 0;
    for (; i < line.size() && state != Stopped; ++i) {
        const char16_t c = line[i];
        switch (state) {
        case Between:
            if (c != u',') {
                if (fields.size() == kFields) {
                    // An eighth field begins: the line cannot be an entry.
                    fields.emplace_back();
                    return fields;
                }
                begin = i;
                state = c == u'"' ? Quoted : Unquoted;
            }
            break;
        case Unquoted:
            if (c == u',') {
                endField(i);
            } else if (c == u'"') {
                state = Stopped;
            }
            break;
        case Quoted:
            if (c == u'"') {
                state = QuoteSeen;
            }
            break;
        case QuoteSeen:
            if (c == u',') {
                endField(i);
            } else if (c == u'"') {
                state = Quoted;
            } else {
                state = Stopped;
            }
            break;
        case Stopped:
            break;
        }
    }
    if (state == Unquoted || state == Quoted || state == QuoteSeen) {
        endField(line.size());
    }
    return fields;
}

bool WritePlaylistFile(CPlaylistCtrlImpl& playlist, const std::u16string& path)
{
    std::string text = "\xEF\xBB\xBF";
    const int32_t count = playlist.GetEntryCount();
    for (int32_t i = 0; i < count; ++i) {
        MusicTrackInfo entry;
        playlist.GetEntry(i, &entry);
        text += Utf16ToUtf8(PlaylistFileLine(entry));
        text += "\r\n";
    }
    if (!WriteFileAtomically(Utf16ToUtf8(path), text)) {
        return false;
    }
    playlist.SetModified(false);
    return true;
}

bool ReadPlaylistFile(const std::u16string& path, const std::shared_ptr<CPluginCtrl>& registry, std::vector<MusicTrackInfo>& out)
{
    out.clear();
    const auto text = ReadConfigText(Utf16ToUtf8(path), kMaxPlaylistFileBytes);
    if (!text) {
        return false;
    }
    std::string_view bytes(*text);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    const std::u16string wide = Utf8ToUtf16(bytes);
    size_t start = 0;
    while (start < wide.size()) {
        size_t end = wide.find(u'\n', start);
        if (end == std::u16string::npos) {
            end = wide.size();
        }
        std::u16string_view line(wide.data() + start, end - start);
        while (!line.empty() && (line.back() == u'\r' || line.back() == u'\n')) {
            line.remove_suffix(1);
        }
        start = end + 1;
        const auto fields = SplitPlaylistFileLine(line);
        if (fields.size() != kFields) {
            continue;
        }
        MusicTrackInfo entry;
        entry.path = fields[0];
        entry.sourceType = static_cast<int32_t>(LeadingDecimal(fields[1]));
        entry.title = fields[2];
        entry.artist = fields[3];
        entry.lengthFrames = LeadingDecimal(fields[4]);
        entry.startFrame = LeadingDecimal(fields[5]);
        entry.endFrame = LeadingDecimal(fields[6]);
        entry.displayName = DisplayNameOf(entry.path);
        if (LearnFormat(entry, registry)) {
            out.push_back(std::move(entry));
        }
    }
    return true;
}

} // namespace sonavel
