#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// An INI document as Windows profile files have it: "[section]" headers and "key=value" lines,
// names compared ignoring (ASCII) case, the first section and the first key of a name winning.
// Lines that are neither (comments, blank lines, text before the first header) are kept, so a
// document written back keeps what it does not understand.
class IniFile {
  public:
    // Reads UTF-8 text (leading byte-order marks skipped; invalid bytes become U+FFFD) with CRLF
    // or LF line ends. Never fails: any text is some document.
    static IniFile Parse(std::string_view text);

    // The value text of a key, trimmed of surrounding white space; null when the section or the
    // key is absent.
    const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;
    // Replaces the key's value, or adds the key at the end of its section, or adds the section at
    // the end of the document. A value cannot span lines: line breaks in it become spaces.
    void Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // UTF-8 without byte-order mark, LF line ends.
    std::string ToText() const;

  private:
    struct Line {
        std::u16string text;
        bool isKey = false;
        std::u16string key;
        std::u16string value;
    };
    struct Section {
        bool hasHeader = false;
        std::u16string name;
        std::u16string headerText;
        std::vector<Line> lines;
    };

    Section* FindSection(std::u16string_view name);
    const Section* FindSection(std::u16string_view name) const;

    // sections_[0] holds the lines before the first header.
    std::vector<Section> sections_{Section{}};
};

} // namespace sonavel
