#pragma once

#include "plugin-api/PlayerPluginIF.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// One loaded decoder plug-in library.
struct PluginRecord {
    // The shared instance, or null when the plug-in wants one instance per file.
    CPlayerPluginIF* instance = nullptr;
    PpiMakeInstanceFn makeInstance = nullptr;
    PpiReleaseInstanceFn releaseInstance = nullptr;
    void* module = nullptr;
    std::u16string name;
    std::u16string extensions;
    std::u16string version;
};

// Finds the plug-ins in the "Plugin" folder beside the program, keeps one record per extension
// text, hands out instances for files and unloads everything at the end. Load and Unload run while
// no source uses the plug-ins, so the records are read without a lock.
class CPluginCtrl {
public:
    CPluginCtrl() = default;
    CPluginCtrl(const CPluginCtrl&) = delete;
    CPluginCtrl& operator=(const CPluginCtrl&) = delete;
    ~CPluginCtrl();

    // Loads from the program folder's "Plugin" folder; -1 when the program's path is unknown.
    int Load();
    // Loads every "*.ppi" of a folder; a missing folder holds no plug-ins.
    int LoadFolder(const std::filesystem::path& folder);
    int Unload();

    // A ready instance for the file (by its extension), or null.
    CPlayerPluginIF* InstanceForFile(std::u16string_view path);
    void ReleaseForSource(CPlayerPluginIF* instance);
    static CPlayerPluginIF* MakeRecordInstance(PpiMakeInstanceFn makeInstance, PpiReleaseInstanceFn releaseInstance);

    const std::vector<PluginRecord>& Records() const { return records_; }

private:
    void LoadLibrary(const std::filesystem::path& file);

    std::vector<PluginRecord> records_;
};

// Splits an extension text at commas and spaces ("DSF, DFF" gives DSF and DFF).
std::vector<std::u16string> SplitExtensions(std::u16string_view extensions);

} // namespace sonavel
