// Property values read back as host variants: one row per vt, the makers each type uses, and the
// system's text for the types outside the table.
#include <cstring>
#include <cwchar>

#include "tests/host/SimHostVariants.h"
#include "tests/host/BootedHost.h"

namespace simhost {
namespace {

using zvk::S;
using zvk::Z;

const GUID kJPEG = {0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

enum class Made { Nil, Variant, GUIDObject, SystemText };

struct FromRow {
    const char* label;  // the log label
    void (*fill)(PROPVARIANT* value);
    Made made;
    VariantKind kind;   // the maker that must have made the variant
    int64_t bits;       // its value
    const char* bytes;  // a string value's bytes (null: the variant holds no string)
    uint32_t encoding;  // and their encoding
};

// Wine's PropVariantToBSTR is an unimplemented stub that ends the process.
bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool IsAscii(const char* text) {
    for (; text != nullptr && *text != 0; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x80) return false;
    }
    return true;
}

// Blocks that PropVariantClear frees.
template <typename T>
T* Copy(const T* source, size_t count) {
    auto* block = static_cast<T*>(CoTaskMemAlloc(count * sizeof(T)));
    std::memcpy(block, source, count * sizeof(T));
    return block;
}
char* Copy(const char* text) {
    return Copy(text, std::strlen(text) + 1);
}
wchar_t* Copy(const wchar_t* text) {
    return Copy(text, std::wcslen(text) + 1);
}
GUID* Copy(const GUID& guid) {
    return Copy(&guid, 1);
}

using K = VariantKind;
using PV = PROPVARIANT;

// clang-format off
const FromRow kRows[] = {
    {"VT_EMPTY", [](PV*) {}, Made::Nil, {}, 0, nullptr, 0},
    {"VT_NULL", [](PV* v) { v->vt = VT_NULL; }, Made::Nil, {}, 0, nullptr, 0},
    {"VT_I2", [](PV* v) { v->vt = VT_I2, v->iVal = -2; }, Made::Variant, K::Integer, -2, nullptr, 0},
    {"VT_I4", [](PV* v) { v->vt = VT_I4, v->lVal = -70000; }, Made::Variant, K::Integer, -70000, nullptr, 0},
    {"VT_R4", [](PV* v) { v->vt = VT_R4, v->fltVal = 1.5f; }, Made::Variant, K::Single, SingleBits(1.5f), nullptr, 0},
    {"VT_R8", [](PV* v) { v->vt = VT_R8, v->dblVal = -2.75; }, Made::Variant, K::Double, DoubleBits(-2.75), nullptr, 0},
    {"VT_BSTR", [](PV* v) { v->vt = VT_BSTR, v->bstrVal = SysAllocStringLen(L"ab\0cd", 5); }, Made::Variant, K::String, 0, "ab",
     0x08000100},
    {"VT_BSTR", [](PV* v) { v->vt = VT_BSTR, v->bstrVal = SysAllocString(L"\u00E9\u20AC"); }, Made::Variant, K::String, 0,
     "\xC3\xA9\xE2\x82\xAC", 0x08000100},
    {"VT_BSTR", [](PV* v) { v->vt = VT_BSTR, v->bstrVal = SysAllocString(L""); }, Made::Variant, K::String, 0, nullptr, 0},
    {"VT_BOOL", [](PV* v) { v->vt = VT_BOOL, v->boolVal = VARIANT_TRUE; }, Made::Variant, K::Boolean, 1, nullptr, 0},
    {"VT_BOOL", [](PV* v) { v->vt = VT_BOOL, v->boolVal = 2; }, Made::Variant, K::Boolean, 1, nullptr, 0},
    {"VT_BOOL", [](PV* v) { v->vt = VT_BOOL, v->boolVal = VARIANT_FALSE; }, Made::Variant, K::Boolean, 0, nullptr, 0},
    {"VT_I1", [](PV* v) { v->vt = VT_I1, v->cVal = -128; }, Made::Variant, K::Integer, -128, nullptr, 0},
    {"VT_UI1", [](PV* v) { v->vt = VT_UI1, v->bVal = 200; }, Made::Variant, K::Integer, 200, nullptr, 0},
    {"VT_UI2", [](PV* v) { v->vt = VT_UI2, v->uiVal = 65535; }, Made::Variant, K::Integer, 65535, nullptr, 0},
    {"VT_UI4", [](PV* v) { v->vt = VT_UI4, v->ulVal = 0xFFFFFFFF; }, Made::Variant, K::UInt32, 0xFFFFFFFF, nullptr, 0},
    {"VT_I8", [](PV* v) { v->vt = VT_I8, v->hVal.QuadPart = INT64_MIN; }, Made::Variant, K::Int64, INT64_MIN, nullptr, 0},
    {"VT_UI8", [](PV* v) { v->vt = VT_UI8, v->uhVal.QuadPart = UINT64_MAX; }, Made::Variant, K::UInt64, -1, nullptr, 0},
    {"VT_INT", [](PV* v) { v->vt = VT_INT, v->intVal = -1; }, Made::Variant, K::Integer, -1, nullptr, 0},
    {"VT_UINT", [](PV* v) { v->vt = VT_UINT, v->uintVal = 0x80000000; }, Made::Variant, K::UInt32, 0x80000000, nullptr, 0},
    {"VT_LPSTR", [](PV* v) { v->vt = VT_LPSTR, v->pszVal = Copy("\xE9"); }, Made::Variant, K::String, 0, "\xE9", 0x0500},
    {"VT_LPSTR", [](PV* v) { v->vt = VT_LPSTR, v->pszVal = Copy("abc"); }, Made::Variant, K::String, 0, "abc", 0x0600},
    {"VT_LPWSTR", [](PV* v) { v->vt = VT_LPWSTR, v->pwszVal = Copy(L"wide"); }, Made::Variant, K::String, 0, "wide", 0x08000100},
    {"VT_CLSID", [](PV* v) { v->vt = VT_CLSID, v->puuid = Copy(kJPEG); }, Made::GUIDObject, {}, 0, nullptr, 0},
    {"VT_CLSID", [](PV* v) { v->vt = VT_CLSID; }, Made::Nil, {}, 0, nullptr, 0},
    {"VT_DATE", [](PV* v) { v->vt = VT_DATE, v->date = 45293.0; }, Made::SystemText, {}, 0, "2024", 0},
    {"VT_DECIMAL", [](PV* v) { v->decVal.Lo64 = 1234, v->vt = VT_DECIMAL; }, Made::SystemText, {}, 0, "1234", 0},
};
// clang-format on

class PropertyValueToVariant : public zvk::BootedHostTest {
protected:
    // Checks one row's variant and gives it back.
    void CheckAndRelease(const FromRow& row, REALobject variant) {
        switch (row.made) {
            case Made::Nil:
                EXPECT_EQ(variant, nullptr);
                return;
            case Made::GUIDObject: {
                ASSERT_NE(variant, nullptr);
                EXPECT_EQ(sim().ClassName(variant), "WIAGUIDZVK");
                EXPECT_EQ(std::memcmp(sim().Data(variant), &kJPEG, sizeof kJPEG), 0);
                break;
            }
            case Made::Variant: {
                ASSERT_TRUE(IsVariant(sim(), variant));
                VariantContents contents = ReadVariant(sim(), variant);
                EXPECT_STREQ(KindName(contents.kind), KindName(row.kind)) << "made by the wrong maker";
                EXPECT_EQ(contents.bits, row.bits);
                EXPECT_EQ(contents.hasString, row.bytes != nullptr) << contents.text;
                if (row.bytes != nullptr) {
                    EXPECT_EQ(contents.text, row.bytes);
                    EXPECT_EQ(contents.encoding, row.encoding);
                }
                break;
            }
            case Made::SystemText: {
                ASSERT_TRUE(IsVariant(sim(), variant));
                VariantContents contents = ReadVariant(sim(), variant);
                EXPECT_EQ(contents.kind, VariantKind::String);
                EXPECT_NE(contents.text.find(row.bytes), std::string::npos) << contents.text;
                break;
            }
        }
        sim().Unlock(variant);
    }
};

TEST_F(PropertyValueToVariant, EveryVt) {
    for (const FromRow& row : kRows) {
        PROPVARIANT value;
        PropVariantInit(&value);
        row.fill(&value);
        SCOPED_TRACE(std::string(row.label) + " vt " + std::to_string(value.vt));
        if (row.made == Made::SystemText && UnderWine()) {
            PropVariantClear(&value);
            continue;  // reported by SystemTextOfOtherTypes
        }
        for (bool logging : {false, true}) {
            zvk::DebugLoggingEnabled = logging;
            log().Clear();
            PROPVARIANT before = value;
            CheckAndRelease(row, S(zvk::PROPVARIANT2Variant(&value)));
            EXPECT_EQ(std::memcmp(&before, &value, sizeof value), 0) << "the value is left as it was";
            if (!logging) {
                EXPECT_TRUE(log().Lines().empty()) << log().Dump();
                continue;
            }
            ASSERT_FALSE(log().Lines().empty());
            EXPECT_EQ(log().Lines().front(), "ZVK Debug: PROPVARIANT2Variant " + std::to_string(value.vt));
            if (row.made == Made::SystemText) {
                EXPECT_TRUE(log().Contains("ZVK Debug: unsupported type, so convert to string. " + std::to_string(value.vt)));
                EXPECT_TRUE(log().Contains("ZVK Debug: PropVariantToBSTR 0")) << log().Dump();
            } else if (value.vt != VT_BSTR) {
                EXPECT_TRUE(log().Contains(std::string("ZVK Debug: ") + row.label)) << log().Dump();
            } else if (IsAscii(row.bytes)) {  // the log's %ls writes only what the C locale can
                EXPECT_TRUE(log().Contains("ZVK Debug: VT_BSTR " + std::string(row.bytes ? row.bytes : ""))) << log().Dump();
            }
        }
        EXPECT_EQ(PropVariantClear(&value), S_OK);
    }
}

}  // namespace
}  // namespace simhost
