// WIAGUIDZVK as other classes use it: the creator and the GUID of an argument object.
#pragma once

#include <windows.h>

#include "plugin/HostTypes.h"

namespace zvk {

// A new WIAGUIDZVK holding the GUID (the caller owns the reference), or nil when the host makes none.
REALobject NewGUIDObject(const GUID& guid);

// The 16 bytes inside a WIAGUIDZVK object, or null for nil.
const GUID* GUIDOf(REALobject guidObject);

}  // namespace zvk
