// What no script reaches: standard-library exceptions as host exceptions (the class and message each one gets, and the
// fallback class; the range message a script meets is checked on WIAGUIDZVK.Byte), the log operations' exact lines and
// the 4095-character cut, and host-string building that no caller asks for (the UTF-32 builder of older hosts, codes
// outside the table, the guard around a host entry that throws a C++ exception).
#include <any>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "plugin/Globals.h"
#include "support/Errors.h"
#include "support/HostString.h"
#include "tests/host/BootedHost.h"
#include "tests/host/ImportHook.h"

namespace zvk {
namespace {

class Exceptions : public BootedHostTest {};

struct QuietRangeError : std::range_error {
    QuietRangeError() : std::range_error("") {}
};

TEST_F(Exceptions, StandardExceptionsMapToHostClassesInTableOrder) {
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[] { throw std::bad_alloc(); }, "OutOfMemoryException: Failed to allocate memory: std::bad_alloc"},
        {[] { throw std::bad_array_new_length(); }, "OutOfMemoryException: Failed to allocate memory: std::bad_array_new_length"},
        {[] { throw std::range_error("r"); }, "OutOfBoundsException: C++ reports range error: r"},
        {[] { throw QuietRangeError(); }, "OutOfBoundsException: C++ reports range error."},
        {[] { throw std::out_of_range("at"); }, "OutOfBoundsException: C++ reports range error: at"},
        {[] { throw std::overflow_error("o"); }, "OutOfBoundsException: C++ reports overflow error: o"},
        {[] { throw std::underflow_error(""); }, "OutOfBoundsException: C++ reports underflow error."},
        {[] { throw std::bad_cast(); }, "IllegalCastException: C++ Illegal Cast Exception: std::bad_cast"},
        {[] { (void)std::any_cast<int>(std::any()); }, "IllegalCastException: C++ Illegal Cast Exception: bad any_cast"},
        {[] { throw std::length_error("too long"); }, "RuntimeException: C++ Exception: too long"},
        {[] { throw std::logic_error(""); }, "RuntimeException: C++ Exception."},
    };
    for (const auto& row : rows) {
        try {
            row.first();
        } catch (const std::exception& error) {
            TranslateCppException(error);
        }
        EXPECT_EQ(TakeRaised(), row.second);
    }
    Withhold("OutOfMemoryException");
    TranslateCppException(std::bad_alloc());
    EXPECT_EQ(TakeRaised(), "RuntimeException: Failed to allocate memory: std::bad_alloc");
}

class LogLines : public BootedHostTest {};

TEST_F(LogLines, EachOperationWritesOneExactLine) {
    const void* pointer = reinterpret_cast<const void*>(uintptr_t{0x12AB34CD});
    char pointerText[32];
    std::snprintf(pointerText, sizeof pointerText, "%p", pointer);
    const std::string longValue(5000, 'x');
    const std::pair<std::function<void()>, std::string> rows[] = {
        {[] { DebugLog("rbCreateDevice"); }, "rbCreateDevice"},
        {[] { DebugLogText("file", "is nil"); }, "file is nil"},
        {[] { DebugLogText("format", "%s %d"); }, "format %s %d"},
        {[] { DebugLogInt("count", -7); }, "count -7"},
        {[] { DebugLogUInt("code", 0xFFFFFFFFu); }, "code 4294967295"},
        {[] { DebugLogLong("handle1->CreateDevice", static_cast<int32_t>(0x80070057)); }, "handle1->CreateDevice -2147024809"},
        {[] { DebugLogULong("flags", 0x80000000u); }, "flags 2147483648"},
        {[] { DebugLogDouble("ratio", 1.5); }, "ratio 1.500000"},
        {[&] { DebugLogPointer("root", pointer); }, std::string("root ") + pointerText},
        {[] { DebugLogWide("device", L"{6BDD1FC6}\\0001"); }, "device {6BDD1FC6}\\0001"},
        {[] { DebugLogInt64("window", INT64_MIN); }, "window -9223372036854775808"},
        {[] { DebugLogUInt64("size", UINT64_MAX); }, "size 18446744073709551615"},
        {[&] { DebugLogText("long", longValue.c_str()); }, ("long " + longValue).substr(0, 4095 - 11)},
    };
    for (const auto& row : rows) {
        log().Clear();
        row.first();
        EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: " + row.second});
    }
}

class UnreachedBuilding : public BootedHostTest {
protected:
    std::string Take(REALstring text) { return sim().Take(S(text)); }
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
