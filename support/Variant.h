// Host variants and system property values. In the host a variant is an object reference (a variant
// that holds an object is that object itself; nil is the empty variant). PROPVARIANT2Variant turns a
// property value read from a device into a new variant; Variant2PROPVARIANT fills a property value
// from a script's variant before it is written. Both run on the host's thread and never fail
// visibly: what cannot be converted gives a nil variant or a VT_EMPTY value.
#pragma once

#include <windows.h>
#include <propidl.h>

#include <cstdint>

#include "plugin/HostTypes.h"

// Missing from the mingw-w64 headers; exported by propsys.dll.
extern "C" HRESULT WINAPI PropVariantToBSTR(REFPROPVARIANT propvar, BSTR* pbstrOut);

namespace zvk {

// Host variant type codes as VarType reports them.
namespace vartype {
constexpr int64_t kNil = 0;
constexpr int64_t kInt32 = 2;
constexpr int64_t kInt64 = 3;
constexpr int64_t kSingle = 4;
constexpr int64_t kDouble = 5;
constexpr int64_t kCurrency = 6;
constexpr int64_t kDate = 7;
constexpr int64_t kString = 8;
constexpr int64_t kObject = 9;
constexpr int64_t kBoolean = 11;
constexpr int64_t kColor = 16;
constexpr int64_t kText = 37;
constexpr int64_t kUInt32 = 102;  // made by VarType from code 2 and the host class "_VariantUInt32"
constexpr int64_t kUInt64 = 103;  // made by VarType from code 3 and the host class "_VariantUInt64"
}  // namespace vartype

// The host's type code of a variant, with 102 and 103 for the host's unsigned integer variants.
int64_t VarType(REALobject variant);

// The variant readers: the host entry of the same name, or else the variant's value property of the
// matching type. A value that cannot be read is 0 (false).
RBBoolean VariantToBoolean(REALobject variant);
double VariantToDouble(REALobject variant);
int32_t VariantToInt32(REALobject variant);
int64_t VariantToInt64(REALobject variant);
float VariantToSingle(REALobject variant);
REALstring VariantToString(REALobject variant);  // +1 for the caller; nil for a nil variant
uint32_t VariantToUInt32(REALobject variant);
uint64_t VariantToUInt64(REALobject variant);

// Zeroes *result, then sets vt and one member from the variant. A BSTR or CLSID block it allocates
// belongs to the caller, who frees it with PropVariantClear. Returns result.
PROPVARIANT* Variant2PROPVARIANT(PROPVARIANT* result, REALobject variant);

// True for the numeric value types: VT_I1 to VT_I8, VT_UI1 to VT_UI8, VT_INT, VT_UINT, VT_R4 and VT_R8.
bool IsNumberType(VARTYPE vt);

// Converts a numeric *value to the numeric type `type` in place: integers keep their value, a floating-point
// value going to an integer type is rounded to the nearest whole number (halves away from zero). S_OK when
// converted; DISP_E_OVERFLOW, with *value unchanged, when the value does not fit the type (or is not a
// number); E_INVALIDARG, unchanged, when either type is not numeric. Numeric values own no memory.
HRESULT ConvertNumber(PROPVARIANT* value, VARTYPE type);

// A new variant (+1 for the caller) of a filled value, or nil. The value is neither changed nor freed.
REALobject PROPVARIANT2Variant(const PROPVARIANT* value);

// False for a nil object or a class the host does not know; otherwise the host's answer.
bool ObjectIsA(REALobject object, const char* className);

// Forgets the "VarType" global method and the two unsigned class references, for a host that is
// loaded anew. Must not run while a conversion does.
void ForgetVariantLookups();

// Host arrays. The new ones are empty for an upper bound of -1 and belong to the caller (+1); an insert
// makes the array take its own reference, so the caller still gives back its own. Nil without the host's
// entries; an insert then returns false.
REALarray NewObjectArray(int64_t upperBound = -1);
REALarray NewStringArray(int64_t upperBound = -1);
bool InsertObject(REALarray array, int64_t index, REALobject object);  // object may be nil
bool InsertString(REALarray array, int64_t index, REALstring text);

}  // namespace zvk
