#include "support/HostString.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwchar>
#include <exception>

#include "plugin/Globals.h"
#include "plugin/HostApi.h"
#include "support/Errors.h"
#include "support/Holders.h"
#include "support/Log.h"

namespace zvk {

namespace encoding {

bool IsWideFamily(uint32_t code) {
    return code > kUTF8 && code - kUTF32 <= 0x10000000u && (code & 0x3FFFFFFu) == 0x100u;
}

}  // namespace encoding

namespace {

constexpr double kEncodingAwareHost = 2012.0;  // "REALBuildStringWithEncoding" and UTF-16 conversion
constexpr double kUTF32AwareHost = 2013.0;     // UTF-32 conversion
constexpr size_t kLocalCodePoints = 200;       // below this the old-host UTF-32 path stays on the stack

bool AllBelow0x80(const unsigned char* bytes, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        if (bytes[i] >= 0x80) return false;
    }
    return true;
}

// A host string of count bytes (1 to INT32_MAX) declared in the encoding; one reference, or nil.
REALstring Build(const void* bytes, int64_t count, uint32_t code) {
    const char* data = static_cast<const char*>(bytes);
    if (HostVersion >= kEncodingAwareHost) return host::BuildStringWithEncoding(data, static_cast<int32_t>(count), code);
    REALstring text = host::BuildString(data, static_cast<int32_t>(count));
    if (text != nullptr) host::SetStringEncoding(text, code);
    return text;
}

REALstring BuildGuarded(const void* bytes, int64_t count, uint32_t code) {
    switch (code) {
        case encoding::kUTF16:
            return REALBuildUnicodeStringUTF16(bytes, count);
        case encoding::kUTF32:
            return REALBuildUnicodeStringUTF32(bytes, count);
        case encoding::kASCII:
        case encoding::kUTF8:
            break;
        case encoding::kMacRoman:
        case encoding::kISOLatin1:
        case encoding::kWindowsLatin1:
        case encoding::kUnknown:
            if (AllBelow0x80(static_cast<const unsigned char*>(bytes), count)) code = encoding::kASCII;
            break;
        default:
            if (DebugLoggingEnabled) DebugLogUInt("Unknown encoding in REALBuildUnicodeString", code);
            break;
    }
    return Build(bytes, count, code);
}

// Set while the guard raises its host exception: a failure in building that exception's message is not
// raised again (the exception then goes out without a message).
bool gRaising = false;

void RaiseGuardFailure(const std::exception* error) {
    if (gRaising) return;
    gRaising = true;
    if (error != nullptr) {
        TranslateCppException(*error);
    } else {
        if (DebugLoggingEnabled) DebugLog("Unnamed C++ Exception.");
        RaiseException("RuntimeException", "Sorry, but there was an unnamed C++ Exception.");
    }
    gRaising = false;
}

bool CountFits(int64_t count) {
    return count >= 1 && count <= INT32_MAX;
}

}  // namespace

REALstring REALBuildUnicodeString(const void* bytes, int64_t count, uint32_t encoding) {
    if (bytes == nullptr || count < 1) return nullptr;
    if (count > INT32_MAX) {
        if (DebugLoggingEnabled) DebugLog("Count too big for REALBuildUnicodeString.");
        return nullptr;
    }
    try {
        return BuildGuarded(bytes, count, encoding);
    } catch (const std::exception& error) {
        RaiseGuardFailure(&error);
    } catch (...) {
        RaiseGuardFailure(nullptr);
    }
    return nullptr;
}

