// A small, faithful stand-in for the host runtime: it loads the plug-in, answers its entry lookups,
// keeps the class records it registers, makes objects with instance data at the offset it wrote,
// calls methods by their exact declaration through typed adapters, and counts every live object and
// string. The class records are read field by field from their documented positions, independently
// of the library's own declarations, so that a layout mistake shows instead of being mirrored.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace simhost {

struct StringOpaque;
struct ObjectOpaque;
struct ArrayOpaque;
using REALstring = StringOpaque*;
using REALobject = ObjectOpaque*;
using REALarray = ArrayOpaque*;

namespace enc {
constexpr uint32_t kASCII = 0x0600;
constexpr uint32_t kUTF8 = 0x08000100;
constexpr uint32_t kUTF16 = 0x0100;
constexpr uint32_t kUTF16BE = 0x10000100;
constexpr uint32_t kUTF16LE = 0x14000100;
constexpr uint32_t kUTF32 = 0x0C000100;
constexpr uint32_t kUTF32BE = 0x18000100;
constexpr uint32_t kUTF32LE = 0x1C000100;
constexpr uint32_t kWindowsLatin1 = 0x0500;
constexpr uint32_t kISOLatin1 = 0x0201;
constexpr uint32_t kMacRoman = 0x0000;
constexpr uint32_t kUnknown = 0xFFFF;
}  // namespace enc

// A device id or item name as the ASCII bytes a script passes; the temporary folder without its backslash.
std::string Narrow(const std::wstring& text);
std::string TempFolder();

// The C types a declaration's host types map to; the typed adapters compare these.
enum class CType { Void, Int64, Bool, Double, Single, UInt32, UInt64, String, Object, Array, Pointer };

struct Param {
    std::string name;
    CType type = CType::Void;
    std::string typeName;
    bool byRef = false;
    bool hasDefault = false;
};

struct Signature {
    std::string name;
    std::vector<Param> params;
    CType result = CType::Void;
    std::string resultName;
};

Signature ParseDeclaration(const std::string& declaration);
// A constant's declaration "Name = value": its name and its value text (empty when there is no " = ").
std::pair<std::string, std::string> SplitConstant(const std::string& declaration);
CType TypeOfHostName(const std::string& typeName);

// Raw views of the records the plug-in registers (64-bit fields at their documented positions).
struct MethodView {
    const void* function;
    const void* setter;
    std::string declaration;
    uint32_t flags;
    Signature signature;
};

struct PropertyView {
    std::string name;
    std::string type;
    uint32_t flags;
    const void* getter;
    const void* setter;
    int64_t param;
    std::vector<std::pair<std::string, std::string>> attributes;
    bool bound() const { return getter == reinterpret_cast<const void*>(~uintptr_t{0}); }
};

struct ClassView {
    uint64_t* record;  // the plug-in's record, as registered
    std::string name;
    uint32_t version;
    const char* superName;
    uint64_t dataSize;
    uint64_t dataOffset;
    void (*constructor)(REALobject);
    void (*destructor)(REALobject);
    uint32_t flags;
    std::vector<PropertyView> properties;
    std::vector<MethodView> methods;
    std::vector<std::string> constants;
    std::vector<std::string> events;
    std::vector<uint64_t> eventIds;
    std::vector<PropertyView> sharedProperties;
    std::vector<MethodView> sharedMethods;
    bool reservedFieldsZero;
};

struct Raised {
    std::string className;
    std::string message;
    int64_t errorNumber;
};

// Thrown by simulated host code that raises a host exception (a FolderItem constructor, say): it
// leaves the plug-in's frames at once, and "PluginCallFunctionWithExceptionHandler" catches it.
struct HostRaise {
    REALobject exception;  // one reference
};

struct Options {
    double version = 2021.03;  // negative: the host has no "REALGetRBVersion"
    bool inRuntime = true;
    std::set<std::string> withheld;  // entries, global methods and classes the host does not offer
};

