#include "tests/host/SimHost.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

namespace simhost {
namespace {

constexpr uint64_t kObjectMagic = 0x4F424A5A564B4F42ull;
constexpr uint64_t kStringMagic = 0x5354525A564B5354ull;
constexpr uint64_t kDeadMagic = 0xDEADDEADDEADDEADull;
constexpr uint64_t kDataOffset = 64;  // where the instance data lies inside a host object

SimHost* gCurrent = nullptr;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

// Splits "x as T" (at the last " as " outside parentheses).
size_t FindAs(const std::string& text) {
    std::string lower = Lower(text);
    size_t at = lower.rfind(" as ");
    return at;
}

Param ParseParam(const std::string& text) {
    Param param;
    std::string body = Trim(text);
    size_t equals = body.find('=');
    if (equals != std::string::npos) {
        param.hasDefault = true;
        body = Trim(body.substr(0, equals));
    }
    if (Lower(body).rfind("byref ", 0) == 0) {
        param.byRef = true;
        body = Trim(body.substr(6));
    }
    size_t as = FindAs(body);
    if (as == std::string::npos) throw std::runtime_error("parameter without type: " + text);
    param.name = Trim(body.substr(0, as));
    param.typeName = Trim(body.substr(as + 4));
    param.type = param.byRef ? CType::Pointer : TypeOfHostName(param.typeName);
    // "paths() as string": the brackets on the name make the parameter an array (an opaque REALarray).
    if (!param.byRef && param.name.size() > 2 && param.name.compare(param.name.size() - 2, 2, "()") == 0) {
        param.type = CType::Array;
    }
    return param;
}

}  // namespace

CType TypeOfHostName(const std::string& typeName) {
    std::string type = Lower(Trim(typeName));
    if (type.size() > 2 && type.compare(type.size() - 2, 2, "()") == 0) return CType::Array;
    if (type == "integer" || type == "int64") return CType::Int64;
    if (type == "boolean") return CType::Bool;
    if (type == "double") return CType::Double;
    if (type == "single") return CType::Single;
    if (type == "color" || type == "uint32") return CType::UInt32;
    if (type == "uint64") return CType::UInt64;
    if (type == "string") return CType::String;
    return CType::Object;  // variant, window, DesktopWindow, folderitem, class names
}

Signature ParseDeclaration(const std::string& declaration) {
    Signature signature;
    std::string text = Trim(declaration);
    size_t open = text.find('(');
    size_t as = Lower(text).find(" as ");
    std::string rest;
    if (open != std::string::npos && (as == std::string::npos || open < as)) {
        signature.name = Trim(text.substr(0, open));
        size_t close = open;
        for (int depth = 0; close < text.size(); ++close) {
            if (text[close] == '(') ++depth;
            if (text[close] == ')' && --depth == 0) break;
        }
        std::stringstream list(text.substr(open + 1, close - open - 1));
        std::string part;
        while (std::getline(list, part, ',')) {
            if (!Trim(part).empty()) signature.params.push_back(ParseParam(part));
        }
        rest = close < text.size() ? text.substr(close + 1) : std::string();
    } else if (as != std::string::npos) {
        signature.name = Trim(text.substr(0, as));
        rest = text.substr(as + 1);
    } else {
        signature.name = text;
    }
    rest = Trim(rest);
    if (Lower(rest).rfind("as ", 0) == 0) {
        signature.resultName = Trim(rest.substr(3));
        signature.result = TypeOfHostName(signature.resultName);
    }
    return signature;
}

std::pair<std::string, std::string> SplitConstant(const std::string& declaration) {
    size_t equals = declaration.find(" = ");
    if (equals == std::string::npos) return {Trim(declaration), std::string()};
    return {Trim(declaration.substr(0, equals)), declaration.substr(equals + 3)};
}

void CheckByRef(const MethodView& method, size_t index, CType pointee) {
    if (index >= method.signature.params.size()) return;
    const Param& param = method.signature.params[index];
    if (!param.byRef) return;
    if (TypeOfHostName(param.typeName) != pointee)
        throw std::runtime_error("byref argument " + param.name + " has the wrong C type in: " + method.declaration);
}

SimHost& SimHost::Current() {
    if (gCurrent == nullptr) throw std::runtime_error("no simulated host");
    return *gCurrent;
}

std::vector<void (*)(SimHost&)>& SimHost::Extensions() {
    static std::vector<void (*)(SimHost&)> extensions;
    return extensions;
}

SimHost::SimHost(Options options) : options_(std::move(options)) {
    gCurrent = this;
    classes_.reserve(64);  // objects keep pointers to their class views
    for (auto install : Extensions()) install(*this);
}

SimHost::~SimHost() {
    Unload();
    for (String* text : strings_) delete text;
    for (auto& entry : objects_) delete entry.second;
    if (gCurrent == this) gCurrent = nullptr;
}

namespace {

void* Resolve(const char* name) {
    SimHost& host = SimHost::Current();
    host.lookups.push_back(name);
    if (!host.Offers(name)) return nullptr;
    auto it = host.entries.find(name);
    return it == host.entries.end() ? nullptr : it->second;
}

}  // namespace

void SimHost::Load(const char* dllName) {
    Unload();
    module_ = LoadLibraryA(dllName);
    if (module_ == nullptr) throw std::runtime_error(std::string("cannot load ") + dllName);
    auto main = reinterpret_cast<void (*)(void* (*)(const char*))>(GetProcAddress(module_, "REALPluginMain"));
    if (main == nullptr) throw std::runtime_error("REALPluginMain is not exported");
    main(Resolve);
}

void SimHost::Boot(void (*pluginMain)(void* (*)(const char*))) {
    pluginMain(Resolve);
}

void SimHost::CallPluginMainWithNullResolver(const char* dllName) {
    Unload();
    module_ = LoadLibraryA(dllName);
    if (module_ == nullptr) throw std::runtime_error(std::string("cannot load ") + dllName);
    auto main = reinterpret_cast<void (*)(void* (*)(const char*))>(GetProcAddress(module_, "REALPluginMain"));
    main(nullptr);
}

void SimHost::Unload() {
    if (module_ == nullptr) return;
    FreeLibrary(module_);
    module_ = nullptr;
    classes_.clear();
}

const ClassView* SimHost::FindClass(const std::string& name) const {
    for (const ClassView& cls : classes_) {
        if (cls.name == name) return &cls;
    }
    return nullptr;
}

const ClassView& SimHost::Class(const std::string& name) const {
    const ClassView* cls = FindClass(name);
    if (cls == nullptr) throw std::runtime_error("class not registered: " + name);
    return *cls;
}

namespace {

std::vector<std::pair<std::string, std::string>> ReadAttributes(const uint64_t* p) {
    std::vector<std::pair<std::string, std::string>> attributes;
    const char* const* table = reinterpret_cast<const char* const*>(p[11]);
    for (uint64_t i = 0; i < p[10]; ++i) attributes.emplace_back(table[2 * i], table[2 * i + 1]);
    return attributes;
}

std::vector<PropertyView> ReadProperties(uint64_t address, uint64_t count, bool* zero) {
    std::vector<PropertyView> views;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t* p = reinterpret_cast<const uint64_t*>(address) + 12 * i;
        PropertyView view;
        view.name = reinterpret_cast<const char*>(p[1]);
        view.type = reinterpret_cast<const char*>(p[2]);
        view.flags = static_cast<uint32_t>(p[3]);
        view.getter = reinterpret_cast<const void*>(p[4]);
        view.setter = reinterpret_cast<const void*>(p[5]);
        view.param = static_cast<int64_t>(p[6]);
        view.attributes = ReadAttributes(p);
        if (p[0] != 0 || (p[3] >> 32) != 0 || p[7] != 0 || p[8] != 0 || p[9] != 0) *zero = false;
        views.push_back(view);
    }
    return views;
}

std::vector<MethodView> ReadMethods(uint64_t address, uint64_t count, bool* zero) {
    std::vector<MethodView> views;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t* p = reinterpret_cast<const uint64_t*>(address) + 6 * i;
        MethodView view;
        view.function = reinterpret_cast<const void*>(p[0]);
        view.setter = reinterpret_cast<const void*>(p[1]);
        view.declaration = reinterpret_cast<const char*>(p[2]);
        view.flags = static_cast<uint32_t>(p[3]);
        view.signature = ParseDeclaration(view.declaration);
        if ((p[3] >> 32) != 0 || p[4] != 0 || p[5] != 0) *zero = false;
        views.push_back(view);
    }
    return views;
}

}  // namespace

