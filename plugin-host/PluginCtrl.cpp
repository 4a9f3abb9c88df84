#include "plugin-host/PluginCtrl.h"

#include "platform/FileExtension.h"
#include "platform/ProgramFolder.h"

#include <algorithm>
#include <dlfcn.h>
#include <regex>

namespace sonavel {

namespace {

constexpr int32_t kProbeCapacity = 99;

std::u16string AskText(CPlayerPluginIF* instance, int32_t (CPlayerPluginIF::*ask)(char16_t*, int32_t))
{
    char16_t buffer[kProbeCapacity + 1] = {};
    if ((instance->*ask)(buffer, kProbeCapacity) != PPI_OK) {
        return {};
    }
    return std::u16string(buffer);
}

} // namespace

std::vector<std::u16string> SplitExtensions(std::u16string_view extensions)
{
    std::vector<std::u16string> tokens;
    std::u16string token;
    for (const char16_t c : extensions) {
        if (c == u',' || c == u' ') {
            if (!token.empty()) {
                tokens.push_back(std::move(token));
                token.clear();
            }
        } else {
            token.push_back(c);
        }
    }
    if (!token.empty()) {
        tokens.push_back(std::move(token));
    }
    return tokens;
}

CPluginCtrl::~CPluginCtrl()
{
    Unload();
}

int CPluginCtrl::Load()
{
    const auto program = ProgramFolder();
    if (program.empty()) {
        return -1;
    }
    return LoadFolder(program / "Plugin");
}

int CPluginCtrl::LoadFolder(const std::filesystem::path& folder)
{
    // The extension must be written in lower case.
    static const std::regex kPattern(R"(^[^/]+\.ppi$)");
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error) {
        return 0;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : it) {
        if (std::regex_match(entry.path().filename().string(), kPattern)) {
            files.push_back(entry.path());
        }
    }
    for (const auto& file : files) {
        LoadLibrary(file);
    }
    return 0;
}

CPlayerPluginIF* CPluginCtrl::MakeRecordInstance(PpiMakeInstanceFn makeInstance, PpiReleaseInstanceFn releaseInstance)
{
    if (makeInstance == nullptr || releaseInstance == nullptr) {
        return nullptr;
    }
    return makeInstance();
}

void CPluginCtrl::LoadLibrary(const std::filesystem::path& file)
{
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        return;
    }
    PluginRecord record;
    record.module = module;
    record.makeInstance = reinterpret_cast<PpiMakeInstanceFn>(dlsym(module, "ppi_MakeInstance"));
    record.releaseInstance = reinterpret_cast<PpiReleaseInstanceFn>(dlsym(module, "ppi_ReleaseInstance"));
    CPlayerPluginIF* probe = MakeRecordInstance(record.makeInstance, record.releaseInstance);
    if (probe == nullptr) {
        dlclose(module);
        return;
    }
    record.name = AskText(probe, &CPlayerPluginIF::GetName);
    record.extensions = AskText(probe, &CPlayerPluginIF::GetExtension);
    record.version = AskText(probe, &CPlayerPluginIF::GetVersion);
    int32_t multi = 0;
    if (probe->IsMultiInstance(&multi) == PPI_OK && multi != 0) {
        record.releaseInstance(probe);
    } else {
        record.instance = probe;
    }
    const auto same = std::find_if(records_.begin(), records_.end(),
                                   [&record](const PluginRecord& r) { return EqualsIgnoringCase(r.extensions, record.extensions); });
    if (same == records_.end()) {
        records_.push_back(std::move(record));
        return;
    }
    if (same->instance != nullptr) {
        same->releaseInstance(same->instance);
    }
    dlclose(same->module);
    *same = std::move(record);
}

int CPluginCtrl::Unload()
{
    for (PluginRecord& record : records_) {
        if (record.instance != nullptr) {
            record.releaseInstance(record.instance);
            record.instance = nullptr;
        }
        dlclose(record.module);
    }
    records_.clear();
    return 0;
}

CPlayerPluginIF* CPluginCtrl::InstanceForFile(std::u16string_view path)
{
    const std::u16string extension = ExtensionOf(path);
    if (extension.empty()) {
        return nullptr;
    }
    for (const PluginRecord& record : records_) {
        for (const std::u16string& token : SplitExtensions(record.extensions)) {
            if (EqualsIgnoringCase(token, extension)) {
                return record.instance != nullptr ? record.instance : MakeRecordInstance(record.makeInstance, record.releaseInstance);
            }
        }
    }
    return nullptr;
}

void CPluginCtrl::ReleaseForSource(CPlayerPluginIF* instance)
{
    if (instance == nullptr) {
        return;
    }
    const std::u16string name = AskText(instance, &CPlayerPluginIF::GetName);
    const auto record = std::find_if(records_.begin(), records_.end(), [&name](const PluginRecord& r) { return EqualsIgnoringCase(r.name, name); });
    if (record != records_.end() && record->instance == nullptr) {
        record->releaseInstance(instance);
    }
}

} // namespace sonavel