// Host-side class of objects the host owns itself (exceptions, folder items, windows, variants).
struct BuiltinClass {
    std::string name;
    std::map<std::string, std::function<void*(REALobject)>> methods;  // by exact declaration
};

class SimHost {
public:
    explicit SimHost(Options options = {});
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    static SimHost& Current();

    // Loads a fresh copy of the plug-in and runs its entry point with this host's resolver.
    void Load(const char* dllName = "WIAZVK.dll");
    // Runs a linked entry point (white-box tests).
    void Boot(void (*pluginMain)(void* (*)(const char*)));
    void CallPluginMainWithNullResolver(const char* dllName = "WIAZVK.dll");
    void Unload();
    HMODULE Module() const { return module_; }

    const Options& options() const { return options_; }
    bool Offers(const std::string& name) const { return options_.withheld.count(name) == 0; }
    void Withhold(const std::string& name) { options_.withheld.insert(name); }

    // What the plug-in told the host.
    std::vector<int32_t> registeredLevels;
    std::vector<std::string> lookups;              // every name the resolver was asked for
    std::vector<std::string> globalMethodLookups;  // every declaration "REALLoadGlobalMethod" was asked for
    const std::vector<ClassView>& Classes() const { return classes_; }
    const ClassView& Class(const std::string& name) const;
    const ClassView* FindClass(const std::string& name) const;

    // Objects. New returns one reference that the caller gives back with Unlock.
    REALobject New(const std::string& className);
    void Lock(REALobject object);
    void Unlock(REALobject object);
    int64_t RefCount(REALobject object) const;
    std::string ClassName(REALobject object) const;
    uint8_t* Data(REALobject object);  // instance data of a plug-in object
    bool IsLive(REALobject object) const;
    int64_t LiveObjects() const { return liveObjects_; }
    std::vector<std::string> LiveObjectClasses() const;

    // Builtin classes and their dynamic properties (host-side objects).
    void DefineBuiltin(const std::string& className, BuiltinClass definition = {});
    void SetDynamic(REALobject object, const std::string& name, int64_t value);
    void SetDynamic(REALobject object, const std::string& name, REALstring value);
    bool GetDynamicInt(REALobject object, const std::string& name, int64_t* value) const;
    REALstring GetDynamicString(REALobject object, const std::string& name) const;  // borrowed

    // Strings. Str returns one reference.
    REALstring Str(const std::string& bytes, uint32_t encoding = enc::kUTF8);
    void LockString(REALstring text);
    void UnlockString(REALstring text);
    std::string Bytes(REALstring text) const;
    uint32_t Encoding(REALstring text) const;
    // "<bytes> as 0x<encoding>", or "nil"; gives the reference back.
    std::string Take(REALstring text);
    int64_t LiveStrings() const { return liveStrings_; }
    std::vector<std::string> LiveStringTexts() const;

    // Properties of plug-in objects, the way a script reads and assigns them.
    int64_t GetInt(REALobject object, const std::string& property);
    void SetInt(REALobject object, const std::string& property, int64_t value);
    bool GetBool(REALobject object, const std::string& property);
    void SetBool(REALobject object, const std::string& property, bool value);
    uint64_t GetUInt64(REALobject object, const std::string& property);
    void SetUInt64(REALobject object, const std::string& property, uint64_t value);
    REALstring GetString(REALobject object, const std::string& property);  // borrowed
    void SetString(REALobject object, const std::string& property, REALstring value);
    void SetString(REALobject object, const std::string& property, const std::string& bytes);  // a new host string
    bool GetSharedBool(const std::string& className, const std::string& property);
    void SetSharedBool(const std::string& className, const std::string& property, bool value);

