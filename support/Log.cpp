#include "support/Log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace zvk {

bool DebugLoggingEnabled = false;

void DebugWrite(const char* format, ...) {
    char line[kLogLineSize];
    std::memset(line, 0, sizeof line);
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    OutputDebugStringA(line);
}

void DebugLog(const char* label) {
    DebugWrite("%s%s", kLogPrefix, label);
}

void DebugLogText(const char* label, const char* value) {
    DebugWrite("%s%s %s", kLogPrefix, label, value);
}

void DebugLogInt(const char* label, int32_t value) {
    DebugWrite("%s%s %d", kLogPrefix, label, value);
}

void DebugLogUInt(const char* label, uint32_t value) {
    DebugWrite("%s%s %u", kLogPrefix, label, value);
}

void DebugLogLong(const char* label, int32_t value) {
    DebugWrite("%s%s %ld", kLogPrefix, label, static_cast<long>(value));
}

void DebugLogULong(const char* label, uint32_t value) {
    DebugWrite("%s%s %lu", kLogPrefix, label, static_cast<unsigned long>(value));
}

void DebugLogDouble(const char* label, double value) {
    DebugWrite("%s%s %f", kLogPrefix, label, value);
}

void DebugLogPointer(const char* label, const void* value) {
    DebugWrite("%s%s %p", kLogPrefix, label, value);
}

void DebugLogWide(const char* label, const wchar_t* value) {
    DebugWrite("%s%s %ls", kLogPrefix, label, value);
}

void DebugLogInt64(const char* label, int64_t value) {
    DebugWrite("%s%s %lld", kLogPrefix, label, static_cast<long long>(value));
}

void DebugLogUInt64(const char* label, uint64_t value) {
    DebugWrite("%s%s %llu", kLogPrefix, label, static_cast<unsigned long long>(value));
}

void DebugLogSystemMessage(int32_t code) {
    if (!DebugLoggingEnabled) return;
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, static_cast<DWORD>(code),
                                  0, reinterpret_cast<char*>(&text), 1024, nullptr);
    if (text == nullptr) return;
    if (length != 0) DebugLog(text);
    LocalFree(text);
}

RBBoolean DebuggingGetter() {
    return DebugLoggingEnabled ? 1 : 0;
}

void DebuggingSetter(RBBoolean value) {
    DebugLoggingEnabled = (value & 0xFF) != 0;
    if (DebugLoggingEnabled) DebugLog("ZVK debug logging enabled.");
}

}  // namespace zvk
