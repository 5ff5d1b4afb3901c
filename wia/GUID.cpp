// WIAGUIDZVK: A 16-byte GUID value in the Windows memory layout.
#include <windows.h>
#include <objbase.h>
#include <rpc.h>

#include <cstring>

#include "plugin/HostApi.h"
#include "support/Errors.h"
#include "support/HostString.h"
#include "support/Text.h"
#include "wia/Classes.h"
#include "wia/GUIDClass.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

GUID* ValueOf(REALobject self) {
    GUIDData* data = InstanceData<GUIDData>(gGUIDClass, self);
    return data == nullptr ? nullptr : &data->value;
}

unsigned char* BytesOf(REALobject self) {
    return reinterpret_cast<unsigned char*>(ValueOf(self));
}

bool IndexInRange(int64_t index) {
    if (static_cast<uint64_t>(index) < sizeof(GUID)) return true;
    RaiseParameterRange(index, 0, sizeof(GUID), "index", "Byte");
    return false;
}

// "Constructor"
void Constructor(REALobject) noexcept {}

// "Constructor(value1 as integer, ..., value16 as integer)"
void ConstructorFromBytes(REALobject self, int64_t v1, int64_t v2, int64_t v3, int64_t v4, int64_t v5, int64_t v6, int64_t v7,
                          int64_t v8, int64_t v9, int64_t v10, int64_t v11, int64_t v12, int64_t v13, int64_t v14, int64_t v15,
                          int64_t v16) noexcept {
    unsigned char* bytes = BytesOf(self);
    if (bytes == nullptr) return;
    const int64_t values[] = {v1, v2, v3, v4, v5, v6, v7, v8, v9, v10, v11, v12, v13, v14, v15, v16};
    for (size_t k = 0; k < sizeof(GUID); ++k) bytes[k] = static_cast<unsigned char>(values[k] & 0xFF);
}

// "DisplayString as string"
REALstring DisplayString(REALobject self) noexcept {
    const GUID* guid = ValueOf(self);
    if (guid == nullptr) return nullptr;
    wchar_t text[100] = {};
    if (StringFromGUID2(*guid, text, 100) < 1) return nullptr;
    return WString2RB(text);
}

// "Data as string": the 16 bytes, marked ASCII when every byte is below 0x80, else raw bytes.
REALstring DataGetter(REALobject self) noexcept {
    const unsigned char* bytes = BytesOf(self);
    if (bytes == nullptr) return nullptr;
    return REALBuildUnicodeString(bytes, sizeof(GUID), encoding::kUnknown);
}

// Any length but 16 changes nothing.
void DataSetter(REALobject self, REALstring value) noexcept {
    unsigned char* bytes = BytesOf(self);
    StringBytes data(value);
    if (bytes == nullptr || data.data() == nullptr || data.size() != static_cast<int64_t>(sizeof(GUID))) return;
    std::memcpy(bytes, data.data(), sizeof(GUID));
}

// "Byte(index as integer) as integer"
int64_t ByteGetter(REALobject self, int64_t index) noexcept {
    if (!IndexInRange(index)) return 0;
    const unsigned char* bytes = BytesOf(self);
    if (bytes == nullptr) return 0;
    return bytes[index];
}

void ByteSetter(REALobject self, int64_t index, int64_t value) noexcept {
    if (!IndexInRange(index)) return;
    unsigned char* bytes = BytesOf(self);
    if (bytes == nullptr) return;
    bytes[index] = static_cast<unsigned char>(value & 0xFF);
}

// "Equal(other as WIAGUIDZVK) as boolean"
RBBoolean Equal(REALobject self, REALobject other) noexcept {
    const GUID* mine = ValueOf(self);
    const GUID* theirs = GUIDOf(other);
    return mine != nullptr && theirs != nullptr && std::memcmp(mine, theirs, sizeof(GUID)) == 0 ? 1 : 0;
}

// shared "Parse(GUID as String) as WIAGUIDZVK": nil for text that is no GUID.
REALobject Parse(REALstring text) noexcept {
    rbText wide(text);
    GUID guid{};
    if (ParseGUIDText(wide.UTF16(), &guid) != 0) return nullptr;
    return NewGUIDObject(guid);
}

// clang-format off
MethodDefinition kMethods[] = {
    Method(Constructor,           "Constructor"),
    Method(ConstructorFromBytes,  "Constructor(value1 as integer, value2 as integer, value3 as integer, "
                                  "value4 as integer, value5 as integer, value6 as integer, value7 as integer, "
                                  "value8 as integer, value9 as integer, value10 as integer, value11 as integer, "
                                  "value12 as integer, value13 as integer, value14 as integer, "
                                  "value15 as integer, value16 as integer)"),
    Method(DisplayString,         "DisplayString as string"),
    MethodWithSetter(DataGetter, DataSetter, "Data as string"),
    MethodWithSetter(ByteGetter, ByteSetter, "Byte(index as integer) as integer"),
    Method(Equal,                 "Equal(other as WIAGUIDZVK) as boolean"),
};
// clang-format on

// clang-format off
MethodDefinition kSharedMethods[] = {
    Method(Parse, "Parse(GUID as String) as WIAGUIDZVK"),
};
// clang-format on

}  // namespace

REALobject NewGUIDObject(const GUID& guid) {
    REALobject object = host::NewInstance(gGUIDClass.name);
    if (GUID* data = ValueOf(object)) *data = guid;
    return object;
}

const GUID* GUIDOf(REALobject guidObject) {
    return ValueOf(guidObject);
}

long ParseGUIDText(const wchar_t* text, GUID* guid) {
    if (text == nullptr || text[0] != L'{') {
        return UuidFromStringW(reinterpret_cast<RPC_WSTR>(const_cast<wchar_t*>(text)), guid);
    }
    wchar_t stripped[64] = {};
    size_t length = wcslen(text);
    size_t last = length < 63 ? length : 63;
    size_t out = 0;
    for (size_t i = 1; i < last; ++i) {
        if (text[i] != L'{' && text[i] != L'}') stripped[out++] = text[i];
    }
    return UuidFromStringW(reinterpret_cast<RPC_WSTR>(stripped), guid);
}

ClassDefinition gGUIDClass = ClassBuilder("WIAGUIDZVK", sizeof(GUIDData)).Methods(kMethods).SharedMethods(kSharedMethods);

}  // namespace zvk