    // Methods by exact declaration, or by bare name: then the first overload, in table order, whose C types
    // match the arguments and the result.
    const MethodView& FindMethod(const std::string& className, const std::string& declaration, bool shared) const;
    const MethodView& FindMethod(const std::string& className, const std::string& declaration, bool shared, CType result,
                                 std::initializer_list<CType> args) const;
    const MethodView& FindSetter(const std::string& className, const std::string& declaration,
                                 std::initializer_list<CType> args) const;
    // Arguments as a script writes them: C values as the function takes them, int as Integer, text as a
    // std::string or literal (a host string made for the call and given back after it), scope holders by what
    // they hold.
    template <typename R, typename... A>
    R Call(REALobject self, const std::string& declaration, A&&... args);
    template <typename... A>
    void CallSetter(REALobject self, const std::string& declaration, A&&... args);
    template <typename R, typename... A>
    R CallShared(const std::string& className, const std::string& declaration, A&&... args);

    // Exceptions raised into the script.
    std::vector<Raised> raised;

    // Events: the handler a script attached to an object's event, by declaration.
    void SetEventHandler(REALobject object, const std::string& declaration, const void* handler);

    // Internal state shared with the entry implementations.
    struct Object;
    struct String;
    Object* AsObject(REALobject object) const;
    String* AsString(REALstring text) const;
    REALobject NewBuiltin(const std::string& className);
    void RegisterClassRecord(uint64_t* record);
    std::map<std::string, void*> entries;        // entry name -> address
    std::map<std::string, void*> globalMethods;  // declaration -> address
    std::map<std::string, BuiltinClass> builtins;
    std::map<std::pair<REALobject, int64_t>, const void*> eventHandlers;
    // Test hook: refuse PluginNewInstance for a class (true refuses).
    std::function<bool(const std::string& className)> refuseInstance;
    // Test hook: told of every "REALGetPropValueInteger" read, before it is answered.
    std::function<void(REALobject object, const std::string& name)> onIntegerRead;

private:
    void CheckCall(const MethodView& method, CType result, std::initializer_list<CType> args, bool setter) const;
    const PropertyView& FindProperty(REALobject object, const std::string& name) const;
    void DestroyObject(Object* object);

    Options options_;
    HMODULE module_ = nullptr;
    std::vector<ClassView> classes_;
    std::vector<std::unique_ptr<uint64_t[]>> eventRecords_;  // level 9: the records the event ids sit in
    int64_t liveObjects_ = 0;
    int64_t liveStrings_ = 0;
    std::map<REALobject, Object*> objects_;
    std::set<String*> strings_;
    friend struct EntryAccess;

public:
    // Registered with each extension below; run by the constructor.
    static std::vector<void (*)(SimHost&)>& Extensions();
};

// A host object is one block: this header, then the instance data at the offset the host wrote into
// the class definition. The rest of the host's bookkeeping lives beside it.
struct SimHost::Object {
    uint64_t magic;
    int64_t refs;
    const ClassView* cls;     // plug-in class, or null
    std::string builtinName;  // host-side class name
    std::map<std::string, int64_t> ints;
    std::map<std::string, REALstring> strings;
    std::unique_ptr<uint64_t[]> block;  // header word, then instance data at the class's offset
    // A host array's elements (element type 3 strings, 4 objects), each holding one reference.
    int32_t elementType = 0;
    std::vector<void*> elements{};
    REALobject handle() const { return reinterpret_cast<REALobject>(block.get()); }
};

struct SimHost::String {
    uint64_t magic;
    int64_t refs;
    std::string bytes;
    uint32_t encoding;
};

// Adds entries at construction; one static instance per extension file.
struct Extension {
    explicit Extension(void (*install)(SimHost&)) { SimHost::Extensions().push_back(install); }
};

template <typename T>
constexpr CType TypeOf();
template <>
constexpr CType TypeOf<void>() {
    return CType::Void;
}
template <>
constexpr CType TypeOf<int64_t>() {
    return CType::Int64;
}
template <>
constexpr CType TypeOf<int8_t>() {
    return CType::Bool;
}
template <>
constexpr CType TypeOf<double>() {
    return CType::Double;
}
template <>
constexpr CType TypeOf<float>() {
    return CType::Single;
}
template <>
constexpr CType TypeOf<uint32_t>() {
    return CType::UInt32;
}
template <>
constexpr CType TypeOf<uint64_t>() {
    return CType::UInt64;
}
template <>
constexpr CType TypeOf<REALstring>() {
    return CType::String;
}
template <>
constexpr CType TypeOf<REALobject>() {
    return CType::Object;
}
template <>
constexpr CType TypeOf<REALarray>() {
    return CType::Array;
}
template <>
constexpr CType TypeOf<int64_t*>() {
    return CType::Pointer;
}
template <>
constexpr CType TypeOf<uint64_t*>() {
    return CType::Pointer;
}
template <>
constexpr CType TypeOf<REALstring*>() {
    return CType::Pointer;
}
template <>
constexpr CType TypeOf<REALobject*>() {
    return CType::Pointer;
}

