// Building host strings on hosts old and new: encodings, counts, the UTF-32 fallback and the guard.
#include <new>
#include <string>
#include <vector>

#include "plugin/Globals.h"
#include "support/Errors.h"
#include "support/HostString.h"
#include "tests/host/ImportHook.h"
#include "tests/whitebox/BootedHost.h"

namespace zvk {
namespace {

namespace enc = encoding;

// The encodings the host was asked to give new strings, through either way of building.
std::vector<uint32_t> gDeclared;
void* gBuildWithEncoding;
void* gSetEncoding;

simhost::REALstring RecordingBuild(const char* bytes, int32_t count, uint32_t code) {
    gDeclared.push_back(code);
    return reinterpret_cast<simhost::REALstring (*)(const char*, int32_t, uint32_t)>(gBuildWithEncoding)(bytes, count, code);
}

void RecordingSetEncoding(simhost::REALstring text, uint32_t code) {
    gDeclared.push_back(code);
    reinterpret_cast<void (*)(simhost::REALstring, uint32_t)>(gSetEncoding)(text, code);
}

class Builders : public BootedHostTest, public ::testing::WithParamInterface<double> {
protected:
    simhost::Options HostOptions() override {
        simhost::Options options;
        options.version = GetParam();
        // Each host offers only its own way of building, so that the other way shows as nil.
        if (GetParam() < 2012.0)
            options.withheld = {"REALBuildStringWithEncoding"};
        else
            options.withheld = {"REALBuildString", "REALSetStringEncoding"};
        return options;
    }
    void SetUp() override {
        BootedHostTest::SetUp();
        gDeclared.clear();
        gBuildWithEncoding = std::exchange(sim().entries["REALBuildStringWithEncoding"], (void*)RecordingBuild);
        gSetEncoding = std::exchange(sim().entries["REALSetStringEncoding"], (void*)RecordingSetEncoding);
    }
    // "bytes" as "encoding", or "nil"; the string is released.
    std::string Take(REALstring text) {
        if (text == nullptr) return "nil";
        char code[16];
        std::snprintf(code, sizeof code, "0x%X", sim().Encoding(S(text)));
        std::string result = "\"" + sim().Bytes(S(text)) + "\" as " + code;
        Release(text);
        return result;
    }
};

struct BuildRow {
    const char* label;
    std::string bytes;
    uint32_t encoding;
    std::string built;
    uint32_t builtEncoding;
    const char* logged;  // the one log line expected, or null
};

const BuildRow kBuildRows[] = {
    {"UTF-8 kept", "h\xC3\xA9", enc::kUTF8, "h\xC3\xA9", enc::kUTF8, nullptr},
    {"ASCII kept", "abc", enc::kASCII, "abc", enc::kASCII, nullptr},
    {"raw ASCII bytes marked ASCII", "abc", enc::kUnknown, "abc", enc::kASCII, nullptr},
    {"raw high bytes stay undeclared", "\xE9", enc::kUnknown, "\xE9", enc::kUnknown, nullptr},
    {"Windows Latin-1 ASCII", "a", enc::kWindowsLatin1, "a", enc::kASCII, nullptr},
    {"Windows Latin-1 euro", "\x80", enc::kWindowsLatin1, "\x80", enc::kWindowsLatin1, nullptr},
    {"ISO Latin-1 ASCII", "z", enc::kISOLatin1, "z", enc::kASCII, nullptr},
    {"Mac Roman high byte", "\x8E", enc::kMacRoman, "\x8E", enc::kMacRoman, nullptr},
    {"UTF-16 to UTF-8", std::string("h\0\xE9\0", 4), enc::kUTF16, "h\xC3\xA9", enc::kUTF8, nullptr},
    {"UTF-32 to UTF-8", std::string("\x00\xF6\x01\x00", 4), enc::kUTF32, "\xF0\x9F\x98\x80", enc::kUTF8, nullptr},
    {"UTF-32 remainder ignored", std::string("A\0\0\0B", 5), enc::kUTF32, "A", enc::kUTF8, nullptr},
    {"unknown code kept", "ab", 0x1234, "ab", 0x1234, "ZVK Debug: Unknown encoding in REALBuildUnicodeString 4660"},
    {"UTF-16BE is not built by code", std::string("\0h", 2), enc::kUTF16BE, std::string("\0h", 2), enc::kUTF16BE,
     "ZVK Debug: Unknown encoding in REALBuildUnicodeString 268435712"},
};

TEST_P(Builders, BuildsEachEncodingTheWayItsHostCan) {
    EnableLogging();
    for (const BuildRow& row : kBuildRows) {
        log().Clear();
        gDeclared.clear();
        REALstring text = REALBuildUnicodeString(row.bytes.data(), static_cast<int64_t>(row.bytes.size()), row.encoding);
        ASSERT_NE(text, nullptr) << row.label;
        EXPECT_EQ(sim().Bytes(S(text)), row.built) << row.label;
        EXPECT_EQ(sim().Encoding(S(text)), row.builtEncoding) << row.label;
        Release(text);
        std::vector<std::string> expectedLog;
        if (row.logged != nullptr) expectedLog.push_back(row.logged);
        EXPECT_EQ(log().Lines(), expectedLog) << row.label;
        // Wide input is declared UTF-16 (UTF-32 only to a host that converts it) and converted by the host.
        uint32_t declared = row.builtEncoding;
        if (row.encoding == enc::kUTF16) declared = enc::kUTF16;
        if (row.encoding == enc::kUTF32) declared = GetParam() >= 2013.0 ? enc::kUTF32 : enc::kUTF16;
        EXPECT_EQ(gDeclared, std::vector<uint32_t>{declared}) << row.label;
    }
}

TEST_P(Builders, EmptyNullAndOversizedInputGiveNil) {
    EnableLogging();
    EXPECT_EQ(Take(REALBuildUnicodeString("abc", 0, enc::kUTF8)), "nil");
    EXPECT_EQ(Take(REALBuildUnicodeString(nullptr, 3, enc::kUTF8)), "nil");
    EXPECT_EQ(Take(REALBuildUnicodeString("abc", -1, enc::kUTF8)), "nil");
    EXPECT_TRUE(log().Lines().empty()) << log().Dump();
    EXPECT_EQ(Take(REALBuildUnicodeString("abc", int64_t{INT32_MAX} + 1, enc::kUTF8)), "nil");
    EXPECT_EQ(Take(REALBuildUnicodeString("abc", INT64_MAX, enc::kUnknown)), "nil");
    EXPECT_EQ(log().Count("ZVK Debug: Count too big for REALBuildUnicodeString."), 2u) << log().Dump();
    EXPECT_TRUE(gDeclared.empty());
}

TEST_P(Builders, TextBuildersCountUpToTheTerminator) {
    EnableLogging();
    EXPECT_EQ(Take(CString2RB(nullptr, enc::kASCII)), "nil");
    EXPECT_EQ(Take(CString2RB("", enc::kUTF8)), "nil");
    EXPECT_EQ(Take(CString2RB("caf\xE9", enc::kWindowsLatin1)), "\"caf\xE9\" as 0x500");
    EXPECT_TRUE(log().Lines().empty()) << log().Dump();
    EXPECT_EQ(Take(CString2RB("caf\xC3\xA9", enc::kASCII)), "\"caf\xC3\xA9\" as 0x600");
    EXPECT_EQ(Take(CString2RB("ab", enc::kUTF16)), "\"\xE6\x89\xA1\" as 0x8000100");
    Release(CString2RB("abcd", enc::kUTF32));
    EXPECT_EQ(log().Lines(), (std::vector<std::string>{"ZVK Debug: Error: text is not ascii caf\xC3\xA9",
                                                       "ZVK Debug: Error: kREALTextEncodingUTF16 not useful for CString2RB!",
                                                       "ZVK Debug: Error: kREALTextEncodingUTF32 not useful for CString2RB!"}))
        << log().Dump();

    EXPECT_EQ(Take(WString2RB(nullptr)), "nil");
    EXPECT_EQ(Take(WString2RB(L"")), "nil");
    EXPECT_EQ(Take(WString2RB(L"d\u00E9j\u00E0")), "\"d\xC3\xA9j\xC3\xA0\" as 0x8000100");
    BSTR embedded = SysAllocStringLen(L"ab\0cd", 5);
    EXPECT_EQ(Take(WString2RB(embedded)), "\"ab\" as 0x8000100");
    SysFreeString(embedded);
}

std::string HostName(const ::testing::TestParamInfo<double>& info) {
    return "Host" + std::to_string(static_cast<int>(info.param * 100 + 0.5));
}

INSTANTIATE_TEST_SUITE_P(Hosts, Builders, ::testing::Values(2011.0, 2012.5, 2021.03), HostName);

class OldHostBuilders : public BootedHostTest {
protected:
    simhost::Options HostOptions() override {
        simhost::Options options;
        options.version = 2012.5;
        return options;
    }
};

// Below 200 code points the UTF-32 conversion of hosts before 2013 needs no heap block.
TEST_F(OldHostBuilders, Utf32UsesAHeapBlockFrom200CodePoints) {
    EnableLogging();
    const HMODULE self = GetModuleHandleA(nullptr);
    for (size_t codePoints : {size_t{199}, size_t{200}}) {
        std::vector<uint32_t> text(codePoints, 0x1F600);
        simhost::GlobalAllocHook alloc(self);
        REALstring built = REALBuildUnicodeStringUTF32(text.data(), static_cast<int64_t>(codePoints * 4));
        EXPECT_EQ(alloc.calls(), codePoints < 200 ? 0 : 1) << codePoints << " code points";
        ASSERT_NE(built, nullptr);
        EXPECT_EQ(sim().Bytes(S(built)).size(), codePoints * 4);
        Release(built);
    }
    std::vector<uint32_t> text(300, 'a');
    simhost::GlobalAllocHook failing(self, [](size_t, int) { return true; });
    EXPECT_EQ(REALBuildUnicodeStringUTF32(text.data(), 1200), nullptr);
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: Out of memory in REALBuildUnicodeStringUTF32."});
}

TEST_F(OldHostBuilders, Utf16WithoutAStringFromTheHostIsNil) {
    HostVersion = 2011.0;
    sim().Withhold("REALBuildString");
    EnableLogging();
    EXPECT_EQ(WString2RB(L"x"), nullptr);
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: Out of memory in REALBuildUnicodeStringUTF16."});
}

TEST(UTF32ToUTF16, DropsSurrogatesAndReplacesValuesBeyondUnicode) {
    const uint32_t source[] = {0x41, 0xD800, 0xDFFF, 0xFEFF, 0xFFFE, 0x10000, 0x10FFFF, 0x110000, 0xFFFFFFFF};
    const uint16_t expected[] = {0x41, 0xFEFF, 0xFFFE, 0xD800, 0xDC00, 0xDBFF, 0xDFFF, 0xFFFD, 0xFFFD, 0};
    wchar_t units[2 * std::size(source) + 1];
    ASSERT_EQ(UTF32ToUTF16(source, std::size(source), units), std::size(expected) - 1);
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(static_cast<uint16_t>(units[i]), expected[i]) << "unit " << i;
}

TEST(EncodingFamily, OnlyTheWideCodesAboveUtf8Belong) {
    const std::pair<uint32_t, bool> rows[] = {
        {enc::kUTF32, true},    {enc::kUTF16BE, true}, {enc::kUTF16LE, true}, {enc::kUTF32BE, true},
        {enc::kUTF32LE, true},  {enc::kUTF8, false},   {enc::kUTF16, false},  {enc::kASCII, false},
        {enc::kUnknown, false}, {0x0C000101, false},   {0x20000100, false},   {0x04000100, false},
    };
    for (const auto& row : rows) EXPECT_EQ(enc::IsWideFamily(row.first), row.second) << std::hex << "code 0x" << row.first;
}

// A host whose string building throws: the guard turns it into a host exception and nil.
int gThrowsLeft;
template <typename E>
simhost::REALstring ThrowingBuild(const char* bytes, int32_t count, uint32_t code) {
    if (gThrowsLeft-- > 0) throw E();
    return RecordingBuild(bytes, count, code);
}

class GuardedBuilding : public BootedHostTest {};

TEST_F(GuardedBuilding, CppExceptionsBecomeHostExceptions) {
    gBuildWithEncoding = sim().entries["REALBuildStringWithEncoding"];
    EnableLogging();
    struct Row {
        void* build;
        int throws;
        const char* raised;
        const char* logged;
    };
    const Row rows[] = {
        {(void*)ThrowingBuild<std::bad_alloc>, 1, "OutOfMemoryException: Failed to allocate memory: std::bad_alloc", nullptr},
        {(void*)ThrowingBuild<int>, 1, "RuntimeException: Sorry, but there was an unnamed C++ Exception.",
         "ZVK Debug: Unnamed C++ Exception."},
        // The message cannot be built either: the exception goes out once, without a message.
        {(void*)ThrowingBuild<std::bad_alloc>, 1000, "OutOfMemoryException: ", nullptr},
    };
    for (const Row& row : rows) {
        host::ResetEntryCache();
        sim().entries["REALBuildStringWithEncoding"] = row.build;
        gThrowsLeft = row.throws;
        log().Clear();
        EXPECT_EQ(REALBuildUnicodeString("abc", 3, enc::kUTF8), nullptr) << row.raised;
        ASSERT_EQ(sim().raised.size(), 1u) << row.raised;
        EXPECT_EQ(sim().raised[0].className + ": " + sim().raised[0].message, row.raised);
        sim().raised.clear();
        EXPECT_EQ(log().Lines(), row.logged ? std::vector<std::string>{row.logged} : std::vector<std::string>{}) << log().Dump();
    }
}

}  // namespace
}  // namespace zvk
