#include "app/IniFile.h"

#include "platform/FileExtension.h"
#include "platform/Utf.h"

#include <algorithm>
#include <utility>

namespace sonavel {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

std::u16string_view Trim(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find(u'\n');
        std::u16string_view line = text.substr(0, end);
        while (!line.empty() && line.back() == u'\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::u16string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::u16string SingleLine(std::u16string_view value)
{
    std::u16string line(value);
    std::replace_if(
        line.begin(), line.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
    return line;
}

} // namespace

IniFile IniFile::Parse(std::string_view text)
{
    // Editors that add a mark to text that already has one leave several; a mark left in the first
    // line would hide a section header there until the file is written without its own mark.
    while (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text.remove_prefix(kUtf8Bom.size());
    }
    const std::u16string wide = Utf8ToUtf16(text);
    IniFile document;
    for (const std::u16string_view raw : SplitLines(wide)) {
        const std::u16string_view line = Trim(raw);
        const size_t close = line.rfind(u']');
        if (!line.empty() && line.front() == u'[' && close != std::u16string_view::npos) {
            Section section;
            section.hasHeader = true;
            section.name = Trim(line.substr(1, close - 1));
            section.headerText = raw;
            document.sections_.push_back(std::move(section));
            continue;
        }
        Line entry;
        entry.text = raw;
        const size_t equals = line.find(u'=');
        if (!line.empty() && line.front() != u';' && equals != std::u16string_view::npos) {
            entry.isKey = true;
            entry.key = Trim(line.substr(0, equals));
            entry.value = Trim(line.substr(equals + 1));
        }
        document.sections_.back().lines.push_back(std::move(entry));
    }
    return document;
}

const std::u16string* IniFile::Find(std::u16string_view section, std::u16string_view key) const
{
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return nullptr;
    }
    for (const Line& line : found->lines) {
        if (line.isKey && EqualsIgnoringCase(line.key, key)) {
            return &line.value;
        }
    }
    return nullptr;
}

void IniFile::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    const std::u16string text = SingleLine(value);
    Section* found = FindSection(section);
    if (found == nullptr) {
        const Section& last = sections_.back();
        const bool endsBlank = last.lines.empty() ? !last.hasHeader : Trim(last.lines.back().text).empty();
        if (!endsBlank) {
            sections_.back().lines.push_back(Line{});
        }
        Section added;
        added.hasHeader = true;
        added.name = section;
        added.headerText = u"[" + std::u16string(section) + u"]";
        sections_.push_back(std::move(added));
        found = &sections_.back();
    }
    auto& lines = found->lines;
    for (Line& line : lines) {
        if (line.isKey && EqualsIgnoringCase(line.key, key)) {
            line.value = text;
            line.text = line.key + u"=" + text;
            return;
        }
    }
    // After the section's last key, so blank lines that separate it from the next one stay below.
    const auto lastKey =
        std::find_if(lines.rbegin(), lines.rend(), [](const Line& line) { return line.isKey; });
    Line added{std::u16string(key) + u"=" + text, true, std::u16string(key), text};
    lines.insert(lastKey.base(), std::move(added));
}

std::string IniFile::ToText() const
{
    std::u16string text;
    for (const Section& section : sections_) {
        if (section.hasHeader) {
            text += section.headerText;
            text += u'\n';
        }
        for (const Line& line : section.lines) {
            text += line.text;
            text += u'\n';
        }
    }
    return Utf16ToUtf8(text);
}

IniFile::Section* IniFile::FindSection(std::u16string_view name)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const IniFile::Section* IniFile::FindSection(std::u16string_view name) const
{
    const auto found = std::find_if(sections_.begin(), sections_.end(), [name](const Section& section) {
        return section.hasHeader && EqualsIgnoringCase(section.name, name);
    });
    return found == sections_.end() ? nullptr : &*found;
}

} // namespace sonavel
