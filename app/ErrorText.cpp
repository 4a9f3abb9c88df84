#include "app/ErrorText.h"

#include "app/StringTable.h"
#include "app/TextFormat.h"
#include "sources/MusicResult.h"

namespace sonavel {

namespace {

struct ResultText {
    int32_t code;
    uint32_t stringId;
    bool withPath;
};

constexpr ResultText kResultTexts[] = {
    {kResultBadArgument, strings::kParameterError, false},
    {kResultOutOfOrder, strings::kIllegalSequence, false},
    {kResultCannotOpen, strings::kCannotOpenFile, true},
    {kResultBroken, strings::kBrokenFile, true},
    {kResultNoMemory, strings::kCannotAllocate, true},
    {kResultReadError, strings::kReadError, true},
    {kResultTooLarge, strings::kTooLargeFile, true},
};

std::u16string WithPath(std::u16string text, std::u16string_view path)
{
    text += u"\r\n";
    text += path;
    return text;
}

} // namespace

std::u16string ResultMessage(int32_t code, std::u16string_view path)
{
    if (code == kResultOk || code == kResultEndOfRange) {
        return {};
    }
    for (const ResultText& entry : kResultTexts) {
        if (entry.code == code) {
            std::u16string text(LoadString(entry.stringId));
            return entry.withPath ? WithPath(std::move(text), path) : text;
        }
    }
    return FormatText(LoadString(strings::kUnknownError), {int64_t{code}});
}

std::u16string FormatNotSupportedMessage(bool dsd, uint32_t sampleRate, std::u16string_view path)
{
    const std::u16string_view kind = dsd ? u"DSD" : u"PCM";
    return WithPath(FormatText(LoadString(strings::kFormatNotSupported), {kind, int64_t{sampleRate}}), path);
}

std::u16string DeviceErrorMessage(int32_t driverCode)
{
    return FormatText(LoadString(strings::kDeviceError), {int64_t{driverCode}});
}

} // namespace sonavel
