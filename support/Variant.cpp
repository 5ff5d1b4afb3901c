#include "support/Variant.h"

#include <objbase.h>
#include <oleauto.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "plugin/HostApi.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "support/Log.h"
#include "support/Text.h"
#include "wia/GUIDClass.h"

namespace zvk {
namespace {

constexpr const char* kVarTypeDeclaration = "VarType(value As Variant) As Integer";

// Found on first use and kept; a failed lookup is tried again on the next call.
using VarTypeMethod = int64_t (*)(REALobject);
VarTypeMethod gVarTypeMethod = nullptr;

// A host class looked up once per process (absent stays remembered), safe against concurrent first use.
struct ClassLookup {
    const char* name;
    INIT_ONCE once;
    void* cls;
};

ClassLookup gUInt32Class = {"_VariantUInt32", INIT_ONCE_STATIC_INIT, nullptr};
ClassLookup gUInt64Class = {"_VariantUInt64", INIT_ONCE_STATIC_INIT, nullptr};

BOOL CALLBACK LookUpClass(PINIT_ONCE, void* parameter, void**) {
    auto* lookup = static_cast<ClassLookup*>(parameter);
    lookup->cls = host::ObjectType(lookup->name);
    return TRUE;
}

void* ClassOf(ClassLookup& lookup) {
    InitOnceExecuteOnce(&lookup.once, LookUpClass, &lookup, nullptr);
    return lookup.cls;
}

void Forget(ClassLookup& lookup) {
    InitOnceInitialize(&lookup.once);
    lookup.cls = nullptr;
}

// The readers the host may offer, each T (REALobject variant).
host::Entry<RBBoolean (*)(REALobject)> kVariantToBoolean{"VariantToBoolean"};
host::Entry<double (*)(REALobject)> kVariantToDouble{"VariantToDouble"};
host::Entry<int32_t (*)(REALobject)> kVariantToInt32{"VariantToInt32"};
host::Entry<int64_t (*)(REALobject)> kVariantToInt64{"VariantToInt64"};
host::Entry<float (*)(REALobject)> kVariantToSingle{"VariantToSingle"};
host::Entry<REALstring (*)(REALobject)> kVariantToString{"VariantToString"};
host::Entry<uint32_t (*)(REALobject)> kVariantToUInt32{"VariantToUInt32"};
host::Entry<uint64_t (*)(REALobject)> kVariantToUInt64{"VariantToUInt64"};

// The reader entry when the host has it; otherwise the value property, 0 when that cannot be read.
template <typename T>
T ReadValue(host::Entry<T (*)(REALobject)>& reader, REALobject variant, bool (*getter)(REALobject, const char*, T*),
            const char* property) {
    if (auto read = reader.get()) return read(variant);
    T value{};
    if (!getter(variant, property, &value)) value = T{};
    return value;
}

void LogLabel(const char* label) {
    if (DebugLoggingEnabled) DebugLog(label);
}

// Takes over the host string, makes a string variant of it and releases the string.
REALobject StringVariant(REALstring text) {
    unique_host_string owned(text);
    return host::StringToVariant(owned.get());
}

void StoreText(PROPVARIANT* result, REALobject variant) {
    unique_host_string text(VariantToString(variant));
    rbText wide(text.get());
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(wide.UTF16());
    if (DebugLoggingEnabled) DebugLogWide("bstrVal", result->bstrVal != nullptr ? result->bstrVal : L"");
}

void StoreGUID(PROPVARIANT* result, REALobject variant) {
    if (!ObjectIsA(variant, "WIAGUIDZVK")) {
        LogLabel("unsupported class!?");
        return;
    }
    const GUID* guid = GUIDOf(variant);
    if (guid == nullptr) {
        LogLabel("failed to get GUID");
        return;
    }
    auto* block = static_cast<CLSID*>(CoTaskMemAlloc(sizeof(CLSID)));
    if (block == nullptr) {
        LogLabel("Failed to allocate GUID memory.");
        return;
    }
    *block = *guid;
    result->vt = VT_CLSID;
    result->puuid = block;
    if (DebugLoggingEnabled) DebugLogPointer("puuid", block);
}

// A value outside the table, as the system's text for it; nil when the system has none.
REALobject TextOfValue(const PROPVARIANT* value) {
    if (DebugLoggingEnabled) DebugLogInt("unsupported type, so convert to string.", value->vt);
    unique_bstr text;
    HRESULT result = PropVariantToBSTR(*value, text.put());
    if (DebugLoggingEnabled) DebugLogLong("PropVariantToBSTR", result);
    if (FAILED(result)) return nullptr;
    unique_host_string string(WString2RB(text.get()));
    text.reset();
    return host::StringToVariant(string.get());
}

}  // namespace

int64_t VarType(REALobject variant) {
    if (gVarTypeMethod == nullptr) gVarTypeMethod = reinterpret_cast<VarTypeMethod>(host::LoadGlobalMethod(kVarTypeDeclaration));
    int64_t code = 0;
    if (gVarTypeMethod != nullptr) {
        code = gVarTypeMethod(variant);
    } else if (!host::GetPropValueInteger(variant, "Type", &code)) {
        code = 0;
    }
    if (code == vartype::kInt32) {
        void* cls = ClassOf(gUInt32Class);
        return cls != nullptr && host::ObjectIsa(variant, cls) ? vartype::kUInt32 : vartype::kInt32;
    }
    if (code == vartype::kInt64) {
        void* cls = ClassOf(gUInt64Class);
        return cls != nullptr && host::ObjectIsa(variant, cls) ? vartype::kUInt64 : vartype::kInt64;
    }
    return code;
}

RBBoolean VariantToBoolean(REALobject variant) {
    return ReadValue(kVariantToBoolean, variant, host::GetPropValueBool, "BooleanValue");
}

double VariantToDouble(REALobject variant) {
    return ReadValue(kVariantToDouble, variant, host::GetPropValueDouble, "DoubleValue");
}

int32_t VariantToInt32(REALobject variant) {
    return ReadValue(kVariantToInt32, variant, host::GetPropValueInt, "Int32Value");
}

int64_t VariantToInt64(REALobject variant) {
    return ReadValue(kVariantToInt64, variant, host::GetPropValueInt64, "LongValue");
}

float VariantToSingle(REALobject variant) {
    return ReadValue(kVariantToSingle, variant, host::GetPropValueSingle, "SingleValue");
}

REALstring VariantToString(REALobject variant) {
    if (variant == nullptr) return nullptr;
    return ReadValue(kVariantToString, variant, host::GetPropValueString, "StringValue");
}

uint32_t VariantToUInt32(REALobject variant) {
    return ReadValue(kVariantToUInt32, variant, host::GetPropValueUInt32, "UInt32Value");
}

uint64_t VariantToUInt64(REALobject variant) {
    return ReadValue(kVariantToUInt64, variant, host::GetPropValueUInt64, "UInt64Value");
}

PROPVARIANT* Variant2PROPVARIANT(PROPVARIANT* result, REALobject variant) {
    if (DebugLoggingEnabled) DebugLogPointer("Variant2PROPVARIANT", variant);
    if (result == nullptr) return nullptr;
    std::memset(result, 0, sizeof *result);
    const int64_t code = VarType(variant);
    switch (code) {
        case vartype::kNil:
            break;
        case vartype::kInt32:
            result->vt = VT_INT;
            result->intVal = VariantToInt32(variant);
            if (DebugLoggingEnabled) DebugLogInt("intVal", result->intVal);
            break;
        case vartype::kInt64:
            result->vt = VT_I8;
            result->hVal.QuadPart = VariantToInt64(variant);
            if (DebugLoggingEnabled) DebugLogInt64("hVal", result->hVal.QuadPart);
            break;
        case vartype::kSingle:
            result->vt = VT_R4;
            result->fltVal = VariantToSingle(variant);
            if (DebugLoggingEnabled) DebugLogDouble("fltVal", result->fltVal);
            break;
        case vartype::kDouble:
        case vartype::kCurrency:
            result->vt = VT_R8;
            result->dblVal = VariantToDouble(variant);
            if (DebugLoggingEnabled) DebugLogDouble("dblVal", result->dblVal);
            break;
        case vartype::kDate:
        case vartype::kString:
        case 18:  // 18 to 21: kinds whose meaning is the host's; it gives them as text
        case 19:
        case 20:
        case 21:
        case vartype::kText:
            StoreText(result, variant);
            break;
        case vartype::kObject:
            StoreGUID(result, variant);
            break;
        case vartype::kBoolean:
            result->vt = VT_BOOL;
            result->boolVal = static_cast<VARIANT_BOOL>(VariantToBoolean(variant));  // sign-extended, not mapped
            if (DebugLoggingEnabled) DebugLogInt("boolVal", result->boolVal);
            break;
        case vartype::kColor:
        case vartype::kUInt32:
            result->vt = VT_UINT;
            result->uintVal = VariantToUInt32(variant);
            if (DebugLoggingEnabled) DebugLogUInt("uintVal", result->uintVal);
            break;
        case vartype::kUInt64:
            result->vt = VT_UI8;
            result->uhVal.QuadPart = VariantToUInt64(variant);
            if (DebugLoggingEnabled) DebugLogUInt64("uhVal", result->uhVal.QuadPart);
            break;
        default:
            if (DebugLoggingEnabled) DebugLogInt64("Unknown variant type", code);
            break;
    }
    return result;
}

REALobject PROPVARIANT2Variant(const PROPVARIANT* value) {
    if (value == nullptr) return nullptr;
    if (DebugLoggingEnabled) DebugLogInt("PROPVARIANT2Variant", value->vt);
    switch (value->vt) {
        case VT_EMPTY:
            LogLabel("VT_EMPTY");
            return nullptr;
        case VT_NULL:
            LogLabel("VT_NULL");
            return nullptr;
        case VT_I2:
            LogLabel("VT_I2");
            return host::IntegerToVariant(value->iVal);
        case VT_I4:
            LogLabel("VT_I4");
            return host::IntegerToVariant(value->lVal);
        case VT_R4:
            LogLabel("VT_R4");
            return host::SingleToVariant(value->fltVal);
        case VT_R8:
            LogLabel("VT_R8");
            return host::DoubleToVariant(value->dblVal);
        case VT_BSTR:
            if (DebugLoggingEnabled) DebugLogWide("VT_BSTR", value->bstrVal != nullptr ? value->bstrVal : L"");
            return StringVariant(WString2RB(value->bstrVal));
        case VT_BOOL:
            LogLabel("VT_BOOL");
            return host::BooleanToVariant(value->boolVal != 0 ? 1 : 0);
        case VT_I1:
            LogLabel("VT_I1");
            return host::IntegerToVariant(static_cast<signed char>(value->cVal));
        case VT_UI1:
            LogLabel("VT_UI1");
            return host::IntegerToVariant(value->bVal);
        case VT_UI2:
            LogLabel("VT_UI2");
            return host::IntegerToVariant(value->uiVal);
        case VT_UI4:
            LogLabel("VT_UI4");
            return host::UInt32ToVariant(value->ulVal);
        case VT_I8:
            LogLabel("VT_I8");
            return host::Int64ToVariant(value->hVal.QuadPart);
        case VT_UI8:
            LogLabel("VT_UI8");
            return host::UInt64ToVariant(value->uhVal.QuadPart);
        case VT_INT:
            LogLabel("VT_INT");
            return host::IntegerToVariant(value->intVal);
        case VT_UINT:
            LogLabel("VT_UINT");
            return host::UInt32ToVariant(value->uintVal);
        case VT_LPSTR:
            LogLabel("VT_LPSTR");
            return StringVariant(CString2RB(value->pszVal, encoding::kWindowsLatin1));
        case VT_LPWSTR:
            LogLabel("VT_LPWSTR");
            return StringVariant(WString2RB(value->pwszVal));
        case VT_CLSID:
            LogLabel("VT_CLSID");
            return value->puuid != nullptr ? NewGUIDObject(*value->puuid) : nullptr;
        default:
            return TextOfValue(value);
    }
}

bool ObjectIsA(REALobject object, const char* className) {
    if (object == nullptr || className == nullptr) return false;
    void* cls = host::ObjectType(className);
    return cls != nullptr && host::ObjectIsa(object, cls);
}

void ForgetVariantLookups() {
    gVarTypeMethod = nullptr;
    Forget(gUInt32Class);
    Forget(gUInt64Class);
}

REALarray NewObjectArray(int64_t upperBound) {
    return host::CreateArray(host::kObjectArray, upperBound);
}

REALarray NewStringArray(int64_t upperBound) {
    return host::CreateArray(host::kStringArray, upperBound);
}

bool InsertObject(REALarray array, int64_t index, REALobject object) {
    return host::InsertIntoArray(array, index, object);
}

bool InsertString(REALarray array, int64_t index, REALstring text) {
    return host::InsertIntoArray(array, index, text);
}

namespace {

// The integer value types with their ranges.
struct IntegerType {
    VARTYPE vt;
    int64_t min;
    uint64_t max;
};

// clang-format off
constexpr IntegerType kIntegerTypes[] = {
    {VT_I1,   INT8_MIN,  INT8_MAX},   {VT_UI1,  0, UINT8_MAX},
    {VT_I2,   INT16_MIN, INT16_MAX},  {VT_UI2,  0, UINT16_MAX},
    {VT_I4,   INT32_MIN, INT32_MAX},  {VT_UI4,  0, UINT32_MAX},
    {VT_INT,  INT32_MIN, INT32_MAX},  {VT_UINT, 0, UINT32_MAX},
    {VT_I8,   INT64_MIN, INT64_MAX},  {VT_UI8,  0, UINT64_MAX},
};
// clang-format on

const IntegerType* IntegerTypeOf(VARTYPE vt) {
    for (const IntegerType& type : kIntegerTypes) {
        if (type.vt == vt) return &type;
    }
    return nullptr;
}

// A numeric value as one of three kinds: signed (negative values only), unsigned, or floating-point.
struct Number {
    enum Kind { kSigned, kUnsigned, kFloat } kind;
    int64_t s;
    uint64_t u;
    double d;
};

Number FromSigned(int64_t value) {
    return value < 0 ? Number{Number::kSigned, value, 0, 0} : Number{Number::kUnsigned, 0, static_cast<uint64_t>(value), 0};
}

Number NumberOf(const PROPVARIANT& value) {
    switch (value.vt) {
        case VT_I1:
            return FromSigned(value.cVal);
        case VT_UI1:
            return FromSigned(value.bVal);
        case VT_I2:
            return FromSigned(value.iVal);
        case VT_UI2:
            return FromSigned(value.uiVal);
        case VT_I4:
            return FromSigned(value.lVal);
        case VT_UI4:
            return FromSigned(value.ulVal);
        case VT_INT:
            return FromSigned(value.intVal);
        case VT_UINT:
            return FromSigned(value.uintVal);
        case VT_I8:
            return FromSigned(value.hVal.QuadPart);
        case VT_UI8:
            return {Number::kUnsigned, 0, value.uhVal.QuadPart, 0};
        case VT_R4:
            return {Number::kFloat, 0, 0, value.fltVal};
        default:
            return {Number::kFloat, 0, 0, value.dblVal};
    }
}

double AsDouble(const Number& number) {
    switch (number.kind) {
        case Number::kSigned:
            return static_cast<double>(number.s);
        case Number::kUnsigned:
            return static_cast<double>(number.u);
        default:
            return number.d;
    }
}

// The number as a whole number in the type's range, as the 64 bits of its two's complement.
bool FitInteger(Number number, const IntegerType& type, uint64_t* bits) {
    if (number.kind == Number::kFloat) {
        const double whole = std::round(number.d);
        if (!(whole >= -9223372036854775808.0 && whole < 18446744073709551616.0)) return false;  // NaN fails too
        number =
            whole < 0 ? FromSigned(static_cast<int64_t>(whole)) : Number{Number::kUnsigned, 0, static_cast<uint64_t>(whole), 0};
    }
    *bits = number.kind == Number::kSigned ? static_cast<uint64_t>(number.s) : number.u;
    return number.kind == Number::kSigned ? number.s >= type.min : number.u <= type.max;
}

}  // namespace

bool IsNumberType(VARTYPE vt) {
    return vt == VT_R4 || vt == VT_R8 || IntegerTypeOf(vt) != nullptr;
}

HRESULT ConvertNumber(PROPVARIANT* value, VARTYPE type) {
    if (value == nullptr || !IsNumberType(value->vt) || !IsNumberType(type)) return E_INVALIDARG;
    const Number number = NumberOf(*value);
    PROPVARIANT converted = {};
    converted.vt = type;
    if (type == VT_R8) {
        converted.dblVal = AsDouble(number);
    } else if (type == VT_R4) {
        const double d = AsDouble(number);
        if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
        converted.fltVal = static_cast<float>(d);
    } else {
        uint64_t bits = 0;
        if (!FitInteger(number, *IntegerTypeOf(type), &bits)) return DISP_E_OVERFLOW;
        converted.uhVal.QuadPart = bits;  // the union's low bytes hold every narrower member (little-endian)
    }
    *value = converted;
    return S_OK;
}

}  // namespace zvk
