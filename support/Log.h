// The diagnostics trace: one line per step, written with OutputDebugStringA while the shared property
// Debugging of WIADeviceManager2ZVK is on. Every call site tests DebugLoggingEnabled first, so that
// nothing is formatted while logging is off; the operations below do not test it themselves
// (DebugLogSystemMessage excepted).
#pragma once

#include <cstdint>

#include "plugin/HostTypes.h"

namespace zvk {

extern bool DebugLoggingEnabled;

constexpr const char* kLogPrefix = "ZVK Debug: ";
constexpr int kLogLineSize = 4096;

// Formats into a local 4096-byte buffer (cut at 4095 characters) and writes it unchanged.
void DebugWrite(const char* format, ...);

void DebugLog(const char* label);
void DebugLogText(const char* label, const char* value);
void DebugLogInt(const char* label, int32_t value);
void DebugLogUInt(const char* label, uint32_t value);
void DebugLogLong(const char* label, int32_t value);  // result codes: failures print negative
void DebugLogULong(const char* label, uint32_t value);
void DebugLogDouble(const char* label, double value);
void DebugLogPointer(const char* label, const void* value);
void DebugLogWide(const char* label, const wchar_t* value);
void DebugLogInt64(const char* label, int64_t value);
void DebugLogUInt64(const char* label, uint64_t value);

// Writes the system's text for a result code; does nothing while logging is off.
void DebugLogSystemMessage(int32_t code);

// The shared property Debugging of WIADeviceManager2ZVK.
RBBoolean DebuggingGetter();
void DebuggingSetter(RBBoolean value);

}  // namespace zvk
