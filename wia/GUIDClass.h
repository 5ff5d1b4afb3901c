// WIAGUIDZVK as other classes use it: the creator and the GUID of an argument object.
#pragma once

#include <windows.h>

#include "plugin/HostTypes.h"

namespace zvk {

// A new WIAGUIDZVK holding the GUID (the caller owns the reference), or nil when the host makes none.
REALobject NewGUIDObject(const GUID& guid);

// The 16 bytes inside a WIAGUIDZVK object, or null for nil.
const GUID* GUIDOf(REALobject guidObject);

// Parses "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", bare or in braces, with UuidFromStringW. A text that
// starts with "{" loses every brace (only its first 63 characters count); 0 on success.
long ParseGUIDText(const wchar_t* text, GUID* guid);

// A shared method "k... as WIAGUIDZVK" of a class table: every call gives a new object holding value.
template <const GUID& value>
REALobject GUIDConstant() noexcept {
    return NewGUIDObject(value);
}

}  // namespace zvk
