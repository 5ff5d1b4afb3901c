// The one seam to the host runtime. Every host entry is looked up by name through the resolver that
// the host handed to REALPluginMain, on the first call that finds its cache slot empty. A missing
// entry makes its call do nothing and yield 0, false or null; the next call asks again.
// All of it runs on the host's thread; the slots are plain globals.
#pragma once

#include "plugin/HostTypes.h"

namespace zvk {

struct EventDefinition;

namespace host {

// One cached host entry. Entries link themselves into a list so that the cache can be emptied.
class EntryBase {
public:
    explicit EntryBase(const char* name);
    const char* name() const { return name_; }
    void* address();  // resolves on first use; null when the host lacks the entry
    void reset() { address_ = nullptr; }

private:
    const char* name_;
    void* address_ = nullptr;
    EntryBase* next_;
    friend void ResetEntryCache();
};

template <typename Fn>
class Entry : public EntryBase {
public:
    using EntryBase::EntryBase;
    Fn get() { return reinterpret_cast<Fn>(address()); }
};

void SetResolver(HostResolver resolver);
HostResolver Resolver();
// Forgets every cached address (a host that is loaded anew, or a test that withholds entries).
void ResetEntryCache();

// Plug-in frame.
double GetRBVersion();  // 0 without the entry
bool HasGetRBVersion();
bool RegisterPluginVersion(int32_t level);  // false when the host lacks the entry
bool InRuntime();
bool RegisterHostClass(void* classDefinition);

// Objects.
REALobject NewInstance(const char* className);
void LockObject(REALobject object);
void UnlockObject(REALobject object);
void* ObjectType(const char* className);
bool ObjectIsa(REALobject object, void* classRef);
void* LoadObjectMethod(REALobject object, const char* declaration);
void* LoadGlobalMethod(const char* declaration);
void* EventInstance(REALobject object, const EventDefinition& event);

// Properties of host objects; each returns true when the host read or wrote the value.
bool GetPropValueInteger(REALobject object, const char* name, int64_t* value);
bool GetPropValueInt(REALobject object, const char* name, int32_t* value);
bool GetPropValueInt64(REALobject object, const char* name, int64_t* value);
bool GetPropValueUInt32(REALobject object, const char* name, uint32_t* value);
bool GetPropValueUInt64(REALobject object, const char* name, uint64_t* value);
bool GetPropValueSingle(REALobject object, const char* name, float* value);
bool GetPropValueDouble(REALobject object, const char* name, double* value);
bool GetPropValueBool(REALobject object, const char* name, RBBoolean* value);
bool GetPropValueString(REALobject object, const char* name, REALstring* value);  // +1 on success
bool SetPropValueInteger(REALobject object, const char* name, int64_t value);
bool SetPropValueString(REALobject object, const char* name, REALstring value);

// Strings. Builders and ConvertString return one reference that the caller owns.
void LockString(REALstring text);
void UnlockString(REALstring text);
REALstring BuildString(const char* bytes, int32_t count);
REALstring BuildStringWithEncoding(const char* bytes, int32_t count, uint32_t encoding);
void SetStringEncoding(REALstring text, uint32_t encoding);
uint32_t GetStringEncoding(REALstring text);
REALstring ConvertString(REALstring text, uint32_t encoding);
const char* StringGetCString(REALstring text);
bool GetStringData(REALstring text, uint32_t encoding, StringData* data);
void DisposeStringData(StringData* data);

// Variant makers; each returns one reference, or null without the entry.
REALobject BooleanToVariant(RBBoolean value);
REALobject IntegerToVariant(int64_t value);
REALobject Int64ToVariant(int64_t value);
REALobject UInt32ToVariant(uint32_t value);
REALobject UInt64ToVariant(uint64_t value);
REALobject SingleToVariant(float value);
REALobject DoubleToVariant(double value);
REALobject StringToVariant(REALstring value);

// Arrays.
constexpr int32_t kStringArray = 3;
constexpr int32_t kObjectArray = 4;
REALarray CreateArray(int32_t elementType, int64_t upperBound);
bool InsertIntoArray(REALarray array, int64_t index, REALobject value);
bool InsertIntoArray(REALarray array, int64_t index, REALstring value);

// Memory blocks, folder items, exceptions.
REALobject PtrToMemoryBlock(void* address);
REALstring PathFromFolderItem(REALobject folderItem);
void RaiseException(REALobject exception);
// Runs fn(arg) under the host's exception handler and returns the exception raised inside (+1), or
// null. Without the entry the function is called directly.
REALobject CallFunctionWithExceptionHandler(void (*fn)(void*), void* arg);

}  // namespace host
}  // namespace zvk
