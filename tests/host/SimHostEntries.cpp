// The host entries of the plug-in frame, objects, properties and plain strings.
#include "tests/host/SimHost.h"

namespace simhost {
namespace {

SimHost& H() {
    return SimHost::Current();
}

double GetRBVersion() {
    return H().options().version;
}

void RegisterPluginVersion(int32_t level) {
    H().registeredLevels.push_back(level);
}

int8_t InRuntime() {
    return H().options().inRuntime ? 1 : 0;
}

void RegisterClassRecord(void* record) {
    H().RegisterClassRecord(static_cast<uint64_t*>(record));
}

REALobject NewInstance(const char* className) {
    SimHost& host = H();
    if (host.refuseInstance && host.refuseInstance(className)) return nullptr;
    if (host.FindClass(className) == nullptr && !host.Offers(className)) return nullptr;
    return host.New(className);
}

void LockObject(REALobject object) {
    if (object != nullptr) H().Lock(object);
}

void UnlockObject(REALobject object) {
    if (object != nullptr) H().Unlock(object);
}

void LockString(REALstring text) {
    if (text != nullptr) H().LockString(text);
}

void UnlockString(REALstring text) {
    if (text != nullptr) H().UnlockString(text);
}

// A class reference is the class's name kept by the host.
void* ObjectType(const char* className) {
    SimHost& host = H();
    if (!host.Offers(className)) return nullptr;
    if (const ClassView* cls = host.FindClass(className)) return const_cast<ClassView*>(cls);
    auto it = host.builtins.find(className);
    return it == host.builtins.end() ? nullptr : &it->second;
}

int8_t ObjectIsa(REALobject object, void* classRef) {
    if (object == nullptr || classRef == nullptr) return 0;
    SimHost& host = H();
    std::string name = host.ClassName(object);
    if (const ClassView* cls = host.FindClass(name)) return cls == classRef ? 1 : 0;
    auto it = host.builtins.find(name);
    return it != host.builtins.end() && &it->second == classRef ? 1 : 0;
}

void* LoadObjectMethod(REALobject object, const char* declaration) {
    if (object == nullptr) return nullptr;
    SimHost& host = H();
    if (!host.Offers(declaration)) return nullptr;
    std::string name = host.ClassName(object);
    auto it = host.builtins.find(name);
    if (it != host.builtins.end()) {
        auto method = it->second.methods.find(declaration);
        return method == it->second.methods.end() ? nullptr : method->second(object);
    }
    try {
        return const_cast<void*>(host.FindMethod(name, declaration, false).function);
    } catch (const std::exception&) {
        return nullptr;
    }
}

void* LoadGlobalMethod(const char* /*module*/, const char* declaration) {
    SimHost& host = H();
    host.globalMethodLookups.push_back(declaration);
    if (!host.Offers(declaration)) return nullptr;
    auto it = host.globalMethods.find(declaration);
    return it == host.globalMethods.end() ? nullptr : it->second;
}

void* GetEventInstance(REALobject object, int64_t eventId) {
    auto& handlers = H().eventHandlers;
    auto it = handlers.find({object, eventId});
    return it == handlers.end() ? nullptr : const_cast<void*>(it->second);
}

int32_t GetPropValueInteger(REALobject object, const char* name, int64_t* value) {
    SimHost& host = H();
    if (host.onIntegerRead) host.onIntegerRead(object, name);
    if (object == nullptr) return 0;
    if (host.GetDynamicInt(object, name, value)) return 1;
    if (host.FindClass(host.ClassName(object)) == nullptr) return 0;
    try {
        *value = host.GetInt(object, name);
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}

int32_t GetPropValueString(REALobject object, const char* name, REALstring* value) {
    if (object == nullptr) return 0;
    SimHost& host = H();
    REALstring text = host.GetDynamicString(object, name);
    if (text == nullptr) return 0;
    host.LockString(text);
    *value = text;
    return 1;
}

int32_t SetPropValueInteger(REALobject object, const char* name, int64_t value) {
    if (object == nullptr) return 0;
    H().SetDynamic(object, name, value);
    return 1;
}

int32_t SetPropValueString(REALobject object, const char* name, REALstring value) {
    if (object == nullptr) return 0;
    H().SetDynamic(object, name, value);
    return 1;
}

REALstring BuildStringWithEncoding(const char* bytes, int32_t count, uint32_t encoding) {
    if (count < 0) return nullptr;
    return H().Str(bytes == nullptr ? std::string() : std::string(bytes, static_cast<size_t>(count)), encoding);
}

REALstring BuildString(const char* bytes, int32_t count) {
    return BuildStringWithEncoding(bytes, count, enc::kUnknown);
}

void SetStringEncoding(REALstring text, uint32_t encoding) {
    if (text != nullptr) H().AsString(text)->encoding = encoding;
}

uint32_t GetStringEncoding(REALstring text) {
    return text == nullptr ? enc::kUnknown : H().AsString(text)->encoding;
}

void* StringGetCString(REALstring text) {
    if (text == nullptr) return nullptr;
    return const_cast<char*>(H().AsString(text)->bytes.data());
}

int64_t LenB(REALstring text) {
    return text == nullptr ? 0 : static_cast<int64_t>(H().AsString(text)->bytes.size());
}

template <typename F>
void* Address(F* function) {
    return reinterpret_cast<void*>(function);
}

void Install(SimHost& host) {
    if (host.options().version >= 0) host.entries["REALGetRBVersion"] = Address(GetRBVersion);
    host.entries["RegisterPluginVersion"] = Address(RegisterPluginVersion);
    host.entries["REALinRuntime"] = Address(InRuntime);
    host.entries["PluginRegisterClass"] = Address(RegisterClassRecord);
    host.entries["PluginNewInstance"] = Address(NewInstance);
    host.entries["REALLockObject"] = Address(LockObject);
    host.entries["REALUnlockObject"] = Address(UnlockObject);
    host.entries["REALLockString"] = Address(LockString);
    host.entries["REALUnlockString"] = Address(UnlockString);
    host.entries["pluginObjectType"] = Address(ObjectType);
    host.entries["RuntimeObjectIsa"] = Address(ObjectIsa);
    host.entries["REALLoadObjectMethod"] = Address(LoadObjectMethod);
    host.entries["REALLoadGlobalMethod"] = Address(LoadGlobalMethod);
    host.entries["GetEventInstance"] = Address(GetEventInstance);
    host.entries["REALGetPropValueInteger"] = Address(GetPropValueInteger);
    host.entries["REALGetPropValueString"] = Address(GetPropValueString);
    host.entries["REALSetPropValueInteger"] = Address(SetPropValueInteger);
    host.entries["REALSetPropValueString"] = Address(SetPropValueString);
    host.entries["REALBuildStringWithEncoding"] = Address(BuildStringWithEncoding);
    host.entries["REALBuildString"] = Address(BuildString);
    host.entries["REALSetStringEncoding"] = Address(SetStringEncoding);
    host.entries["REALGetStringEncoding"] = Address(GetStringEncoding);
    host.entries["StringGetCString"] = Address(StringGetCString);
    host.globalMethods["LenB( s as string ) as integer"] = Address(LenB);
}

Extension gCore(Install);

}  // namespace
}  // namespace simhost