REALstring REALBuildUnicodeStringUTF16(const void* data, int64_t count) {
    if (data == nullptr || !CountFits(count)) return nullptr;
    const char* bytes = static_cast<const char*>(data);
    unique_host_string wide;
    if (HostVersion >= kEncodingAwareHost) {
        wide.reset(host::BuildStringWithEncoding(bytes, static_cast<int32_t>(count), encoding::kUTF16));
    } else {
        wide.reset(host::BuildString(bytes, static_cast<int32_t>(count)));
        if (wide.get() == nullptr) {
            if (DebugLoggingEnabled) DebugLog("Out of memory in REALBuildUnicodeStringUTF16.");
            return nullptr;
        }
        host::SetStringEncoding(wide.get(), encoding::kUTF16);
    }
    if (wide.get() == nullptr) return nullptr;
    return host::ConvertString(wide.get(), encoding::kUTF8);
}

REALstring REALBuildUnicodeStringUTF32(const void* data, int64_t count) {
    if (data == nullptr || !CountFits(count)) return nullptr;
    if (HostVersion >= kUTF32AwareHost) {
        unique_host_string wide(
            host::BuildStringWithEncoding(static_cast<const char*>(data), static_cast<int32_t>(count), encoding::kUTF32));
        if (wide.get() == nullptr) return nullptr;
        return host::ConvertString(wide.get(), encoding::kUTF8);
    }
    const size_t codePoints = static_cast<size_t>(count) / 4;
    wchar_t local[2 * kLocalCodePoints + 1];
    unique_hglobal block;
    wchar_t* buffer = local;
    if (codePoints >= kLocalCodePoints) {
        block.reset(GlobalAlloc(GPTR, (2 * codePoints + 1) * sizeof(wchar_t)));
        if (block.get() == nullptr) {
            if (DebugLoggingEnabled) DebugLog("Out of memory in REALBuildUnicodeStringUTF32.");
            return nullptr;
        }
        buffer = block.as<wchar_t>();
    }
    // The source need not be aligned for uint32_t: copy the code points through memcpy.
    const auto* source = static_cast<const unsigned char*>(data);
    size_t units = 0;
    for (size_t i = 0; i < codePoints; ++i) {
        uint32_t value;
        std::memcpy(&value, source + 4 * i, sizeof value);
        units += UTF32ToUTF16(&value, 1, buffer + units);
    }
    buffer[units] = 0;
    return REALBuildUnicodeStringUTF16(buffer, static_cast<int64_t>(units * sizeof(wchar_t)));
}

REALstring CString2RB(const char* text, uint32_t encoding) {
    if (DebugLoggingEnabled) {
        if (encoding == encoding::kUTF16) DebugLog("Error: kREALTextEncodingUTF16 not useful for CString2RB!");
        if (encoding == encoding::kUTF32) DebugLog("Error: kREALTextEncodingUTF32 not useful for CString2RB!");
    }
    if (text == nullptr) return nullptr;
    const size_t count = std::strlen(text);
    if (DebugLoggingEnabled && encoding == encoding::kASCII && count > 0 &&
        !AllBelow0x80(reinterpret_cast<const unsigned char*>(text), static_cast<int64_t>(count))) {
        DebugLogText("Error: text is not ascii", text);
    }
    return REALBuildUnicodeString(text, static_cast<int64_t>(count), encoding);
}

REALstring WString2RB(const wchar_t* text) {
    if (text == nullptr) return nullptr;
    const size_t units = std::wcslen(text);
    return REALBuildUnicodeString(text, static_cast<int64_t>(units * sizeof(wchar_t)), encoding::kUTF16);
}

size_t UTF32ToUTF16(const uint32_t* source, size_t count, wchar_t* destination) {
    size_t units = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t value = source[i];
        if (value < 0x10000) {
            if (value >= 0xD800 && value <= 0xDFFF) continue;
            destination[units++] = static_cast<wchar_t>(value);
        } else if (value > 0x10FFFF) {
            destination[units++] = static_cast<wchar_t>(0xFFFD);
        } else {
            destination[units++] = static_cast<wchar_t>(0xD800 + ((value - 0x10000) >> 10));
            destination[units++] = static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
        }
    }
    destination[units] = 0;
    return units;
}

}  // namespace zvk
