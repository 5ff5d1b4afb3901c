// Host string building that no script reaches: the UTF-32 builder of older hosts (no caller asks for UTF-32),
// codes outside the table, and the guard around a host entry that throws a C++ exception.
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

class UnreachedBuilding : public BootedHostTest {
protected:
    std::string Take(REALstring text) {  // "bytes as 0xcode" or "nil"; the reference is given back
        if (text == nullptr) return "nil";
        char code[16];
        std::snprintf(code, sizeof code, " as 0x%X", sim().Encoding(S(text)));
        std::string shown = sim().Bytes(S(text)) + code;
        Release(text);
        return shown;
    }
};

TEST_F(UnreachedBuilding, Utf32IsDecodedByOldHostsOnTheStackOrInABlock) {
    EnableLogging();
    // clang-format off
    const struct { double version; std::vector<uint32_t> text; int blocks; bool failBlock; std::string built; } rows[] = {
        {2012.5, {'A', 0xD800, 0x110000, 0x1F600}, 0, false, "A\xEF\xBF\xBD\xF0\x9F\x98\x80 as 0x8000100"},  // surrogate dropped
        {2012.5, std::vector<uint32_t>(199, 'z'), 0, false, std::string(199, 'z') + " as 0x8000100"},
        {2012.5, std::vector<uint32_t>(200, 'z'), 1, false, std::string(200, 'z') + " as 0x8000100"},
        {2012.5, std::vector<uint32_t>(200, 'z'), 1, true, "nil"},
        {2013.0, {'A', 0x1F600}, 0, false, "A\xF0\x9F\x98\x80 as 0x8000100"},  // the host converts
    };
    // clang-format on
    for (const auto& row : rows) {
        HostVersion = row.version;
        log().Clear();
        simhost::GlobalAllocHook alloc(GetModuleHandleA(nullptr), [&](size_t, int) { return row.failBlock; });
        EXPECT_EQ(Take(REALBuildUnicodeString(row.text.data(), static_cast<int64_t>(row.text.size() * 4), encoding::kUTF32)),
                  row.built);
        EXPECT_EQ(alloc.calls(), row.blocks) << row.text.size();
        EXPECT_EQ(log().Lines(), row.failBlock
                                     ? std::vector<std::string>{"ZVK Debug: Out of memory in REALBuildUnicodeStringUTF32."}
                                     : std::vector<std::string>{});
    }
    EXPECT_EQ(Take(REALBuildUnicodeString("ab", 2, 0x1234)), "ab as 0x1234");
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: Unknown encoding in REALBuildUnicodeString 4660"});
}

void* gBuild;
int gThrows;  // the build throws this many times before it works
template <typename E>
simhost::REALstring Throwing(const char* bytes, int32_t count, uint32_t code) {
    if (gThrows-- > 0) throw E();
    return reinterpret_cast<simhost::REALstring (*)(const char*, int32_t, uint32_t)>(gBuild)(bytes, count, code);
}

TEST_F(UnreachedBuilding, CppExceptionsOfTheHostBecomeHostExceptionsAndNil) {
    gBuild = sim().entries["REALBuildStringWithEncoding"];
    EnableLogging();
    const std::pair<void*, const char*> rows[] = {
        {(void*)Throwing<std::bad_alloc>, "OutOfMemoryException: Failed to allocate memory: std::bad_alloc"},
        {(void*)Throwing<int>, "RuntimeException: Sorry, but there was an unnamed C++ Exception."},
    };
    for (const auto& row : rows) {
        sim().entries["REALBuildStringWithEncoding"] = row.first;
        host::ResetEntryCache();
        gThrows = 1;
        EXPECT_EQ(CString2RB("abc", encoding::kUTF8), nullptr);
        EXPECT_EQ(TakeRaised(), row.second);
    }
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: Unnamed C++ Exception."});
    gThrows = 1000;  // when the message cannot be built either, the exception still goes out once, without it
    EXPECT_EQ(CString2RB("abc", encoding::kUTF8), nullptr);
    EXPECT_EQ(TakeRaised(), "RuntimeException: ");
    gThrows = 0;
}

}  // namespace
}  // namespace zvk
