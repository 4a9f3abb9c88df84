#include "platform/CodePageDetect.h"

#include "platform/Utf.h"

#include <uchardet.h>

namespace sonavel {

std::string DetectCodePage(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) {
        return "UTF-8";
    }
    uchardet_t detector = uchardet_new();
    if (detector == nullptr) {
        return {};
    }
    std::string charset;
    if (uchardet_handle_data(detector, bytes.data(), bytes.size()) == 0) {
        uchardet_data_end(detector);
        const char* name = uchardet_get_charset(detector);
        charset = name != nullptr ? name : "";
    }
    uchardet_delete(detector);
    // iconv's SHIFT_JIS rejects the NEC and IBM extensions that Japanese Windows texts use.
    if (charset == "SHIFT_JIS") {
        charset = "CP932";
    }
    return charset;
}

} // namespace sonavel
