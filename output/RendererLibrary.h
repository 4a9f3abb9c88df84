#pragma once

#include "output/RendererLibraryApi.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sonavel {

// The renderer library loaded from the program folder with its exports bound by name. A library
// that is absent leaves the table empty; its devices then simply do not exist.
class RendererLibrary {
public:
    explicit RendererLibrary(const std::filesystem::path& programFolder);
    RendererLibrary(const RendererLibrary&) = delete;
    RendererLibrary& operator=(const RendererLibrary&) = delete;
    ~RendererLibrary();

    bool Loaded() const { return module_ != nullptr; }
    const RendererTable& Table() const { return table_; }
    // The library's devices (at most kWasapiEnumerateMax); empty without the library.
    std::vector<WasapiDeviceRecord> EnumerateDevices() const;

private:
    void* module_ = nullptr;
    RendererTable table_;
};

// A record's text field up to its terminating zero (or the field's end).
std::u16string RecordText(const char16_t* field, size_t capacity);

} // namespace sonavel
