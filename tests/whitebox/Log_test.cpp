// The log operations: exact lines, the 4095-character cut, and the system message lookup.
#include <functional>
#include <string>

#include "tests/host/BootedHost.h"
#include "tests/host/ImportHook.h"

namespace zvk {
namespace {

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

std::string SystemText(DWORD code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
                                  reinterpret_cast<char*>(&text), 1024, nullptr);
    std::string result(text != nullptr ? text : "", length);
    LocalFree(text);
    return result;
}

TEST_F(LogLines, SystemMessagesAreLookedUpOnlyWhileLoggingIsOn) {
    const std::string text = SystemText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    const auto unknown = static_cast<int32_t>(0xA0DEFEEDu);
    ASSERT_EQ(SystemText(static_cast<DWORD>(unknown)), "");
    simhost::FormatMessageHook formatMessage(GetModuleHandleA(nullptr));

    DebugLogSystemMessage(ERROR_ACCESS_DENIED);
    EXPECT_EQ(formatMessage.calls(), 0) << "looked up while logging is off";
    EnableLogging();
    DebugLogSystemMessage(ERROR_ACCESS_DENIED);
    DebugLogSystemMessage(unknown);
    EXPECT_EQ(formatMessage.calls(), 2);
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: " + text});
}

}  // namespace
}  // namespace zvk
