// Building host strings from system text: wide strings, 8-bit text and raw bytes. Every builder
// returns a new host string with one reference that the caller owns, or nil (the empty string is nil).
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/HostTypes.h"

namespace zvk {

// The host encoding codes the library acts on.
namespace encoding {
constexpr uint32_t kASCII = 0x0600;
constexpr uint32_t kUTF8 = 0x08000100;
constexpr uint32_t kUTF16 = 0x0100;
constexpr uint32_t kUTF16BE = 0x10000100;
constexpr uint32_t kUTF16LE = 0x14000100;
constexpr uint32_t kUTF32 = 0x0C000100;
constexpr uint32_t kUTF32BE = 0x18000100;
constexpr uint32_t kUTF32LE = 0x1C000100;
constexpr uint32_t kWindowsLatin1 = 0x0500;
constexpr uint32_t kISOLatin1 = 0x0201;
constexpr uint32_t kMacRoman = 0x0000;
constexpr uint32_t kUnknown = 0xFFFF;

// The UTF-16/UTF-32 family above UTF-8 (0x0C000100 to 0x1C000100).
bool IsWideFamily(uint32_t code);
}  // namespace encoding

// Bytes in the given encoding; runs under the exception guard (a C++ exception becomes a host exception).
REALstring REALBuildUnicodeString(const void* bytes, int64_t count, uint32_t encoding);
REALstring REALBuildUnicodeStringUTF16(const void* data, int64_t count);
REALstring REALBuildUnicodeStringUTF32(const void* data, int64_t count);
REALstring CString2RB(const char* text, uint32_t encoding);
REALstring WString2RB(const wchar_t* text);  // up to the first zero unit

// Writes count code points as UTF-16 plus a terminator; returns the units written before it.
size_t UTF32ToUTF16(const uint32_t* source, size_t count, wchar_t* destination);

}  // namespace zvk
