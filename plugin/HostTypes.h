// The host's value types as they cross the plug-in boundary on Win64.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zvk {

struct REALstringOpaque;
struct REALobjectOpaque;
struct REALarrayOpaque;

using REALstring = REALstringOpaque*;  // reference-counted host string
using REALobject = REALobjectOpaque*;  // any host object: variants, folder items, windows, our classes
using REALarray = REALarrayOpaque*;
using RBInteger = int64_t;
using RBBoolean = int8_t;  // only the low byte of a returned Boolean counts

// Text handed out by "PluginGetStringData"; given back with "PluginDisposeStringData".
struct StringData {
    const void* data;
    size_t length;
    uint32_t encoding;
    const void* private1;
    uint32_t private2;
};
static_assert(sizeof(StringData) == 40, "host string-data record");

using HostResolver = void* (*)(const char* name);

}  // namespace zvk
