// Building host strings on hosts old and new: encodings, counts, the UTF-32 fallback and the guard.
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "plugin/Globals.h"
#include "support/HostString.h"
#include "tests/host/BootedHost.h"
#include "tests/host/ImportHook.h"

namespace zvk {
namespace {

namespace enc = encoding;

// Every encoding the host is asked to give a new string, by either way of building.
std::vector<uint32_t> gDeclared;
void* gBuild;
void* gSetEncoding;
int gThrowsLeft;  // the build throws this many times before it works

template <typename E>
simhost::REALstring Build(const char* bytes, int32_t count, uint32_t code) {
    if (gThrowsLeft-- > 0) throw E();
    gDeclared.push_back(code);
    return reinterpret_cast<simhost::REALstring (*)(const char*, int32_t, uint32_t)>(gBuild)(bytes, count, code);
}

void SetEncoding(simhost::REALstring text, uint32_t code) {
    gDeclared.push_back(code);
    reinterpret_cast<void (*)(simhost::REALstring, uint32_t)>(gSetEncoding)(text, code);
}

class Builders : public BootedHostTest, public ::testing::WithParamInterface<double> {
protected:
    simhost::Options HostOptions() override {
        simhost::Options options;
        options.version = GetParam();
        // Each host offers only its own way of building, so that the other way would give nil.
        if (GetParam() < 2012.0)
            options.withheld = {"REALBuildStringWithEncoding"};
        else
            options.withheld = {"REALBuildString", "REALSetStringEncoding"};
        return options;
    }
    void SetUp() override {
        BootedHostTest::SetUp();
        gDeclared.clear();
        gThrowsLeft = 0;
        gBuild = std::exchange(sim().entries["REALBuildStringWithEncoding"], (void*)Build<std::bad_alloc>);
        gSetEncoding = std::exchange(sim().entries["REALSetStringEncoding"], (void*)SetEncoding);
    }
    // "bytes" as 0xcode, or nil; the string is released.
    std::string Take(REALstring text) {
        if (text == nullptr) return "nil";
        char code[16];
        std::snprintf(code, sizeof code, " as 0x%X", sim().Encoding(S(text)));
        std::string result = sim().Bytes(S(text)) + code;
        Release(text);
        return result;
    }
};

struct BuildRow {
    std::string bytes;
    uint32_t encoding;
    std::string built;
};

const BuildRow kBuildRows[] = {
    {"h\xC3\xA9", enc::kUTF8, "h\xC3\xA9 as 0x8000100"},
    {"abc", enc::kASCII, "abc as 0x600"},
    {"abc", enc::kUnknown, "abc as 0x600"},
    {"\xE9", enc::kUnknown, "\xE9 as 0xFFFF"},
    {"a", enc::kWindowsLatin1, "a as 0x600"},
    {"\x80", enc::kWindowsLatin1, "\x80 as 0x500"},
    {"z", enc::kISOLatin1, "z as 0x600"},
    {"\x8E", enc::kMacRoman, "\x8E as 0x0"},
    {std::string("h\0\xE9\0", 4), enc::kUTF16, "h\xC3\xA9 as 0x8000100"},
    {std::string("\0\xF6\1\0", 4), enc::kUTF32, "\xF0\x9F\x98\x80 as 0x8000100"},
    {std::string("A\0\0\0B", 5), enc::kUTF32, "A as 0x8000100"},
    {"ab", 0x1234, "ab as 0x1234"},
    {std::string("\0h", 2), enc::kUTF16BE, std::string("\0h as 0x10000100", 16)},
};

TEST_P(Builders, BuildsEachEncodingTheWayItsHostCan) {
    EnableLogging();
    for (const BuildRow& row : kBuildRows) {
        log().Clear();
        gDeclared.clear();
        const std::string label = row.built;
        EXPECT_EQ(Take(REALBuildUnicodeString(row.bytes.data(), static_cast<int64_t>(row.bytes.size()), row.encoding)),
                  row.built);
        // Wide input is declared UTF-16 (UTF-32 only to a host that converts it) and converted by the host.
        uint32_t declared = row.encoding == enc::kUTF16 || row.encoding == enc::kUTF32 ? enc::kUTF16 : row.encoding;
        if (row.encoding == enc::kUTF32 && GetParam() >= 2013.0) declared = enc::kUTF32;
        if (row.built.find(" as 0x600") != std::string::npos) declared = enc::kASCII;
        EXPECT_EQ(gDeclared, std::vector<uint32_t>{declared}) << label;
        const bool unknown = row.encoding == 0x1234 || row.encoding == enc::kUTF16BE;
        EXPECT_EQ(log().Lines(), unknown ? std::vector<std::string>{"ZVK Debug: Unknown encoding in REALBuildUnicodeString " +
                                                                    std::to_string(row.encoding)}
                                         : std::vector<std::string>{})
            << label;
    }
}

std::string HostName(const ::testing::TestParamInfo<double>& info) {
    return "Host" + std::to_string(static_cast<int>(info.param * 100 + 0.5));
}

INSTANTIATE_TEST_SUITE_P(Hosts, Builders, ::testing::Values(2011.0, 2012.5, 2021.03), HostName);

class OldHost : public BootedHostTest {
protected:
    simhost::Options HostOptions() override { return simhost::Options{2012.5, true, {}}; }
};

TEST_F(OldHost, Utf32NeedsAHeapBlockFrom200CodePointsAndUtf16AHostString) {
    EnableLogging();
    for (size_t codePoints : {size_t{199}, size_t{200}}) {
        std::vector<uint32_t> text(codePoints, 0x1F600);
        simhost::GlobalAllocHook alloc(GetModuleHandleA(nullptr));
        REALstring built = REALBuildUnicodeStringUTF32(text.data(), static_cast<int64_t>(codePoints * 4));
        EXPECT_EQ(alloc.calls(), codePoints < 200 ? 0 : 1) << codePoints << " code points";
        EXPECT_EQ(sim().Bytes(S(built)).size(), codePoints * 4);
        Release(built);
    }
    {
        simhost::GlobalAllocHook failing(GetModuleHandleA(nullptr), [](size_t, int) { return true; });
        EXPECT_EQ(REALBuildUnicodeStringUTF32(std::vector<uint32_t>(300, 'a').data(), 1200), nullptr);
    }
    HostVersion = 2011.0;
    Withhold("REALBuildString");
    EXPECT_EQ(WString2RB(L"x"), nullptr);
    EXPECT_EQ(log().Lines(), (std::vector<std::string>{"ZVK Debug: Out of memory in REALBuildUnicodeStringUTF32.",
                                                       "ZVK Debug: Out of memory in REALBuildUnicodeStringUTF16."}));
}

class GuardedBuilding : public BootedHostTest {};

TEST_F(GuardedBuilding, CppExceptionsBecomeHostExceptionsAndNil) {
    gBuild = sim().entries["REALBuildStringWithEncoding"];
    EnableLogging();
    const std::pair<void*, const char*> rows[] = {
        {(void*)Build<std::bad_alloc>, "OutOfMemoryException: Failed to allocate memory: std::bad_alloc"},
        {(void*)Build<int>, "RuntimeException: Sorry, but there was an unnamed C++ Exception."},
    };
    for (const auto& row : rows) {
        sim().entries["REALBuildStringWithEncoding"] = row.first;
        host::ResetEntryCache();
        gThrowsLeft = 1;
        EXPECT_EQ(CString2RB("abc", enc::kUTF8), nullptr);
        EXPECT_EQ(TakeRaised(), row.second);
    }
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: Unnamed C++ Exception."});
    // When the message cannot be built either, the exception still goes out once, without it.
    gThrowsLeft = 1000;
    EXPECT_EQ(CString2RB("abc", enc::kUTF8), nullptr);
    EXPECT_EQ(TakeRaised(), "RuntimeException: ");
}

}  // namespace
}  // namespace zvk
