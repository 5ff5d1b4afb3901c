// Process-wide values fixed while REALPluginMain runs, read everywhere after.
#pragma once

#include <cstdint>

namespace zvk {

extern double HostVersion;         // the host's version, 0 when it does not say
extern uint32_t PluginApiVersion;  // interface level 9 to 13, chosen from HostVersion

}  // namespace zvk
