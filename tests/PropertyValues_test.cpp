// Values a script writes to and reads from a device property by id: every host variant type code, as the device
// receives it byte for byte on four kinds of host, and every property value type, as the variant the script gets.
#include <cstring>

#include "tests/host/PluginTest.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimScript.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

const wchar_t* const kTable = simwia::kScannerId;  // the scanner's device-information storage
const GUID kJPEG = {0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
using K = VariantKind;
using HostSetup = std::pair<const char*, std::set<std::string>>;  // a name, what the host withholds

class PropertyValues : public PluginTest, public ::testing::WithParamInterface<HostSetup> {
protected:
    Options HostOptions() override { return {Options().version, true, GetParam().second}; }
    void SetUp() override {
        PluginTest::SetUp();
        storage_ = OpenDeviceInformation(host());
        EnableLogging();
    }
    void TearDown() override { host().Unlock(storage_), PluginTest::TearDown(); }
    REALobject storage_ = nullptr;
};

// A value a script writes: the type the device receives; the member's bytes (0 for a BSTR and a GUID, which are checked
// apart: the GUID is kJPEG); a BSTR's text (an empty text is an empty BSTR, not a null one); a host entry, global method
// or class without which the device receives another type, with the same member bytes; the log line that tells why
// nothing could be written.
// clang-format off
struct WriteRow { const char* label; REALobject (*make)(SimHost& host); VARTYPE vt; int64_t member; const wchar_t* text; const char* without; VARTYPE withoutVt; const char* fault; };
const WriteRow kWrites[] = {
    {"nil", [](SimHost&) { return REALobject{}; }, VT_EMPTY, 0, nullptr, nullptr, 0, nullptr},
    {"Int32", [](SimHost& h) { return NewVariant(h, 2, K::Int32, -5); }, VT_INT, -5, nullptr, nullptr, 0, nullptr},
    {"UInt32", [](SimHost&) { return NewUInt32Variant(0xFFFFFFFE); }, VT_UINT, 0xFFFFFFFE, nullptr, kVariantUInt32Class, VT_INT, nullptr},
    {"Integer", [](SimHost& h) { return NewVariant(h, 3, K::Integer, -0x123456789AB); }, VT_I8, -0x123456789AB, nullptr, nullptr, 0, nullptr},
    {"UInt64", [](SimHost&) { return NewUInt64Variant(UINT64_MAX); }, VT_UI8, -1, nullptr, kVariantUInt64Class, VT_I8, nullptr},
    {"Single", [](SimHost& h) { return NewVariant(h, 4, K::Single, SingleBits(1.5f)); }, VT_R4, SingleBits(1.5f), nullptr, nullptr, 0, nullptr},
    {"Double", [](SimHost& h) { return NewVariant(h, 5, K::Double, DoubleBits(-2.25)); }, VT_R8, DoubleBits(-2.25), nullptr, nullptr, 0, nullptr},
    {"Currency", [](SimHost& h) { return NewVariant(h, 6, K::Currency, 15000); }, VT_R8, DoubleBits(1.5), nullptr, nullptr, 0, nullptr},
    {"Boolean true", [](SimHost& h) { return NewVariant(h, 11, K::Boolean, 1); }, VT_BOOL, 1, nullptr, nullptr, 0, nullptr},
    {"Boolean byte FF", [](SimHost& h) { return NewVariant(h, 11, K::Boolean, 0xFF); }, VT_BOOL, 0xFFFF, nullptr, nullptr, 0, nullptr},
    {"Color", [](SimHost& h) { return NewVariant(h, 16, K::Color, 0x80FF8000); }, VT_UINT, 0x80FF8000, nullptr, nullptr, 0, nullptr},
    {"Date", [](SimHost& h) { return NewStringVariant(h, 7, "2024-01-02 03:04"); }, VT_BSTR, 0, L"2024-01-02 03:04", nullptr, 0, nullptr},
    {"String", [](SimHost& h) { return NewStringVariant(h, 8, "h\xC3\xA9llo"); }, VT_BSTR, 0, L"h\u00E9llo", nullptr, 0, nullptr},
    {"empty String", [](SimHost& h) { return NewStringVariant(h, 8, ""); }, VT_BSTR, 0, L"", nullptr, 0, nullptr},
    {"code 18", [](SimHost& h) { return NewStringVariant(h, 18, "eighteen"); }, VT_BSTR, 0, L"eighteen", nullptr, 0, nullptr},
    {"code 19", [](SimHost& h) { return NewStringVariant(h, 19, "nineteen"); }, VT_BSTR, 0, L"nineteen", nullptr, 0, nullptr},
    {"code 20", [](SimHost& h) { return NewStringVariant(h, 20, "twenty"); }, VT_BSTR, 0, L"twenty", nullptr, 0, nullptr},
    {"code 21", [](SimHost& h) { return NewStringVariant(h, 21, "twenty-one"); }, VT_BSTR, 0, L"twenty-one", nullptr, 0, nullptr},
    {"Text", [](SimHost& h) { return NewStringVariant(h, 37, "text"); }, VT_BSTR, 0, L"text", nullptr, 0, nullptr},
    {"WIAGUIDZVK", [](SimHost& h) { return h.CallShared<REALobject>("WIAPropertyStorageZVK", "kImageFormatJPEG"); }, VT_CLSID, 0, nullptr, kVarTypeMethod, VT_EMPTY, nullptr},
    {"other object", [](SimHost& h) { return h.New("WIADeviceManager2ZVK"); }, VT_EMPTY, 0, nullptr, kVarTypeMethod, VT_EMPTY, "unsupported class!?"},
    {"code 1", [](SimHost& h) { return NewVariant(h, 1, K::Int64, 1); }, VT_EMPTY, 0, nullptr, nullptr, 0, "Unknown variant type 1"},
    {"code 38", [](SimHost& h) { return NewVariant(h, 38, K::Int64, 1); }, VT_EMPTY, 0, nullptr, nullptr, 0, "Unknown variant type 38"},
    {"code 4096", [](SimHost& h) { return NewVariant(h, 4096, K::Int64, 1); }, VT_EMPTY, 0, nullptr, nullptr, 0, "Unknown variant type 4096"},
};
const HostSetup kSetups[] = {
    {"FullHost", {}},
    {"NoVarTypeMethod", {kVarTypeMethod}},  // an object has no "Type" property: the host gives it no type code
    {"NoReaders", {"VariantToBoolean", "VariantToDouble", "VariantToInt32", "VariantToInt64", "VariantToSingle", "VariantToString", "VariantToUInt32", "VariantToUInt64"}},
    {"NoUnsignedClasses", {kVariantUInt32Class, kVariantUInt64Class}},
};
// clang-format on

TEST_P(PropertyValues, EveryHostTypeCodeReachesTheDeviceByteForByte) {
    for (PROPID id = 5000; id < 5000 + std::size(kWrites); ++id) {
        const WriteRow& row = kWrites[id - 5000];
        SCOPED_TRACE(row.label);
        const bool changed = row.without != nullptr && GetParam().second.count(row.without) != 0;
        const VARTYPE vt = changed ? row.withoutVt : row.vt;
        PROPVARIANT want{};
        want.vt = vt;
        std::memcpy(&want.hVal, &row.member, vt == VT_BOOL ? 2 : vt == VT_INT || vt == VT_UINT || vt == VT_R4 ? 4 : 8);
        ObjectRef variant(host(), row.make(host()));
        log().Clear();
        host().Call<void>(storage_, "Write", int64_t{id}, variant.get());
        EXPECT_EQ(host().GetInt(storage_, "Lasterror"), vt == VT_EMPTY ? static_cast<int32_t>(E_INVALIDARG) : 0);
        EXPECT_EQ(simwia::StoredValue(kTable, id).vt(), vt);
        simwia::PropValue written = simwia::LastCall("IWiaPropertyStorage::WriteMultiple").values.at(0);
        PROPVARIANT got = written.get();
        std::wstring text = got.vt == VT_BSTR && got.bstrVal ? std::wstring(got.bstrVal, SysStringLen(got.bstrVal)) : L"none";
        EXPECT_EQ(text, row.text != nullptr ? row.text : L"none");
        EXPECT_TRUE(vt != VT_CLSID || (got.vt == VT_CLSID && got.puuid != nullptr && IsEqualGUID(*got.puuid, kJPEG)));
        if (got.vt == VT_BSTR || got.vt == VT_CLSID) got.puuid = nullptr;  // the pointer, checked above
        EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << "vt, the member, and zeros everywhere else";
        EXPECT_EQ(log().Lines().at(0), "ZVK Debug: rbWriteMultiple") << "the label before the converted type";
        EXPECT_TRUE(log().Contains("ZVK Debug: values.vt " + std::to_string(vt))) << log().Dump();
        EXPECT_TRUE(row.fault == nullptr || changed || log().Contains(std::string("ZVK Debug: ") + row.fault)) << log().Dump();
    }
}

// A number written over a property the device holds as a number goes in the device's type, or not at all when it does
// not fit; anything else goes as the variant's own type. Rows: the device's type, the script's value, the bits the
// device then holds in that type (or what the variant made), and whether the value did not fit.
// clang-format off
struct TypedRow { const char* label; VARTYPE device; REALobject (*make)(SimHost& host); VARTYPE vt; int64_t member; bool overflow; };
const TypedRow kTyped[] = {
    {"Integer to VT_I4", VT_I4, [](SimHost& h) { return NewVariant(h, 3, K::Integer, 300); }, VT_I4, 300, false},
    {"Int32 to VT_I4", VT_I4, [](SimHost& h) { return NewVariant(h, 2, K::Int32, -7); }, VT_I4, 0xFFFFFFF9, false},
    {"Integer to VT_UI2", VT_UI2, [](SimHost& h) { return NewVariant(h, 3, K::Integer, 65535); }, VT_UI2, 65535, false},
    {"Double to VT_I4, rounded", VT_I4, [](SimHost& h) { return NewVariant(h, 5, K::Double, DoubleBits(150.5)); }, VT_I4, 151, false},
    {"Integer to VT_R4", VT_R4, [](SimHost& h) { return NewVariant(h, 3, K::Integer, 3); }, VT_R4, SingleBits(3.0f), false},
    {"UInt64 to VT_R8", VT_R8, [](SimHost&) { return NewUInt64Variant(1u << 20); }, VT_R8, DoubleBits(1048576.0), false},
    {"Int32 to VT_I8", VT_I8, [](SimHost& h) { return NewVariant(h, 2, K::Int32, -7); }, VT_I8, -7, false},
    {"Integer above VT_UI1", VT_UI1, [](SimHost& h) { return NewVariant(h, 3, K::Integer, 256); }, VT_UI1, 9, true},
    {"Integer below VT_I4", VT_I4, [](SimHost& h) { return NewVariant(h, 3, K::Integer, -0x80000001LL); }, VT_I4, 9, true},
    {"negative Int32 to VT_UI4", VT_UI4, [](SimHost& h) { return NewVariant(h, 2, K::Int32, -1); }, VT_UI4, 9, true},
    {"UInt64 max to VT_UI4", VT_UI4, [](SimHost&) { return NewUInt64Variant(UINT64_MAX); }, VT_UI4, 9, true},
    {"Double beyond VT_R4", VT_R4, [](SimHost& h) { return NewVariant(h, 5, K::Double, DoubleBits(1e300)); }, VT_R4, SingleBits(9.0f), true},
    {"String to VT_I4", VT_I4, [](SimHost& h) { return NewStringVariant(h, 8, "300"); }, VT_BSTR, 0, false},
    {"Boolean to VT_I4", VT_I4, [](SimHost& h) { return NewVariant(h, 11, K::Boolean, 1); }, VT_BOOL, 1, false},
    {"Integer to VT_BSTR", VT_BSTR, [](SimHost& h) { return NewVariant(h, 3, K::Integer, 5); }, VT_I8, 5, false},
};
// clang-format on

TEST_P(PropertyValues, NumbersGoInTheTypeTheDeviceHoldsThePropertyIn) {
    for (PROPID id = 6000; id < 6000 + std::size(kTyped); ++id) {
        const TypedRow& row = kTyped[id - 6000];
        SCOPED_TRACE(row.label);
        PROPVARIANT before{};
        before.vt = row.device;
        before.hVal.QuadPart = 9;  // 9 in every integer member
        if (row.device == VT_R4) before.fltVal = 9.0f;
        if (row.device == VT_BSTR) before.bstrVal = SysAllocString(L"device");
        simwia::SetStoredValue(kTable, id, before);
        PropVariantClear(&before);
        ObjectRef variant(host(), row.make(host()));
        log().Clear();
        host().Call<void>(storage_, "Write", int64_t{id}, variant.get());
        EXPECT_EQ(host().GetInt(storage_, "Lasterror"), row.overflow ? static_cast<int32_t>(DISP_E_OVERFLOW) : 0);
        EXPECT_EQ(simwia::CallCount("IWiaPropertyStorage::WriteMultiple"), row.overflow ? 0 : 1) << "nothing written on overflow";
        const PROPVARIANT got = simwia::StoredValue(kTable, id).get();
        EXPECT_EQ(got.vt, row.vt);
        int64_t bits = 0;
        std::memcpy(&bits, &got.hVal, row.vt == VT_I8 || row.vt == VT_R8 ? 8 : row.vt == VT_UI2 || row.vt == VT_BOOL ? 2 : 4);
        EXPECT_TRUE(row.vt == VT_BSTR || bits == row.member) << bits;
        const bool converted = row.vt == row.device && !row.overflow;
        EXPECT_EQ(log().Contains("ZVK Debug: device vt " + std::to_string(row.device)), converted || row.overflow) << log().Dump();
        simwia::ResetCounts();
    }
}

// A variant as "<maker's kind> <bits>" (and " <bytes> <encoding>" of a string), a GUID object as its text.
std::string Describe(SimHost& host, REALobject variant) {
    if (variant == nullptr) return "nil";
    if (!IsVariant(host, variant))
        return host.ClassName(variant) + " " + host.Bytes(StringRef(host, host.Call<REALstring>(variant, "DisplayString")));
    VariantContents v = ReadVariant(host, variant);
    char encoding[16];
    std::snprintf(encoding, sizeof encoding, " %04X", v.encoding);
    return std::string(KindName(v.kind)) + " " + std::to_string(v.bits) + (v.hasString ? " " + v.text + encoding : "");
}

// What the device holds, and what the script gets, described ("~": containing the rest).
// clang-format off
struct ReadRow { void (*fill)(PROPVARIANT* value); const char* variant; };
const ReadRow kReads[] = {
    {[](PROPVARIANT*) {}, "nil"},
    {[](PROPVARIANT* v) { v->vt = VT_NULL; }, "nil"},
    {[](PROPVARIANT* v) { v->vt = VT_I2, v->iVal = -2; }, "Integer -2"},
    {[](PROPVARIANT* v) { v->vt = VT_I4, v->lVal = -70000; }, "Integer -70000"},
    {[](PROPVARIANT* v) { v->vt = VT_R4, v->fltVal = 1.5f; }, "Single 1069547520"},  // 1.5f
    {[](PROPVARIANT* v) { v->vt = VT_R8, v->dblVal = -2.75; }, "Double -4609997168567123968"},  // -2.75
    {[](PROPVARIANT* v) { v->vt = VT_BSTR, v->bstrVal = SysAllocStringLen(L"ab\0cd", 5); }, "String 0 ab 8000100"},  // cut at the zero
    {[](PROPVARIANT* v) { v->vt = VT_BSTR, v->bstrVal = SysAllocString(L"\u00E9\u20AC"); }, "String 0 \xC3\xA9\xE2\x82\xAC 8000100"},
    {[](PROPVARIANT* v) { v->vt = VT_BSTR, v->bstrVal = SysAllocString(L""); }, "String 0"},
    {[](PROPVARIANT* v) { v->vt = VT_BOOL, v->boolVal = VARIANT_TRUE; }, "Boolean 1"},
    {[](PROPVARIANT* v) { v->vt = VT_BOOL, v->boolVal = 2; }, "Boolean 1"},
    {[](PROPVARIANT* v) { v->vt = VT_BOOL, v->boolVal = VARIANT_FALSE; }, "Boolean 0"},
    {[](PROPVARIANT* v) { v->vt = VT_I1, v->cVal = -128; }, "Integer -128"},
    {[](PROPVARIANT* v) { v->vt = VT_UI1, v->bVal = 200; }, "Integer 200"},
    {[](PROPVARIANT* v) { v->vt = VT_UI2, v->uiVal = 65535; }, "Integer 65535"},
    {[](PROPVARIANT* v) { v->vt = VT_UI4, v->ulVal = 0xFFFFFFFF; }, "UInt32 4294967295"},
    {[](PROPVARIANT* v) { v->vt = VT_I8, v->hVal.QuadPart = INT64_MIN; }, "Int64 -9223372036854775808"},
    {[](PROPVARIANT* v) { v->vt = VT_UI8, v->uhVal.QuadPart = UINT64_MAX; }, "UInt64 -1"},
    {[](PROPVARIANT* v) { v->vt = VT_INT, v->intVal = -1; }, "Integer -1"},
    {[](PROPVARIANT* v) { v->vt = VT_UINT, v->uintVal = 0x80000000; }, "UInt32 2147483648"},
    {[](PROPVARIANT* v) { v->vt = VT_LPSTR, v->pszVal = const_cast<char*>("\xE9"); }, "String 0 \xE9 0500"},
    {[](PROPVARIANT* v) { v->vt = VT_LPSTR, v->pszVal = const_cast<char*>("abc"); }, "String 0 abc 0600"},
    {[](PROPVARIANT* v) { v->vt = VT_LPWSTR, v->pwszVal = const_cast<wchar_t*>(L"wide"); }, "String 0 wide 8000100"},
    {[](PROPVARIANT* v) { v->vt = VT_CLSID, v->puuid = const_cast<GUID*>(&kJPEG); }, "WIAGUIDZVK {B96B3CAE-0728-11D3-9D7B-0000F81EF32E}"},
    {[](PROPVARIANT* v) { v->vt = VT_CLSID; }, "nil"},
    {[](PROPVARIANT* v) { v->vt = VT_DATE, v->date = 45293.0; }, "~2024"},  // the system's text for the types outside the table
    {[](PROPVARIANT* v) { v->decVal.Lo64 = 1234, v->vt = VT_DECIMAL; }, "~1234"},
};
// clang-format on

TEST_P(PropertyValues, EveryValueTypeReadsBackAsTheVariantAScriptGets) {
    // Wine's PropVariantToBSTR is a stub that ends the process: the types outside the table are read on Windows only.
    for (PROPID id = 5000; id < 5000 + std::size(kReads); ++id) {
        const ReadRow& row = kReads[id - 5000];
        PROPVARIANT value{};
        row.fill(&value);
        SCOPED_TRACE("vt " + std::to_string(value.vt));
        simwia::SetStoredValue(kTable, id, value);  // a copy: only the BSTRs are the row's own
        if (value.vt == VT_BSTR) PropVariantClear(&value);
        if (row.variant[0] == '~' && GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) continue;
        std::string got = Describe(host(), ObjectRef(host(), host().Call<REALobject>(storage_, "Read", int64_t{id})));
        EXPECT_TRUE(row.variant[0] == '~' ? got.find(row.variant + 1) != std::string::npos : got == row.variant) << got;
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, PropertyValues, ::testing::ValuesIn(kSetups),
                         [](const ::testing::TestParamInfo<HostSetup>& setup) { return std::string(setup.param.first); });

}  // namespace
}  // namespace simhost