// The C type a byref argument must point at.
template <typename T>
struct Pointee {
    static constexpr CType value = CType::Void;
};
// Only the byref pointer types point at a value; REALstring and REALobject are handles, not byref.
template <>
struct Pointee<int64_t*> {
    static constexpr CType value = CType::Int64;
};
template <>
struct Pointee<uint64_t*> {
    static constexpr CType value = CType::UInt64;
};
template <>
struct Pointee<REALstring*> {
    static constexpr CType value = CType::String;
};
template <>
struct Pointee<REALobject*> {
    static constexpr CType value = CType::Object;
};

void CheckByRef(const MethodView& method, size_t index, CType pointee);

// The host strings made for one call's text arguments, given back when the call is over.
class CallText {
public:
    explicit CallText(SimHost& host) : host_(host) {}
    ~CallText();
    CallText(const CallText&) = delete;
    CallText& operator=(const CallText&) = delete;
    template <typename T>
    auto Pass(T&& value) {
        using D = std::decay_t<T>;
        if constexpr (std::is_same_v<D, std::string> || std::is_same_v<D, const char*> || std::is_same_v<D, char*>) {
            made_.push_back(host_.Str(value));
            return made_.back();
        } else if constexpr (std::is_same_v<D, int>) {
            return static_cast<int64_t>(value);
        } else if constexpr (std::is_class_v<D>) {
            return value.get();
        } else {
            return static_cast<D>(value);
        }
    }

private:
    SimHost& host_;
    std::vector<REALstring> made_;
};

template <typename R, typename... A>
R CallLowered(SimHost& host, REALobject self, const std::string& declaration, A... args) {
    const MethodView& method = host.FindMethod(host.ClassName(self), declaration, false, TypeOf<R>(), {TypeOf<A>()...});
    size_t index = 0;
    (CheckByRef(method, index++, Pointee<A>::value), ...);
    return reinterpret_cast<R (*)(REALobject, A...)>(const_cast<void*>(method.function))(self, args...);
}

template <typename R, typename... A>
R SimHost::Call(REALobject self, const std::string& declaration, A&&... args) {
    CallText text(*this);
    return CallLowered<R>(*this, self, declaration, text.Pass(std::forward<A>(args))...);
}

template <typename... A>
void SimHost::CallSetter(REALobject self, const std::string& declaration, A&&... args) {
    CallText text(*this);
    auto set = [&](auto... lowered) {
        const MethodView& method = FindSetter(ClassName(self), declaration, {TypeOf<decltype(lowered)>()...});
        reinterpret_cast<void (*)(REALobject, decltype(lowered)...)>(const_cast<void*>(method.setter))(self, lowered...);
    };
    set(text.Pass(std::forward<A>(args))...);
}

template <typename R, typename... A>
R CallSharedLowered(SimHost& host, const std::string& className, const std::string& declaration, A... args) {
    const MethodView& method = host.FindMethod(className, declaration, true, TypeOf<R>(), {TypeOf<A>()...});
    return reinterpret_cast<R (*)(A...)>(const_cast<void*>(method.function))(args...);
}

template <typename R, typename... A>
R SimHost::CallShared(const std::string& className, const std::string& declaration, A&&... args) {
    CallText text(*this);
    return CallSharedLowered<R>(*this, className, declaration, text.Pass(std::forward<A>(args))...);
}

}  // namespace simhost
