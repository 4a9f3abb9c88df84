#pragma once

#include "sources/MusicData.h"
#include "sources/ScsiTransport.h"

#include <functional>

#include <memory>
#include <string_view>

namespace sonavel {

class CPluginCtrl;

// The one place that maps a file's extension, or an entry's stored source type, to its source.
// Files of other extensions get a plug-in source, whose Open fails when no plug-in reads them.
std::unique_ptr<CMusicData> CreateSourceForPath(std::u16string_view path, const std::shared_ptr<CPluginCtrl>& registry);
// Null for a type that no source has. Cue sheets have no type of their own: their tracks carry
// the type of the source that plays their audio file.
std::unique_ptr<CMusicData> CreateSourceOfType(int32_t sourceType, std::u16string_view path,
                                               const std::shared_ptr<CPluginCtrl>& registry);

// How CD sources reach their drive: SG_IO unless a front end or a test hands in another transport
// (a disc image). Applies to CD sources created afterwards; an empty function restores SG_IO.
using CdTransportFactory = std::function<std::shared_ptr<IScsiTransport>()>;
void SetCdTransportFactory(CdTransportFactory factory);

} // namespace sonavel