void SimHost::RegisterClassRecord(uint64_t* p) {
    ClassView view;
    view.record = p;
    view.version = static_cast<uint32_t>(p[0]);
    view.name = reinterpret_cast<const char*>(p[1]);
    view.superName = reinterpret_cast<const char*>(p[2]);
    view.dataSize = p[3];
    p[4] = kDataOffset;  // the host decides where instance data lies
    view.dataOffset = p[4];
    view.constructor = reinterpret_cast<void (*)(REALobject)>(p[5]);
    view.destructor = reinterpret_cast<void (*)(REALobject)>(p[6]);
    bool zero = (p[0] >> 32) == 0 && p[13] == 0 && p[14] == 0 && p[15] == 0 && p[16] == 0 && p[17] == 0 && (p[20] >> 32) == 0 &&
                p[25] == 0 && p[26] == 0 && p[27] == 0 && p[28] == 0;
    view.properties = ReadProperties(p[7], p[8], &zero);
    view.methods = ReadMethods(p[9], p[10], &zero);
    uint64_t* events = reinterpret_cast<uint64_t*>(p[11]);
    for (uint64_t i = 0; i < p[12]; ++i) {
        uint64_t* e = events + 4 * i;
        view.events.push_back(reinterpret_cast<const char*>(e[0]));
        if (e[1] != 0 || e[2] != 0 || e[3] != 0) zero = false;
        const uint64_t id = 0x1000 + classes_.size() * 16 + i;  // the host's event id
        view.eventIds.push_back(id);
        if (!registeredLevels.empty() && registeredLevels.back() <= 9) {
            // Interface level 9 hosts put a record there whose second field holds the id.
            eventRecords_.push_back(std::make_unique<uint64_t[]>(2));
            eventRecords_.back()[1] = id;
            e[1] = reinterpret_cast<uint64_t>(eventRecords_.back().get());
        } else {
            e[1] = id;
        }
    }
    const uint64_t* constants = reinterpret_cast<const uint64_t*>(p[18]);
    for (uint64_t i = 0; i < p[19]; ++i) {
        const uint64_t* c = constants + 5 * i;
        view.constants.push_back(reinterpret_cast<const char*>(c[0]));
        if (c[1] != 0 || c[2] != 0 || c[3] != 0 || c[4] != 0) zero = false;
    }
    view.flags = static_cast<uint32_t>(p[20]);
    view.sharedProperties = ReadProperties(p[21], p[22], &zero);
    view.sharedMethods = ReadMethods(p[23], p[24], &zero);
    view.reservedFieldsZero = zero;
    classes_.push_back(view);
}

