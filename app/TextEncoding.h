#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sonavel {

// Encoding codes of tag texts (the ID3v2 text-encoding byte).
inline constexpr int kTextEncodingSystem = 0;
inline constexpr int kTextEncodingUtf16Bom = 1;
inline constexpr int kTextEncodingUtf16Be = 2;
inline constexpr int kTextEncodingUtf8 = 3;

// Decodes a tag field of the given encoding. The text ends at its zero byte (or zero 16-bit unit
// for the UTF-16 forms) or at the end of the span, whichever comes first.
std::u16string DecodeTagText(std::span<const uint8_t> bytes, int encodingCode);

// Composes decomposed characters (NFC) for display; falls back to the kana composition table.
std::u16string NormalizeForDisplay(std::u16string_view text);

// Composes only the kana pairs of the fallback table.
std::u16string ComposeKana(std::u16string_view text);

// A narrow text in the system's encoding (UTF-8 when valid, else the legacy code page).
std::u16string AnsiToWide(const char* text);

// A text whose encoding is not declared: the code page is detected, then the text converted.
// Empty when neither works.
std::u16string DecodeDetectedText(std::string_view bytes);

} // namespace sonavel
