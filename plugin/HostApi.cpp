#include "plugin/HostApi.h"

#include "plugin/ClassRecords.h"
#include "plugin/Globals.h"

namespace zvk {
namespace host {
namespace {

HostResolver gResolver = nullptr;
EntryBase* gEntries = nullptr;  // constant-initialised, so entries may link in during static init

}  // namespace

EntryBase::EntryBase(const char* name) : name_(name), next_(gEntries) {
    gEntries = this;
}

void* EntryBase::address() {
    if (address_ == nullptr && gResolver != nullptr) address_ = gResolver(name_);
    return address_;
}

void SetResolver(HostResolver resolver) {
    gResolver = resolver;
}

HostResolver Resolver() {
    return gResolver;
}

void ResetEntryCache() {
    for (EntryBase* entry = gEntries; entry != nullptr; entry = entry->next_) entry->reset();
}

namespace {

Entry<double (*)()> kGetRBVersion{"REALGetRBVersion"};
Entry<void (*)(int32_t)> kRegisterPluginVersion{"RegisterPluginVersion"};
Entry<RBBoolean (*)()> kInRuntime{"REALinRuntime"};
Entry<void (*)(void*)> kRegisterClass{"PluginRegisterClass"};

Entry<REALobject (*)(const char*)> kNewInstance{"PluginNewInstance"};
Entry<void (*)(REALobject)> kLockObject{"REALLockObject"};
Entry<void (*)(REALobject)> kUnlockObject{"REALUnlockObject"};
Entry<void* (*)(const char*)> kObjectType{"pluginObjectType"};
Entry<RBBoolean (*)(REALobject, void*)> kObjectIsa{"RuntimeObjectIsa"};
Entry<void* (*)(REALobject, const char*)> kLoadObjectMethod{"REALLoadObjectMethod"};
Entry<void* (*)(const char*, const char*)> kLoadGlobalMethod{"REALLoadGlobalMethod"};
Entry<void* (*)(REALobject, int64_t)> kGetEventInstance{"GetEventInstance"};

template <typename T>
using GetProp = int32_t (*)(REALobject, const char*, T*);
Entry<GetProp<int64_t>> kGetPropValueInteger{"REALGetPropValueInteger"};
Entry<GetProp<int32_t>> kGetPropValueInt{"REALGetPropValueInt"};
Entry<GetProp<int64_t>> kGetPropValueInt64{"REALGetPropValueInt64"};
Entry<GetProp<uint32_t>> kGetPropValueUInt32{"REALGetPropValueUInt32"};
Entry<GetProp<uint64_t>> kGetPropValueUInt64{"REALGetPropValueUInt64"};
Entry<GetProp<float>> kGetPropValueSingle{"REALGetPropValueSingle"};
Entry<GetProp<double>> kGetPropValueDouble{"REALGetPropValueDouble"};
Entry<GetProp<RBBoolean>> kGetPropValueBool{"REALGetPropValueBool"};
Entry<GetProp<REALstring>> kGetPropValueString{"REALGetPropValueString"};
Entry<int32_t (*)(REALobject, const char*, int64_t)> kSetPropValueInteger{"REALSetPropValueInteger"};
Entry<int32_t (*)(REALobject, const char*, REALstring)> kSetPropValueString{"REALSetPropValueString"};

Entry<void (*)(REALstring)> kLockString{"REALLockString"};
Entry<void (*)(REALstring)> kUnlockString{"REALUnlockString"};
Entry<REALstring (*)(const char*, int32_t)> kBuildString{"REALBuildString"};
Entry<REALstring (*)(const char*, int32_t, uint32_t)> kBuildStringWithEncoding{"REALBuildStringWithEncoding"};
Entry<void (*)(REALstring, uint32_t)> kSetStringEncoding{"REALSetStringEncoding"};
Entry<uint32_t (*)(REALstring)> kGetStringEncoding{"REALGetStringEncoding"};
Entry<REALstring (*)(REALstring, uint32_t)> kConvertString{"REALConvertString"};
Entry<void* (*)(REALstring)> kStringGetCString{"StringGetCString"};
Entry<RBBoolean (*)(REALstring, uint32_t, StringData*)> kGetStringData{"PluginGetStringData"};
Entry<void (*)(StringData*)> kDisposeStringData{"PluginDisposeStringData"};

Entry<REALobject (*)(RBBoolean)> kBooleanToVariant{"BooleanToVariant"};
Entry<REALobject (*)(int64_t)> kIntegerToVariant{"IntegerToVariant"};
Entry<REALobject (*)(int64_t)> kInt64ToVariant{"Int64ToVariant"};
Entry<REALobject (*)(uint32_t)> kUInt32ToVariant{"UInt32ToVariant"};
Entry<REALobject (*)(uint64_t)> kUInt64ToVariant{"UInt64ToVariant"};
Entry<REALobject (*)(float)> kSingleToVariant{"SingleToVariant"};
Entry<REALobject (*)(double)> kDoubleToVariant{"DoubleToVariant"};
Entry<REALobject (*)(REALstring)> kStringToVariant{"StringToVariant"};

Entry<REALarray (*)(int32_t, int64_t)> kCreateArray{"RuntimeArrayCreateSingleDimBoundedArray"};
Entry<void* (*)(REALarray)> kObjectArrayInsertProc{"PluginObjectArrayInsertProc"};
Entry<void* (*)(REALarray)> kStringArrayInsertProc{"PluginStringArrayInsertProc"};

Entry<REALobject (*)(void*)> kPtrToMemoryBlock{"PtrToMemoryBlock"};
Entry<REALstring (*)(REALobject)> kPathFromFolderItem{"REALpathFromFolderItem"};
Entry<void (*)(REALobject)> kRaiseException{"RuntimeRaiseException"};
Entry<REALobject (*)(void (*)(void*), void*)> kCallFunctionWithExceptionHandler{"PluginCallFunctionWithExceptionHandler"};

// Calls the entry when the host has it; otherwise yields the value-initialised result.
template <typename R, typename Fn, typename... Args>
R CallOr(Entry<Fn>& entry, Args... args) {
    if (Fn fn = entry.get()) return static_cast<R>(fn(args...));
    return R{};
}

template <typename T>
bool GetProperty(Entry<GetProp<T>>& entry, REALobject object, const char* name, T* value) {
    GetProp<T> fn = entry.get();
    return fn != nullptr && fn(object, name, value) == 1;
}

}  // namespace

double GetRBVersion() {
    return CallOr<double>(kGetRBVersion);
}

bool HasGetRBVersion() {
    return kGetRBVersion.get() != nullptr;
}

bool RegisterPluginVersion(int32_t level) {
    auto fn = kRegisterPluginVersion.get();
    if (fn != nullptr) fn(level);
    return fn != nullptr;
}

bool InRuntime() {
    auto fn = kInRuntime.get();
    return fn != nullptr && (fn() & 0xFF) != 0;
}

bool RegisterHostClass(void* classDefinition) {
    auto fn = kRegisterClass.get();
    if (fn != nullptr) fn(classDefinition);
    return fn != nullptr;
}

REALobject NewInstance(const char* className) {
    return CallOr<REALobject>(kNewInstance, className);
}

void LockObject(REALobject object) {
    if (auto fn = kLockObject.get(); fn != nullptr && object != nullptr) fn(object);
}

void UnlockObject(REALobject object) {
    if (auto fn = kUnlockObject.get(); fn != nullptr && object != nullptr) fn(object);
}

void* ObjectType(const char* className) {
    return CallOr<void*>(kObjectType, className);
}

bool ObjectIsa(REALobject object, void* classRef) {
    auto fn = kObjectIsa.get();
    return fn != nullptr && (fn(object, classRef) & 0xFF) != 0;
}

void* LoadObjectMethod(REALobject object, const char* declaration) {
    return CallOr<void*>(kLoadObjectMethod, object, declaration);
}

void* LoadGlobalMethod(const char* declaration) {
    return CallOr<void*>(kLoadGlobalMethod, static_cast<const char*>(nullptr), declaration);
}

void* EventInstance(REALobject object, const EventDefinition& event) {
    // Interface level 9 keeps the id one record further in.
    int64_t id = static_cast<int64_t>(event.hostEventId);
    if (PluginApiVersion <= 9 && id != 0) id = reinterpret_cast<const int64_t*>(static_cast<uintptr_t>(id))[1];
    return CallOr<void*>(kGetEventInstance, object, id);
}

bool GetPropValueInteger(REALobject object, const char* name, int64_t* value) {
    return GetProperty(kGetPropValueInteger, object, name, value);
}
bool GetPropValueInt(REALobject object, const char* name, int32_t* value) {
    return GetProperty(kGetPropValueInt, object, name, value);
}
bool GetPropValueInt64(REALobject object, const char* name, int64_t* value) {
    return GetProperty(kGetPropValueInt64, object, name, value);
}
bool GetPropValueUInt32(REALobject object, const char* name, uint32_t* value) {
    return GetProperty(kGetPropValueUInt32, object, name, value);
}
bool GetPropValueUInt64(REALobject object, const char* name, uint64_t* value) {
    return GetProperty(kGetPropValueUInt64, object, name, value);
}
bool GetPropValueSingle(REALobject object, const char* name, float* value) {
    return GetProperty(kGetPropValueSingle, object, name, value);
}
bool GetPropValueDouble(REALobject object, const char* name, double* value) {
    return GetProperty(kGetPropValueDouble, object, name, value);
}
bool GetPropValueBool(REALobject object, const char* name, RBBoolean* value) {
    return GetProperty(kGetPropValueBool, object, name, value);
}
bool GetPropValueString(REALobject object, const char* name, REALstring* value) {
    return GetProperty(kGetPropValueString, object, name, value);
}

bool SetPropValueInteger(REALobject object, const char* name, int64_t value) {
    auto fn = kSetPropValueInteger.get();
    return fn != nullptr && fn(object, name, value) == 1;
}

bool SetPropValueString(REALobject object, const char* name, REALstring value) {
    auto fn = kSetPropValueString.get();
    return fn != nullptr && fn(object, name, value) == 1;
}

void LockString(REALstring text) {
    if (auto fn = kLockString.get(); fn != nullptr && text != nullptr) fn(text);
}

void UnlockString(REALstring text) {
    if (auto fn = kUnlockString.get(); fn != nullptr && text != nullptr) fn(text);
}

REALstring BuildString(const char* bytes, int32_t count) {
    return CallOr<REALstring>(kBuildString, bytes, count);
}

REALstring BuildStringWithEncoding(const char* bytes, int32_t count, uint32_t encoding) {
    return CallOr<REALstring>(kBuildStringWithEncoding, bytes, count, encoding);
}

void SetStringEncoding(REALstring text, uint32_t encoding) {
    if (auto fn = kSetStringEncoding.get(); fn != nullptr && text != nullptr) fn(text, encoding);
}

uint32_t GetStringEncoding(REALstring text) {
    return CallOr<uint32_t>(kGetStringEncoding, text);
}

REALstring ConvertString(REALstring text, uint32_t encoding) {
    return CallOr<REALstring>(kConvertString, text, encoding);
}

const char* StringGetCString(REALstring text) {
    return static_cast<const char*>(CallOr<void*>(kStringGetCString, text));
}

bool GetStringData(REALstring text, uint32_t encoding, StringData* data) {
    auto fn = kGetStringData.get();
    return fn != nullptr && (fn(text, encoding, data) & 0xFF) != 0;
}

void DisposeStringData(StringData* data) {
    if (auto fn = kDisposeStringData.get()) fn(data);
}

REALobject BooleanToVariant(RBBoolean value) {
    return CallOr<REALobject>(kBooleanToVariant, value);
}
REALobject IntegerToVariant(int64_t value) {
    return CallOr<REALobject>(kIntegerToVariant, value);
}
REALobject Int64ToVariant(int64_t value) {
    return CallOr<REALobject>(kInt64ToVariant, value);
}
REALobject UInt32ToVariant(uint32_t value) {
    return CallOr<REALobject>(kUInt32ToVariant, value);
}
REALobject UInt64ToVariant(uint64_t value) {
    return CallOr<REALobject>(kUInt64ToVariant, value);
}
REALobject SingleToVariant(float value) {
    return CallOr<REALobject>(kSingleToVariant, value);
}
REALobject DoubleToVariant(double value) {
    return CallOr<REALobject>(kDoubleToVariant, value);
}
REALobject StringToVariant(REALstring value) {
    return CallOr<REALobject>(kStringToVariant, value);
}

REALarray CreateArray(int32_t elementType, int64_t upperBound) {
    return CallOr<REALarray>(kCreateArray, elementType, upperBound);
}

bool InsertIntoArray(REALarray array, int64_t index, REALobject value) {
    using Inserter = void (*)(REALarray, int64_t, REALobject);
    auto proc = kObjectArrayInsertProc.get();
    auto insert = proc != nullptr && array != nullptr ? reinterpret_cast<Inserter>(proc(array)) : nullptr;
    if (insert != nullptr) insert(array, index, value);
    return insert != nullptr;
}

bool InsertIntoArray(REALarray array, int64_t index, REALstring value) {
    using Inserter = void (*)(REALarray, int64_t, REALstring);
    auto proc = kStringArrayInsertProc.get();
    auto insert = proc != nullptr && array != nullptr ? reinterpret_cast<Inserter>(proc(array)) : nullptr;
    if (insert != nullptr) insert(array, index, value);
    return insert != nullptr;
}

REALobject PtrToMemoryBlock(void* address) {
    return CallOr<REALobject>(kPtrToMemoryBlock, address);
}

REALstring PathFromFolderItem(REALobject folderItem) {
    return CallOr<REALstring>(kPathFromFolderItem, folderItem);
}

void RaiseException(REALobject exception) {
    if (auto fn = kRaiseException.get()) fn(exception);
}

REALobject CallFunctionWithExceptionHandler(void (*fn)(void*), void* arg) {
    if (auto guarded = kCallFunctionWithExceptionHandler.get()) return guarded(fn, arg);
    fn(arg);
    return nullptr;
}

}  // namespace host
}  // namespace zvk