SimHost::Object* SimHost::AsObject(REALobject object) const {
    auto it = objects_.find(object);
    if (object == nullptr || it == objects_.end() || it->second->magic != kObjectMagic)
        throw std::runtime_error("not a live host object");
    return it->second;
}

SimHost::String* SimHost::AsString(REALstring text) const {
    auto* s = reinterpret_cast<String*>(text);
    if (s == nullptr || strings_.count(s) == 0 || s->magic != kStringMagic) throw std::runtime_error("not a live host string");
    return s;
}

bool SimHost::IsLive(REALobject object) const {
    return objects_.count(object) != 0;
}

REALobject SimHost::New(const std::string& className) {
    const ClassView* cls = FindClass(className);
    if (cls == nullptr) return NewBuiltin(className);
    auto* object = new Object{kObjectMagic, 1, cls, {}, {}, {}, {}};
    object->block.reset(new uint64_t[(kDataOffset + cls->dataSize) / 8 + 2]());
    object->block[0] = kObjectMagic;
    auto handle = object->handle();
    objects_[handle] = object;
    ++liveObjects_;
    if (cls->constructor != nullptr) cls->constructor(handle);
    return handle;
}

REALobject SimHost::NewBuiltin(const std::string& className) {
    if (builtins.count(className) == 0 || !Offers(className)) return nullptr;
    auto* object = new Object{kObjectMagic, 1, nullptr, className, {}, {}, {}};
    object->block.reset(new uint64_t[kDataOffset / 8]());
    object->block[0] = kObjectMagic;
    objects_[object->handle()] = object;
    ++liveObjects_;
    return object->handle();
}

