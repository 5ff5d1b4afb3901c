// Variants and arrays of the simulated host. A variant is a builtin host object that carries its type
// code (what "VarType" reports and what its "Type" property holds) and one value of a kind; the readers
// convert that value the way the host converts between variant types. An array is a builtin host object
// whose elements each hold one reference. Every entry, the global method and the two unsigned classes can
// be withheld per host (Options.withheld) so that the library's fallbacks run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"

namespace simhost {

// Host variant type codes.
namespace vtype {
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
}  // namespace vtype

// The kind of value a variant holds. The first eight are what the makers of the same name produce;
// Int32, Currency (value × 10000) and Color are made only by tests.
enum class VariantKind { Boolean, Integer, Int64, UInt32, UInt64, Single, Double, String, Int32, Currency, Color };
const char* KindName(VariantKind kind);

constexpr const char* kVariantClass = "_Variant";
constexpr const char* kVariantUInt32Class = "_VariantUInt32";  // what "UInt32ToVariant" makes, when offered
constexpr const char* kVariantUInt64Class = "_VariantUInt64";
constexpr const char* kVarTypeMethod = "VarType(value As Variant) As Integer";

// A variant of any code with a numeric value (raw bits: an integer, or a float/double bit pattern).
// Returns one reference.
REALobject NewVariant(SimHost& host, int64_t code, VariantKind kind, int64_t bits);
// A string-kind variant of any code (8, 37, 7, 18 to 21 ...); the string is borrowed. One reference.
REALobject NewStringVariant(SimHost& host, int64_t code, REALstring text);
// The same of UTF-8 bytes. One reference.
REALobject NewStringVariant(SimHost& host, int64_t code, const std::string& bytes);
// What the current host's own makers give for a script's UInt32 and UInt64 values. One reference.
REALobject NewUInt32Variant(uint32_t value);
REALobject NewUInt64Variant(uint64_t value);
int64_t SingleBits(float value);
int64_t DoubleBits(double value);

// What a variant holds, read without calling the entries.
struct VariantContents {
    std::string className;
    int64_t code;
    VariantKind kind;
    int64_t bits;
    std::string text;   // bytes of a string-kind value
    uint32_t encoding;  // of a string-kind value
    bool hasString;     // a string-kind value that is not nil
    float single() const;
    double real() const;
};
bool IsVariant(SimHost& host, REALobject object);
VariantContents ReadVariant(SimHost& host, REALobject variant);  // throws for anything but a variant
// A variant's value as text: its string's bytes, or its bits as a number; "" for nil. Takes the reference.
std::string TakeVariantText(SimHost& host, REALobject variant);

// An array as the host holds it.
struct ArrayContents {
    int32_t elementType;  // 3 strings, 4 objects
    std::vector<void*> elements;
};
ArrayContents ReadArray(SimHost& host, REALarray array);  // throws for anything but an array
// An array as a script declares one (element type 3 strings, 4 objects), made as the host's entry makes it, holding its
// own references to `objects`. Returns one reference.
REALarray NewArray(SimHost& host, int32_t elementType, std::initializer_list<REALobject> objects = {});

}  // namespace simhost
