#include "app/AppConfigDataIniFileBackend.h"

#include "app/ConfigFileIo.h"

namespace sonavel {

IniFile ReadIniDocument(const std::filesystem::path& path)
{
    const auto text = ReadConfigText(path);
    return text ? IniFile::Parse(*text) : IniFile{};
}

bool WriteIniDocument(const std::filesystem::path& path, const IniFile& document)
{
    return WriteFileAtomically(path, document.ToText());
}

} // namespace sonavel