void SimHost::DefineBuiltin(const std::string& className, BuiltinClass definition) {
    definition.name = className;
    builtins[className] = std::move(definition);
}

void SimHost::Lock(REALobject object) {
    AsObject(object)->refs++;
}

void SimHost::Unlock(REALobject object) {
    if (object == nullptr) return;
    Object* o = AsObject(object);
    if (o->refs <= 0) throw std::runtime_error("object unlocked below zero");
    if (--o->refs == 0) DestroyObject(o);
}

void SimHost::DestroyObject(Object* object) {
    if (object->cls != nullptr && object->cls->destructor != nullptr) object->cls->destructor(object->handle());
    // The host drops what its own bound properties hold.
    if (object->cls != nullptr) {
        for (const PropertyView& property : object->cls->properties) {
            if (!property.bound()) continue;
            void* field = reinterpret_cast<uint8_t*>(object->block.get()) + kDataOffset + property.param;
            CType type = TypeOfHostName(property.type);
            if (type == CType::String) {
                auto* slot = static_cast<REALstring*>(field);
                if (*slot != nullptr) UnlockString(*slot);
                *slot = nullptr;
            } else if (type == CType::Object) {
                auto* slot = static_cast<REALobject*>(field);
                if (*slot != nullptr) Unlock(*slot);
                *slot = nullptr;
            }
        }
    }
    for (auto& entry : object->strings) UnlockString(entry.second);
    for (void* element : object->elements) {
        if (object->elementType == 3) UnlockString(static_cast<REALstring>(element));
        if (object->elementType == 4) Unlock(static_cast<REALobject>(element));
    }
    // A handler belongs to the object: a later object at the same address starts without one.
    for (auto it = eventHandlers.lower_bound({object->handle(), INT64_MIN});
         it != eventHandlers.end() && it->first.first == object->handle();)
        it = eventHandlers.erase(it);
    object->magic = kDeadMagic;
    objects_.erase(object->handle());
    --liveObjects_;
    delete object;
}

int64_t SimHost::RefCount(REALobject object) const {
    return AsObject(object)->refs;
}

std::string SimHost::ClassName(REALobject object) const {
    Object* o = AsObject(object);
    return o->cls != nullptr ? o->cls->name : o->builtinName;
}

uint8_t* SimHost::Data(REALobject object) {
    Object* o = AsObject(object);
    if (o->cls == nullptr) throw std::runtime_error("not a plug-in object");
    return reinterpret_cast<uint8_t*>(o->block.get()) + o->cls->dataOffset;
}

std::vector<std::string> SimHost::LiveObjectClasses() const {
    std::vector<std::string> names;
    for (const auto& entry : objects_) {
        const Object* object = entry.second;
        names.push_back(object->cls != nullptr ? object->cls->name : object->builtinName);
    }
    return names;
}

void SimHost::SetDynamic(REALobject object, const std::string& name, int64_t value) {
    AsObject(object)->ints[name] = value;
}

void SimHost::SetDynamic(REALobject object, const std::string& name, REALstring value) {
    Object* o = AsObject(object);
    if (value != nullptr) LockString(value);
    auto it = o->strings.find(name);
    if (it != o->strings.end()) {
        UnlockString(it->second);
        it->second = value;
    } else {
        o->strings[name] = value;
    }
}

bool SimHost::GetDynamicInt(REALobject object, const std::string& name, int64_t* value) const {
    Object* o = AsObject(object);
    auto it = o->ints.find(name);
    if (it == o->ints.end()) return false;
    *value = it->second;
    return true;
}

REALstring SimHost::GetDynamicString(REALobject object, const std::string& name) const {
    Object* o = AsObject(object);
    auto it = o->strings.find(name);
    return it == o->strings.end() ? nullptr : it->second;
}

REALstring SimHost::Str(const std::string& bytes, uint32_t encoding) {
    auto* text = new String{kStringMagic, 1, bytes, encoding};
    strings_.insert(text);
    ++liveStrings_;
    return reinterpret_cast<REALstring>(text);
}

void SimHost::LockString(REALstring text) {
    AsString(text)->refs++;
}

void SimHost::UnlockString(REALstring text) {
    if (text == nullptr) return;
    String* s = AsString(text);
    if (s->refs <= 0) throw std::runtime_error("string unlocked below zero");
    if (--s->refs == 0) {
        s->magic = kDeadMagic;
        strings_.erase(s);
        --liveStrings_;
        delete s;
    }
}

