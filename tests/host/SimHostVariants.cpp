// The host's variants (type codes, makers, readers, value properties, "VarType") and arrays.
#include "tests/host/SimHostVariants.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace simhost {
namespace {

// Where a variant keeps its value among the host object's dynamic properties. "Type" and
// "StringValue" are the host properties of those names; the two others are private to the host.
constexpr const char* kKindSlot = "#kind";
constexpr const char* kBitsSlot = "#bits";
constexpr const char* kArrayClass = "_Array";

SimHost& H() {
    return SimHost::Current();
}

REALobject MakeVariant(SimHost& host, const char* className, int64_t code, VariantKind kind, int64_t bits) {
    REALobject variant = host.NewBuiltin(className);
    if (variant == nullptr) return nullptr;
    host.SetDynamic(variant, "Type", code);
    host.SetDynamic(variant, kKindSlot, static_cast<int64_t>(kind));
    host.SetDynamic(variant, kBitsSlot, bits);
    return variant;
}

bool IsStringKind(VariantKind kind) {
    return kind == VariantKind::String;
}

// The value as the host converts it to each reader's type. A nil or non-variant object gives 0.
struct Value {
    bool valid = false;
    VariantKind kind = VariantKind::Int64;
    int64_t bits = 0;
    std::string text;
};

Value ValueOf(REALobject object) {
    Value value;
    if (object == nullptr || !IsVariant(H(), object)) return value;
    VariantContents contents = ReadVariant(H(), object);
    value.valid = true;
    value.kind = contents.kind;
    value.bits = contents.bits;
    value.text = contents.text;
    return value;
}

double AsDouble(const Value& value) {
    if (!value.valid) return 0;
    switch (value.kind) {
        case VariantKind::Boolean:
            return (value.bits & 0xFF) != 0 ? 1 : 0;
        case VariantKind::UInt32:
        case VariantKind::Color:
            return static_cast<double>(static_cast<uint32_t>(value.bits));
        case VariantKind::UInt64:
            return static_cast<double>(static_cast<uint64_t>(value.bits));
        case VariantKind::Int32:
            return static_cast<double>(static_cast<int32_t>(value.bits));
        case VariantKind::Single: {
            float f;
            auto bits = static_cast<uint32_t>(value.bits);
            std::memcpy(&f, &bits, sizeof f);
            return f;
        }
        case VariantKind::Double: {
            double d;
            std::memcpy(&d, &value.bits, sizeof d);
            return d;
        }
        case VariantKind::Currency:
            return static_cast<double>(value.bits) / 10000.0;
        case VariantKind::String:
            return std::strtod(value.text.c_str(), nullptr);
        default:
            return static_cast<double>(value.bits);
    }
}

int64_t AsInt64(const Value& value) {
    if (!value.valid) return 0;
    switch (value.kind) {
        case VariantKind::Single:
        case VariantKind::Double:
            return static_cast<int64_t>(AsDouble(value));
        case VariantKind::Currency:
            return value.bits / 10000;
        case VariantKind::Boolean:
            return (value.bits & 0xFF) != 0 ? 1 : 0;
        case VariantKind::Int32:
            return static_cast<int32_t>(value.bits);
        case VariantKind::UInt32:
        case VariantKind::Color:
            return static_cast<uint32_t>(value.bits);
        case VariantKind::String:
            return std::strtoll(value.text.c_str(), nullptr, 10);
        default:
            return value.bits;
    }
}

int8_t AsBoolean(const Value& value) {
    if (!value.valid) return 0;
    if (value.kind == VariantKind::Boolean) return static_cast<int8_t>(value.bits);  // the stored byte as it is
    if (value.kind == VariantKind::String) return value.text == "True" ? 1 : 0;
    return AsDouble(value) != 0 ? 1 : 0;
}

std::string AsText(const Value& value) {
    switch (value.kind) {
        case VariantKind::String:
            return value.text;
        case VariantKind::Boolean:
            return AsBoolean(value) != 0 ? "True" : "False";
        case VariantKind::Single:
        case VariantKind::Double:
        case VariantKind::Currency:
            return std::to_string(AsDouble(value));
        case VariantKind::UInt64:
            return std::to_string(static_cast<uint64_t>(value.bits));
        default:
            return std::to_string(AsInt64(value));
    }
}

// A string variant's own string (+1), or a new UTF-8 string of the value's text form; nil for nil.
REALstring StringOf(REALobject object) {
    SimHost& host = H();
    Value value = ValueOf(object);
    if (!value.valid) return nullptr;
    if (IsStringKind(value.kind)) {
        REALstring text = host.GetDynamicString(object, "StringValue");
        if (text != nullptr) host.LockString(text);
        return text;
    }
    return host.Str(AsText(value), enc::kUTF8);
}

// The makers: "BooleanToVariant" ... "StringToVariant", each (value) -> variant with one reference.
REALobject BooleanToVariant(int8_t value) {
    return MakeVariant(H(), kVariantClass, vtype::kBoolean, VariantKind::Boolean, static_cast<uint8_t>(value));
}

// The host's Integer is 64 bits wide on Win64, so an Integer variant reports code 3.
REALobject IntegerToVariant(int64_t value) {
    return MakeVariant(H(), kVariantClass, vtype::kInt64, VariantKind::Integer, value);
}

REALobject Int64ToVariant(int64_t value) {
    return MakeVariant(H(), kVariantClass, vtype::kInt64, VariantKind::Int64, value);
}

// A host with the unsigned classes makes one of them (still reporting code 2 or 3); an older host
// keeps the value in a plain variant of that code.
REALobject UInt32ToVariant(uint32_t value) {
    SimHost& host = H();
    const char* cls = host.Offers(kVariantUInt32Class) ? kVariantUInt32Class : kVariantClass;
    return MakeVariant(host, cls, vtype::kInt32, VariantKind::UInt32, value);
}

REALobject UInt64ToVariant(uint64_t value) {
    SimHost& host = H();
    const char* cls = host.Offers(kVariantUInt64Class) ? kVariantUInt64Class : kVariantClass;
    return MakeVariant(host, cls, vtype::kInt64, VariantKind::UInt64, static_cast<int64_t>(value));
}

REALobject SingleToVariant(float value) {
    return MakeVariant(H(), kVariantClass, vtype::kSingle, VariantKind::Single, SingleBits(value));
}

REALobject DoubleToVariant(double value) {
    return MakeVariant(H(), kVariantClass, vtype::kDouble, VariantKind::Double, DoubleBits(value));
}

REALobject StringToVariant(REALstring value) {
    return NewStringVariant(H(), vtype::kString, value);
}

// "VarType(value As Variant) As Integer": 0 for nil, 9 for any object that is not a variant.
int64_t VarType(REALobject value) {
    if (value == nullptr) return vtype::kNil;
    if (!IsVariant(H(), value)) return vtype::kObject;
    return ReadVariant(H(), value).code;
}

// The readers, each T (REALobject variant). The Boolean one leaves garbage above its one byte, as a
// real host may: only the low byte counts.
uint64_t VariantToBoolean(REALobject variant) {
    return 0xA5A5A5A5A5A5A500ull | static_cast<uint8_t>(AsBoolean(ValueOf(variant)));
}

double VariantToDouble(REALobject variant) {
    return AsDouble(ValueOf(variant));
}

int32_t VariantToInt32(REALobject variant) {
    return static_cast<int32_t>(AsInt64(ValueOf(variant)));
}

int64_t VariantToInt64(REALobject variant) {
    return AsInt64(ValueOf(variant));
}

float VariantToSingle(REALobject variant) {
    return static_cast<float>(AsDouble(ValueOf(variant)));
}

REALstring VariantToString(REALobject variant) {
    return StringOf(variant);
}

uint32_t VariantToUInt32(REALobject variant) {
    return static_cast<uint32_t>(AsInt64(ValueOf(variant)));
}

uint64_t VariantToUInt64(REALobject variant) {
    Value value = ValueOf(variant);
    if (value.kind == VariantKind::UInt64) return static_cast<uint64_t>(value.bits);
    return static_cast<uint64_t>(AsInt64(value));
}

// The typed property getters of a variant's value properties, and of plug-in objects' properties.
// Each answers only for properties of its own type, the way the host checks a property's type.
enum class PropType { Boolean, Double, Int32, Int64, Single, UInt32, UInt64 };

bool ValuePropertyType(const std::string& name, PropType* type) {
    static const std::pair<const char*, PropType> kProperties[] = {
        {"BooleanValue", PropType::Boolean}, {"DoubleValue", PropType::Double}, {"Int32Value", PropType::Int32},
        {"LongValue", PropType::Int64},      {"SingleValue", PropType::Single}, {"UInt32Value", PropType::UInt32},
        {"UInt64Value", PropType::UInt64},   {"Type", PropType::Int64},
    };
    for (const auto& property : kProperties) {
        if (name == property.first) {
            *type = property.second;
            return true;
        }
    }
    return false;
}

template <typename T>
bool ReadTypedProperty(REALobject object, const char* name, PropType type, T* out, T (*convert)(REALobject)) {
    SimHost& host = H();
    if (object == nullptr || name == nullptr) return false;
    if (IsVariant(host, object)) {
        PropType actual;
        if (!ValuePropertyType(name, &actual) || actual != type) return false;
        *out = std::strcmp(name, "Type") == 0 ? static_cast<T>(ReadVariant(host, object).code) : convert(object);
        return true;
    }
    int64_t dynamic = 0;
    if ((type == PropType::Int64 || type == PropType::Int32) && host.GetDynamicInt(object, name, &dynamic)) {
        *out = static_cast<T>(dynamic);
        return true;
    }
    if (host.FindClass(host.ClassName(object)) == nullptr) return false;
    try {
        if (type == PropType::Int64)
            *out = static_cast<T>(host.GetInt(object, name));
        else if (type == PropType::Boolean)
            *out = static_cast<T>(host.GetBool(object, name) ? 1 : 0);
        else if (type == PropType::UInt64)
            *out = static_cast<T>(host.GetUInt64(object, name));
        else
            return false;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// A failed read leaves no usable value behind: the caller must not take it.
template <typename T>
int32_t GetVariantProperty(REALobject object, const char* name, PropType type, T* out, T (*convert)(REALobject)) {
    if (out == nullptr) return 0;
    if (ReadTypedProperty(object, name, type, out, convert)) return 1;
    std::memset(static_cast<void*>(out), 0x5A, sizeof *out);
    return 0;
}

int8_t BooleanOf(REALobject variant) {
    return AsBoolean(ValueOf(variant));
}
double DoubleOf(REALobject variant) {
    return AsDouble(ValueOf(variant));
}
int32_t Int32Of(REALobject variant) {
    return static_cast<int32_t>(AsInt64(ValueOf(variant)));
}
int64_t Int64Of(REALobject variant) {
    return AsInt64(ValueOf(variant));
}
float SingleOf(REALobject variant) {
    return static_cast<float>(AsDouble(ValueOf(variant)));
}
uint32_t UInt32Of(REALobject variant) {
    return static_cast<uint32_t>(AsInt64(ValueOf(variant)));
}
uint64_t UInt64Of(REALobject variant) {
    Value value = ValueOf(variant);
    return value.kind == VariantKind::UInt64 ? static_cast<uint64_t>(value.bits) : static_cast<uint64_t>(AsInt64(value));
}

int32_t GetPropValueBool(REALobject object, const char* name, int8_t* value) {
    return GetVariantProperty(object, name, PropType::Boolean, value, BooleanOf);
}
int32_t GetPropValueDouble(REALobject object, const char* name, double* value) {
    return GetVariantProperty(object, name, PropType::Double, value, DoubleOf);
}
int32_t GetPropValueInt(REALobject object, const char* name, int32_t* value) {
    return GetVariantProperty(object, name, PropType::Int32, value, Int32Of);
}
int32_t GetPropValueInt64(REALobject object, const char* name, int64_t* value) {
    return GetVariantProperty(object, name, PropType::Int64, value, Int64Of);
}
int32_t GetPropValueSingle(REALobject object, const char* name, float* value) {
    return GetVariantProperty(object, name, PropType::Single, value, SingleOf);
}
int32_t GetPropValueUInt32(REALobject object, const char* name, uint32_t* value) {
    return GetVariantProperty(object, name, PropType::UInt32, value, UInt32Of);
}
int32_t GetPropValueUInt64(REALobject object, const char* name, uint64_t* value) {
    return GetVariantProperty(object, name, PropType::UInt64, value, UInt64Of);
}

// Arrays: "RuntimeArrayCreateSingleDimBoundedArray"(element type, upper bound) -> upper bound + 1 empty
// elements; the insert procs hand out a worker that inserts at an index from 0 to the element count.
bool IsArrayOf(REALarray array, int32_t elementType) {
    auto object = reinterpret_cast<REALobject>(array);
    SimHost& host = H();
    return object != nullptr && host.IsLive(object) && host.ClassName(object) == kArrayClass &&
           host.AsObject(object)->elementType == elementType;
}

REALarray CreateArray(int32_t elementType, int64_t upperBound) {
    if ((elementType != 3 && elementType != 4) || upperBound < -1) return nullptr;
    SimHost& host = H();
    REALobject array = host.NewBuiltin(kArrayClass);
    if (array == nullptr) return nullptr;
    SimHost::Object* object = host.AsObject(array);
    object->elementType = elementType;
    object->elements.assign(static_cast<size_t>(upperBound + 1), nullptr);
    return reinterpret_cast<REALarray>(array);
}

bool InsertAt(REALarray array, int64_t index, void* value) {
    SimHost& host = H();
    SimHost::Object* object = host.AsObject(reinterpret_cast<REALobject>(array));
    if (index < 0 || index > static_cast<int64_t>(object->elements.size())) {
        host.raised.push_back({"OutOfBoundsException", "array insert at " + std::to_string(index), 0});
        return false;
    }
    object->elements.insert(object->elements.begin() + index, value);
    return true;
}

void InsertObject(REALarray array, int64_t index, REALobject value) {
    if (!IsArrayOf(array, 4)) return;
    if (value != nullptr) H().Lock(value);
    if (!InsertAt(array, index, value)) H().Unlock(value);
}

void InsertString(REALarray array, int64_t index, REALstring value) {
    if (!IsArrayOf(array, 3)) return;
    if (value != nullptr) H().LockString(value);
    if (!InsertAt(array, index, value)) H().UnlockString(value);
}

void* ObjectArrayInsertProc(REALarray array) {
    return IsArrayOf(array, 4) ? reinterpret_cast<void*>(InsertObject) : nullptr;
}

void* StringArrayInsertProc(REALarray array) {
    return IsArrayOf(array, 3) ? reinterpret_cast<void*>(InsertString) : nullptr;
}

template <typename F>
void* Address(F* function) {
    return reinterpret_cast<void*>(function);
}

void Install(SimHost& host) {
    host.DefineBuiltin(kVariantClass);
    host.DefineBuiltin(kVariantUInt32Class);
    host.DefineBuiltin(kVariantUInt64Class);
    host.DefineBuiltin(kArrayClass);
    host.entries["BooleanToVariant"] = Address(BooleanToVariant);
    host.entries["IntegerToVariant"] = Address(IntegerToVariant);
    host.entries["Int64ToVariant"] = Address(Int64ToVariant);
    host.entries["UInt32ToVariant"] = Address(UInt32ToVariant);
    host.entries["UInt64ToVariant"] = Address(UInt64ToVariant);
    host.entries["SingleToVariant"] = Address(SingleToVariant);
    host.entries["DoubleToVariant"] = Address(DoubleToVariant);
    host.entries["StringToVariant"] = Address(StringToVariant);
    host.entries["VariantToBoolean"] = Address(VariantToBoolean);
    host.entries["VariantToDouble"] = Address(VariantToDouble);
    host.entries["VariantToInt32"] = Address(VariantToInt32);
    host.entries["VariantToInt64"] = Address(VariantToInt64);
    host.entries["VariantToSingle"] = Address(VariantToSingle);
    host.entries["VariantToString"] = Address(VariantToString);
    host.entries["VariantToUInt32"] = Address(VariantToUInt32);
    host.entries["VariantToUInt64"] = Address(VariantToUInt64);
    host.entries["REALGetPropValueBool"] = Address(GetPropValueBool);
    host.entries["REALGetPropValueDouble"] = Address(GetPropValueDouble);
    host.entries["REALGetPropValueInt"] = Address(GetPropValueInt);
    host.entries["REALGetPropValueInt64"] = Address(GetPropValueInt64);
    host.entries["REALGetPropValueSingle"] = Address(GetPropValueSingle);
    host.entries["REALGetPropValueUInt32"] = Address(GetPropValueUInt32);
    host.entries["REALGetPropValueUInt64"] = Address(GetPropValueUInt64);
    host.entries["RuntimeArrayCreateSingleDimBoundedArray"] = Address(CreateArray);
    host.entries["PluginObjectArrayInsertProc"] = Address(ObjectArrayInsertProc);
    host.entries["PluginStringArrayInsertProc"] = Address(StringArrayInsertProc);
    host.globalMethods[kVarTypeMethod] = Address(VarType);
}

Extension gVariants(Install);

}  // namespace

const char* KindName(VariantKind kind) {
    static const char* const kNames[] = {"Boolean", "Integer", "Int64", "UInt32",   "UInt64", "Single",
                                         "Double",  "String",  "Int32", "Currency", "Color"};
    return kNames[static_cast<int>(kind)];
}

REALobject NewVariant(SimHost& host, int64_t code, VariantKind kind, int64_t bits) {
    if (IsStringKind(kind)) throw std::runtime_error("string variants are made by NewStringVariant");
    return MakeVariant(host, kVariantClass, code, kind, bits);
}

REALobject NewStringVariant(SimHost& host, int64_t code, REALstring text) {
    REALobject variant = MakeVariant(host, kVariantClass, code, VariantKind::String, 0);
    if (variant != nullptr) host.SetDynamic(variant, "StringValue", text);
    return variant;
}

REALobject NewStringVariant(SimHost& host, int64_t code, const std::string& bytes) {
    REALstring text = host.Str(bytes);
    REALobject variant = NewStringVariant(host, code, text);
    host.UnlockString(text);
    return variant;
}

REALobject NewUInt32Variant(uint32_t value) {
    return UInt32ToVariant(value);
}

REALobject NewUInt64Variant(uint64_t value) {
    return UInt64ToVariant(value);
}

int64_t SingleBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

int64_t DoubleBits(double value) {
    int64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float VariantContents::single() const {
    float value;
    auto raw = static_cast<uint32_t>(bits);
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

double VariantContents::real() const {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool IsVariant(SimHost& host, REALobject object) {
    if (object == nullptr || !host.IsLive(object)) return false;
    std::string name = host.ClassName(object);
    return name == kVariantClass || name == kVariantUInt32Class || name == kVariantUInt64Class;
}

std::string TakeVariantText(SimHost& host, REALobject variant) {
    if (variant == nullptr) return "";
    const VariantContents contents = ReadVariant(host, variant);
    host.Unlock(variant);
    return contents.hasString ? contents.text : std::to_string(contents.bits);
}

VariantContents ReadVariant(SimHost& host, REALobject variant) {
    if (!IsVariant(host, variant)) throw std::runtime_error("not a variant");
    VariantContents contents{};
    contents.className = host.ClassName(variant);
    int64_t kind = 0;
    host.GetDynamicInt(variant, "Type", &contents.code);
    host.GetDynamicInt(variant, kKindSlot, &kind);
    host.GetDynamicInt(variant, kBitsSlot, &contents.bits);
    contents.kind = static_cast<VariantKind>(kind);
    if (REALstring text = host.GetDynamicString(variant, "StringValue")) {
        contents.hasString = true;
        contents.text = host.Bytes(text);
        contents.encoding = host.Encoding(text);
    }
    return contents;
}

ArrayContents ReadArray(SimHost& host, REALarray array) {
    auto object = reinterpret_cast<REALobject>(array);
    if (object == nullptr || !host.IsLive(object) || host.ClassName(object) != kArrayClass)
        throw std::runtime_error("not a host array");
    SimHost::Object* o = host.AsObject(object);
    return {o->elementType, o->elements};
}

REALarray NewArray(SimHost&, int32_t elementType, std::initializer_list<REALobject> objects) {
    REALarray array = CreateArray(elementType, -1);
    int64_t index = 0;
    for (REALobject object : objects) InsertObject(array, index++, object);
    return array;
}

}  // namespace simhost
