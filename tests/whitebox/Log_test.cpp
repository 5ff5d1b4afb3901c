// The log operations: exact lines, the 4095-character cut, and the system message lookup.
#include <windows.h>

#include <functional>
#include <string>

#include "tests/host/ImportHook.h"
#include "tests/whitebox/BootedHost.h"

namespace zvk {
namespace {

std::string PointerText(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

struct LineRow {
    std::function<void()> write;
    std::string line;
};

class LogLines : public BootedHostTest {};

TEST_F(LogLines, EachOperationWritesOneExactLine) {
    const void* pointer = reinterpret_cast<const void*>(uintptr_t{0x12AB34CD});
    const LineRow rows[] = {
        {[] { DebugLog("rbCreateDevice"); }, "ZVK Debug: rbCreateDevice"},
        {[] { DebugLogText("file", "is nil"); }, "ZVK Debug: file is nil"},
        {[] { DebugLogInt("count", -7); }, "ZVK Debug: count -7"},
        {[] { DebugLogUInt("code", 0xFFFFFFFFu); }, "ZVK Debug: code 4294967295"},
        {[] { DebugLogLong("handle1->CreateDevice", static_cast<int32_t>(0x80070057)); },
         "ZVK Debug: handle1->CreateDevice -2147024809"},
        {[] { DebugLogULong("flags", 0x80000000u); }, "ZVK Debug: flags 2147483648"},
        {[] { DebugLogDouble("ratio", 1.5); }, "ZVK Debug: ratio 1.500000"},
        {[&] { DebugLogPointer("root", pointer); }, "ZVK Debug: root " + PointerText(pointer)},
        {[] { DebugLogWide("device", L"{6BDD1FC6-810F}\\0001"); }, "ZVK Debug: device {6BDD1FC6-810F}\\0001"},
        {[] { DebugLogInt64("window", INT64_MIN); }, "ZVK Debug: window -9223372036854775808"},
        {[] { DebugLogUInt64("size", UINT64_MAX); }, "ZVK Debug: size 18446744073709551615"},
        {[] { DebugLogText("percent", "%s %d"); }, "ZVK Debug: percent %s %d"},
    };
    for (const LineRow& row : rows) {
        log().Clear();
        row.write();
        EXPECT_EQ(log().Lines(), std::vector<std::string>{row.line}) << log().Dump();
    }
}

TEST_F(LogLines, LongLinesAreCutAt4095Characters) {
    const std::string value(5000, 'x');
    DebugLogText("label", value.c_str());
    ASSERT_EQ(log().Lines().size(), 1u);
    EXPECT_EQ(log().Lines()[0], ("ZVK Debug: label " + value).substr(0, 4095));
}

class SystemMessage : public BootedHostTest {
protected:
    static std::string SystemText(DWORD code) {
        char* text = nullptr;
        DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
                                      reinterpret_cast<char*>(&text), 1024, nullptr);
        std::string result = length != 0 ? std::string(text, length) : std::string();
        LocalFree(text);
        return result;
    }
};

TEST_F(SystemMessage, WritesTheSystemTextOnlyWhileLoggingIsOn) {
    const DWORD code = ERROR_ACCESS_DENIED;
    const std::string text = SystemText(code);
    ASSERT_FALSE(text.empty()) << "the system has no text for " << code;
    simhost::FormatMessageHook formatMessage(GetModuleHandleA(nullptr));

    DebugLogSystemMessage(static_cast<int32_t>(code));
    EXPECT_EQ(formatMessage.calls(), 0) << "looked up while logging is off";
    EXPECT_TRUE(log().Lines().empty()) << log().Dump();

    EnableLogging();
    DebugLogSystemMessage(static_cast<int32_t>(code));
    EXPECT_EQ(formatMessage.calls(), 1);
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: " + text}) << log().Dump();
}

TEST_F(SystemMessage, CodeWithoutSystemTextWritesNothing) {
    const int32_t code = static_cast<int32_t>(0xA0DEFEEDu);
    ASSERT_TRUE(SystemText(static_cast<DWORD>(code)).empty());
    EnableLogging();
    DebugLogSystemMessage(code);
    EXPECT_TRUE(log().Lines().empty()) << log().Dump();
}

}  // namespace
}  // namespace zvk