std::string SimHost::Bytes(REALstring text) const {
    return text == nullptr ? std::string() : AsString(text)->bytes;
}

uint32_t SimHost::Encoding(REALstring text) const {
    return AsString(text)->encoding;
}

std::string SimHost::Take(REALstring text) {
    if (text == nullptr) return "nil";
    char code[16];
    std::snprintf(code, sizeof code, " as 0x%X", Encoding(text));
    const std::string shown = Bytes(text) + code;
    UnlockString(text);
    return shown;
}

std::vector<std::string> SimHost::LiveStringTexts() const {
    std::vector<std::string> texts;
    for (String* text : strings_) texts.push_back(text->bytes);
    return texts;
}

const PropertyView& SimHost::FindProperty(REALobject object, const std::string& name) const {
    Object* o = AsObject(object);
    if (o->cls == nullptr) throw std::runtime_error("not a plug-in object");
    for (const PropertyView& property : o->cls->properties) {
        if (property.name == name) return property;
    }
    throw std::runtime_error("no property " + name + " in " + o->cls->name);
}

namespace {

template <typename T>
T ReadProperty(SimHost& host, REALobject object, const PropertyView& property, CType expected) {
    if (TypeOfHostName(property.type) != expected) throw std::runtime_error("property type mismatch: " + property.name);
    if (property.bound()) {
        T value{};
        std::memcpy(&value, host.Data(object) + property.param, sizeof value);
        return value;
    }
    return reinterpret_cast<T (*)(REALobject, int64_t)>(const_cast<void*>(property.getter))(object, property.param);
}

template <typename T>
void WriteProperty(SimHost& host, REALobject object, const PropertyView& property, CType expected, T value) {
    if (TypeOfHostName(property.type) != expected) throw std::runtime_error("property type mismatch: " + property.name);
    if (property.bound()) {
        std::memcpy(host.Data(object) + property.param, &value, sizeof value);
        return;
    }
    reinterpret_cast<void (*)(REALobject, int64_t, T)>(const_cast<void*>(property.setter))(object, property.param, value);
}

}  // namespace

int64_t SimHost::GetInt(REALobject object, const std::string& property) {
    return ReadProperty<int64_t>(*this, object, FindProperty(object, property), CType::Int64);
}

void SimHost::SetInt(REALobject object, const std::string& property, int64_t value) {
    WriteProperty(*this, object, FindProperty(object, property), CType::Int64, value);
}

bool SimHost::GetBool(REALobject object, const std::string& property) {
    return ReadProperty<int8_t>(*this, object, FindProperty(object, property), CType::Bool) != 0;
}

void SimHost::SetBool(REALobject object, const std::string& property, bool value) {
    WriteProperty<int8_t>(*this, object, FindProperty(object, property), CType::Bool, value ? 1 : 0);
}

uint64_t SimHost::GetUInt64(REALobject object, const std::string& property) {
    return ReadProperty<uint64_t>(*this, object, FindProperty(object, property), CType::UInt64);
}

void SimHost::SetUInt64(REALobject object, const std::string& property, uint64_t value) {
    WriteProperty(*this, object, FindProperty(object, property), CType::UInt64, value);
}

REALstring SimHost::GetString(REALobject object, const std::string& property) {
    return ReadProperty<REALstring>(*this, object, FindProperty(object, property), CType::String);
}

void SimHost::SetString(REALobject object, const std::string& property, REALstring value) {
    const PropertyView& view = FindProperty(object, property);
    REALstring old = ReadProperty<REALstring>(*this, object, view, CType::String);
    if (value != nullptr) LockString(value);
    WriteProperty(*this, object, view, CType::String, value);
    UnlockString(old);
}

namespace {

const PropertyView& FindShared(const ClassView& cls, const std::string& name) {
    for (const PropertyView& property : cls.sharedProperties) {
        if (property.name == name) return property;
    }
    throw std::runtime_error("no shared property " + name);
}

}  // namespace

bool SimHost::GetSharedBool(const std::string& className, const std::string& property) {
    const PropertyView& view = FindShared(Class(className), property);
    if (TypeOfHostName(view.type) != CType::Bool) throw std::runtime_error("shared property is not Boolean");
    return (reinterpret_cast<int8_t (*)()>(const_cast<void*>(view.getter))() & 0xFF) != 0;
}

