#include "app/TextEncoding.h"

#include "platform/CodePage.h"
#include "platform/CodePageDetect.h"
#include "platform/Normalize.h"
#include "platform/Utf.h"

#include <array>
#include <cstring>

namespace sonavel {

namespace {

std::string_view UpToZeroByte(std::span<const uint8_t> bytes)
{
    const auto* data = reinterpret_cast<const char*>(bytes.data());
    const void* zero = std::memchr(data, 0, bytes.size());
    return {data, zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - data) : bytes.size()};
}

std::u16string Utf16Units(std::span<const uint8_t> bytes, bool bigEndian)
{
    std::u16string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(bigEndian ? (bytes[i] << 8) | bytes[i + 1] : (bytes[i + 1] << 8) | bytes[i]);
        if (unit == 0) {
            break;
        }
        out.push_back(unit);
    }
    return out;
}

struct KanaPair {
    char16_t base;
    char16_t mark;
    char16_t composed;
};

constexpr char16_t kVoiced = 0x3099;
constexpr char16_t kSemiVoiced = 0x309A;

constexpr std::array<char16_t, 41> kVoicedBases{
    0x304B, 0x304D, 0x304F, 0x3051, 0x3053, 0x3055, 0x3057, 0x3059, 0x305B, 0x305D, 0x305F,
    0x3061, 0x3064, 0x3066, 0x3068, 0x306F, 0x3072, 0x3075, 0x3078, 0x307B, 0x30AB, 0x30AD,
    0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4,
    0x30C6, 0x30C8, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x309D,
};
constexpr std::array<char16_t, 10> kSemiVoicedBases{
    0x306F, 0x3072, 0x3075, 0x3078, 0x307B, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,
};

constexpr auto kKanaPairs = [] {
    std::array<KanaPair, kVoicedBases.size() + 1 + kSemiVoicedBases.size()> pairs{};
    size_t n = 0;
    for (const char16_t base : kVoicedBases) {
        pairs[n++] = {base, kVoiced, static_cast<char16_t>(base + 1)};
    }
    pairs[n++] = {0x30A6, kVoiced, 0x30F4};
    for (const char16_t base : kSemiVoicedBases) {
        pairs[n++] = {base, kSemiVoiced, static_cast<char16_t>(base + 2)};
    }
    return pairs;
}();
static_assert(kKanaPairs.size() == 52);

} // namespace

std::u16string DecodeTagText(std::span<const uint8_t> bytes, int encodingCode)
{
    switch (encodingCode) {
    case kTextEncodingUtf16Bom:
        if (bytes.size() < 2) {
            return {};
        }
        return Utf16Units(bytes.subspan(2), !(bytes[0] == 0xFF && bytes[1] == 0xFE));
    case kTextEncodingUtf16Be:
        return Utf16Units(bytes, true);
    case kTextEncodingUtf8:
        return Utf8ToUtf16(UpToZeroByte(bytes));
    default:
        return DecodeSystemText(UpToZeroByte(bytes));
    }
}

std::u16string ComposeKana(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t composed = 0;
        if (i + 1 < text.size()) {
            for (const KanaPair& pair : kKanaPairs) {
                if (pair.base == text[i] && pair.mark == text[i + 1]) {
                    composed = pair.composed;
                    break;
                }
            }
        }
        if (composed != 0) {
            out.push_back(composed);
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::u16string NormalizeForDisplay(std::u16string_view text)
{
    if (auto normalized = NormalizeNfc(text); normalized && !normalized->empty()) {
        return std::move(*normalized);
    }
    return ComposeKana(text);
}

std::u16string AnsiToWide(const char* text)
{
    if (text == nullptr || *text == '\0') {
        return {};
    }
    return DecodeSystemText(text);
}

std::u16string DecodeDetectedText(std::string_view bytes)
{
    const std::string codePage = DetectCodePage(bytes);
    if (!codePage.empty()) {
        if (auto decoded = DecodeCodePage(bytes, codePage)) {
            return std::move(*decoded);
        }
    }
    return DecodeCodePage(bytes, LegacyCodePage()).value_or(std::u16string{});
}

} // namespace sonavel
