// Host variants written as property values: one row per host type code, run on a full host and on hosts
// that lack the "VarType" global method, the variant readers or the two unsigned variant classes.
#include <cstdio>
#include <cstring>

#include "tests/host/SimHostVariants.h"
#include "tests/host/BootedHost.h"

namespace simhost {
namespace {

using zvk::S;
using zvk::Z;

const GUID kBMP = {0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

enum class Source { Nil, Value, Text, UInt32Maker, UInt64Maker, GUIDObject, OtherObject };

struct Expect {
    VARTYPE vt;
    const char* member;   // the member's value as Member() writes it
    const char* logLine;  // a line that shows the value, or null
};

struct ToRow {
    const char* label;
    Source source;
    int64_t code;
    VariantKind kind;
    int64_t bits;
    const char* text;
    Expect expect;
    Expect withoutUnsignedClasses;  // vt 0: as expect
};

using K = VariantKind;

// clang-format off
const ToRow kRows[] = {
    {"nil", Source::Nil, 0, {}, 0, nullptr, {VT_EMPTY, "", nullptr}, {}},
    {"Int32", Source::Value, 2, K::Int32, -5, nullptr, {VT_INT, "-5", "intVal -5"}, {}},
    {"UInt32 variant", Source::UInt32Maker, 0, {}, 0xFFFFFFFE, nullptr, {VT_UINT, "4294967294", "uintVal 4294967294"},
     {VT_INT, "-2", "intVal -2"}},
    {"Int64", Source::Value, 3, K::Int64, 0x123456789AB, nullptr, {VT_I8, "1250999896491", "hVal 1250999896491"}, {}},
    {"Integer", Source::Value, 3, K::Integer, -7, nullptr, {VT_I8, "-7", "hVal -7"}, {}},
    {"UInt64 variant", Source::UInt64Maker, 0, {}, -1, nullptr, {VT_UI8, "18446744073709551615", "uhVal 18446744073709551615"},
     {VT_I8, "-1", "hVal -1"}},
    {"Single", Source::Value, 4, K::Single, SingleBits(1.5f), nullptr, {VT_R4, "1.5", "fltVal 1.500000"}, {}},
    {"Double", Source::Value, 5, K::Double, DoubleBits(-2.25), nullptr, {VT_R8, "-2.25", "dblVal -2.250000"}, {}},
    {"Currency", Source::Value, 6, K::Currency, 15000, nullptr, {VT_R8, "1.5", "dblVal 1.500000"}, {}},
    {"Date", Source::Text, 7, {}, 0, "2024-01-02 03:04", {VT_BSTR, "2024-01-02 03:04", "bstrVal 2024-01-02 03:04"}, {}},
    {"String", Source::Text, 8, {}, 0, "h\xC3\xA9llo", {VT_BSTR, "h\xC3\xA9llo", nullptr}, {}},
    {"empty String", Source::Text, 8, {}, 0, "", {VT_BSTR, "", nullptr}, {}},
    {"code 18", Source::Text, 18, {}, 0, "eighteen", {VT_BSTR, "eighteen", nullptr}, {}},
    {"code 19", Source::Text, 19, {}, 0, "nineteen", {VT_BSTR, "nineteen", nullptr}, {}},
    {"code 20", Source::Text, 20, {}, 0, "twenty", {VT_BSTR, "twenty", nullptr}, {}},
    {"code 21", Source::Text, 21, {}, 0, "twenty-one", {VT_BSTR, "twenty-one", nullptr}, {}},
    {"Text", Source::Text, 37, {}, 0, "text", {VT_BSTR, "text", "bstrVal text"}, {}},
    {"WIAGUIDZVK", Source::GUIDObject, 0, {}, 0, nullptr, {VT_CLSID, "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}", nullptr}, {}},
    {"other object", Source::OtherObject, 0, {}, 0, nullptr, {VT_EMPTY, "", "unsupported class!?"}, {}},
    {"Boolean true", Source::Value, 11, K::Boolean, 1, nullptr, {VT_BOOL, "1", "boolVal 1"}, {}},
    {"Boolean false", Source::Value, 11, K::Boolean, 0, nullptr, {VT_BOOL, "0", "boolVal 0"}, {}},
    {"Boolean byte FF", Source::Value, 11, K::Boolean, 0xFF, nullptr, {VT_BOOL, "-1", "boolVal -1"}, {}},
    {"Color", Source::Value, 16, K::Color, 0x80FF8000, nullptr, {VT_UINT, "2164228096", "uintVal 2164228096"}, {}},
    {"code 1", Source::Value, 1, K::Int64, 1, nullptr, {VT_EMPTY, "", "Unknown variant type 1"}, {}},
    {"code 38", Source::Value, 38, K::Int64, 1, nullptr, {VT_EMPTY, "", "Unknown variant type 38"}, {}},
    {"code 4096", Source::Value, 4096, K::Int64, 1, nullptr, {VT_EMPTY, "", "Unknown variant type 4096"}, {}},
};
// clang-format on

struct HostSetup {
    const char* name;
    std::set<std::string> withheld;
};

void PrintTo(const HostSetup& setup, std::ostream* out) {
    *out << setup.name;
}

const char* const kReaders[] = {"VariantToBoolean", "VariantToDouble", "VariantToInt32",  "VariantToInt64",
                                "VariantToSingle",  "VariantToString", "VariantToUInt32", "VariantToUInt64"};
const char* const kGetters[] = {"REALGetPropValueBool",  "REALGetPropValueDouble", "REALGetPropValueInt",
                                "REALGetPropValueInt64", "REALGetPropValueSingle", "REALGetPropValueUInt32",
                                "REALGetPropValueUInt64"};

const HostSetup kSetups[] = {
    {"FullHost", {}},
    {"NoVarTypeMethod", {kVarTypeMethod}},
    {"NoReaders", {std::begin(kReaders), std::end(kReaders)}},
    {"NoUnsignedClasses", {kVariantUInt32Class, kVariantUInt64Class}},
};

int Calls(const char* const* names, size_t count) {
    int total = 0;
    for (size_t i = 0; i < count; ++i) total += EntryCalls(names[i]);
    return total;
}

class VariantToPropertyValue : public zvk::BootedHostTest, public ::testing::WithParamInterface<HostSetup> {
protected:
    Options HostOptions() override {
        Options options;
        options.withheld = GetParam().withheld;
        return options;
    }
    bool Lacks(const std::string& name) const { return GetParam().withheld.count(name) != 0; }

    REALobject Make(const ToRow& row) {
        switch (row.source) {
            case Source::Nil:
                return nullptr;
            case Source::Value:
                return NewVariant(sim(), row.code, row.kind, row.bits);
            case Source::Text: {
                REALstring text = sim().Str(row.text);
                REALobject variant = NewStringVariant(sim(), row.code, text);
                sim().UnlockString(text);
                return variant;
            }
            case Source::UInt32Maker:
                return S(zvk::host::UInt32ToVariant(static_cast<uint32_t>(row.bits)));
            case Source::UInt64Maker:
                return S(zvk::host::UInt64ToVariant(static_cast<uint64_t>(row.bits)));
            case Source::GUIDObject: {
                REALobject guid = sim().New("WIAGUIDZVK");
                std::memcpy(sim().Data(guid), &kBMP, sizeof kBMP);
                return guid;
            }
            case Source::OtherObject:
                return sim().NewBuiltin("Window");
        }
        return nullptr;
    }
};

std::string Hex(const PROPVARIANT& value) {
    std::string hex;
    char byte[4];
    for (size_t i = 0; i < sizeof value; ++i) {
        std::snprintf(byte, sizeof byte, "%02X", reinterpret_cast<const uint8_t*>(&value)[i]);
        hex += byte;
    }
    return hex;
}

std::string Utf8(const wchar_t* text, int units) {
    std::string bytes(static_cast<size_t>(units) * 3, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text, units, &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

// The member that vt names, as text; "" for VT_EMPTY.
// clang-format off
std::string Member(const PROPVARIANT& value) {
    char text[64] = "";
    wchar_t guid[40] = L"";
    switch (value.vt) {
        case VT_INT: std::snprintf(text, sizeof text, "%d", value.intVal); break;
        case VT_I8: std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value.hVal.QuadPart)); break;
        case VT_BOOL: std::snprintf(text, sizeof text, "%d", value.boolVal); break;
        case VT_UINT: std::snprintf(text, sizeof text, "%u", value.uintVal); break;
        case VT_UI8: std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value.uhVal.QuadPart)); break;
        case VT_R4: std::snprintf(text, sizeof text, "%g", value.fltVal); break;
        case VT_R8: std::snprintf(text, sizeof text, "%g", value.dblVal); break;
        case VT_BSTR: return value.bstrVal == nullptr ? "(null BSTR)" : Utf8(value.bstrVal, SysStringLen(value.bstrVal));
        case VT_CLSID: return value.puuid == nullptr ? "(null)" : Utf8(guid, StringFromGUID2(*value.puuid, guid, 40) - 1);
        default: break;
    }
    return text;
}
// clang-format on

TEST_P(VariantToPropertyValue, EveryHostTypeCode) {
    for (const ToRow& row : kRows) {
        SCOPED_TRACE(std::string(GetParam().name) + " / " + row.label);
        Expect expect =
            Lacks(kVariantUInt32Class) && row.withoutUnsignedClasses.vt != 0 ? row.withoutUnsignedClasses : row.expect;
        // An object has no "Type" property: without the global method the host's answer for it is 0.
        bool object = row.source == Source::GUIDObject || row.source == Source::OtherObject;
        if (object && Lacks(kVarTypeMethod)) expect = {VT_EMPTY, "", nullptr};
        REALobject variant = Make(row);

        for (bool logging : {false, true}) {
            zvk::DebugLoggingEnabled = logging;
            log().Clear();
            int readerCalls = Calls(kReaders, std::size(kReaders)), getterCalls = Calls(kGetters, std::size(kGetters));
            PROPVARIANT value;
            std::memset(&value, 0xCD, sizeof value);
            EXPECT_EQ(zvk::Variant2PROPVARIANT(&value, Z(variant)), &value);
            ASSERT_EQ(value.vt, expect.vt) << Hex(value);
            EXPECT_EQ(value.wReserved1 | value.wReserved2 | value.wReserved3, 0) << Hex(value);
            EXPECT_EQ(Member(value), expect.member);
            if (value.vt == VT_CLSID) {
                EXPECT_NE(static_cast<void*>(value.puuid), sim().Data(variant)) << "a fresh block";
            }
            if (value.vt == VT_EMPTY) {
                EXPECT_EQ(Hex(value), std::string(2 * sizeof value, '0'));
            }
            size_t end = value.vt == VT_BOOL ? 10 : value.vt == VT_INT || value.vt == VT_R4 || value.vt == VT_UINT ? 12 : 16;
            EXPECT_EQ(Hex(value).substr(2 * end), std::string(2 * (sizeof value - end), '0')) << "after the member";
            EXPECT_EQ(PropVariantClear(&value), S_OK);

            // The host's readers when it has them, the value properties only when it does not.
            if (Lacks("VariantToInt32"))
                EXPECT_EQ(Calls(kReaders, std::size(kReaders)), readerCalls);
            else
                EXPECT_EQ(Calls(kGetters, std::size(kGetters)), getterCalls);

            if (!logging) {
                EXPECT_TRUE(log().Lines().empty()) << log().Dump();
                continue;
            }
            char first[64];
            std::snprintf(first, sizeof first, "ZVK Debug: Variant2PROPVARIANT %p", static_cast<void*>(variant));
            ASSERT_FALSE(log().Lines().empty());
            EXPECT_EQ(log().Lines().front(), first);
            if (expect.logLine != nullptr) {
                EXPECT_TRUE(log().Contains(std::string("ZVK Debug: ") + expect.logLine)) << log().Dump();
            }
        }
        sim().Unlock(variant);
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, VariantToPropertyValue, ::testing::ValuesIn(kSetups),
                         [](const ::testing::TestParamInfo<HostSetup>& setup) { return std::string(setup.param.name); });

}  // namespace
}  // namespace simhost