void SimHost::SetSharedBool(const std::string& className, const std::string& property, bool value) {
    const PropertyView& view = FindShared(Class(className), property);
    if (TypeOfHostName(view.type) != CType::Bool) throw std::runtime_error("shared property is not Boolean");
    reinterpret_cast<void (*)(int8_t)>(const_cast<void*>(view.setter))(value ? 1 : 0);
}

void SimHost::SetString(REALobject object, const std::string& property, const std::string& bytes) {
    REALstring text = Str(bytes);
    SetString(object, property, text);
    UnlockString(text);
}

const MethodView& SimHost::FindMethod(const std::string& className, const std::string& declaration, bool shared) const {
    const ClassView& cls = Class(className);
    for (const MethodView& method : shared ? cls.sharedMethods : cls.methods) {
        if (method.declaration == declaration) return method;
    }
    throw std::runtime_error("no " + std::string(shared ? "shared " : "") + "method \"" + declaration + "\" in " + className);
}

const MethodView& SimHost::FindMethod(const std::string& className, const std::string& declaration, bool shared, CType result,
                                      std::initializer_list<CType> args) const {
    if (declaration.find_first_of(" (") != std::string::npos) {
        const MethodView& method = FindMethod(className, declaration, shared);
        CheckCall(method, result, args, false);
        return method;
    }
    const ClassView& cls = Class(className);
    for (const MethodView& method : shared ? cls.sharedMethods : cls.methods) {
        const Signature& signature = method.signature;
        if (signature.name != declaration || signature.result != result || signature.params.size() != args.size()) continue;
        if (std::equal(args.begin(), args.end(), signature.params.begin(),
                       [](CType arg, const Param& param) { return arg == param.type; }))
            return method;
    }
    throw std::runtime_error("no " + std::string(shared ? "shared " : "") + "method " + declaration + " in " + className +
                             " for these argument types");
}

const MethodView& SimHost::FindSetter(const std::string& className, const std::string& declaration,
                                      std::initializer_list<CType> args) const {
    if (declaration.find_first_of(" (") == std::string::npos) {
        for (const MethodView& method : Class(className).methods) {
            const std::vector<Param>& params = method.signature.params;
            if (method.signature.name != declaration || method.setter == nullptr || params.size() + 1 != args.size()) continue;
            if (std::equal(params.begin(), params.end(), args.begin(),
                           [](const Param& param, CType arg) { return arg == param.type; }) &&
                *(args.end() - 1) == method.signature.result)
                return method;
        }
    }
    const MethodView& method = FindMethod(className, declaration, false);
    CheckCall(method, CType::Void, args, true);
    return method;
}

CallText::~CallText() {
    for (REALstring text : made_) host_.UnlockString(text);
}

void SimHost::CheckCall(const MethodView& method, CType result, std::initializer_list<CType> args, bool setter) const {
    const Signature& signature = method.signature;
    size_t expected = signature.params.size() + (setter ? 1 : 0);
    if (args.size() != expected) throw std::runtime_error("wrong argument count for: " + method.declaration);
    size_t i = 0;
    for (CType arg : args) {
        CType want = i < signature.params.size() ? signature.params[i].type : signature.result;
        if (arg != want)
            throw std::runtime_error("argument " + std::to_string(i) + " has the wrong C type for: " + method.declaration);
        ++i;
    }
    if (!setter && result != signature.result) throw std::runtime_error("result has the wrong C type for: " + method.declaration);
    if (setter && method.setter == nullptr) throw std::runtime_error("no setter for: " + method.declaration);
}

void SimHost::SetEventHandler(REALobject object, const std::string& declaration, const void* handler) {
    const ClassView& cls = *AsObject(object)->cls;
    for (size_t i = 0; i < cls.events.size(); ++i) {
        if (cls.events[i] == declaration) {
            eventHandlers[{object, static_cast<int64_t>(cls.eventIds[i])}] = handler;
            return;
        }
    }
    throw std::runtime_error("no event " + declaration);
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::string TempFolder() {
    char folder[MAX_PATH];
    return std::string(folder, GetTempPathA(MAX_PATH, folder) - 1);
}

}  // namespace simhost
