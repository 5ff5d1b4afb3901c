// The string entries that convert text ("REALConvertString", "PluginGetStringData",
// "PluginDisposeStringData"), with the count and switch that tests read and set. Each new SimHost
// starts them afresh.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace simhost {

struct TextEntryState {
    std::map<uint32_t, int> stringDataRequests;  // "PluginGetStringData" calls by requested encoding
    bool unterminatedData = false;  // data handed out is followed by non-zero bytes instead of zeros
};

TextEntryState& TextEntries();

// Converts bytes between host encodings: ASCII, UTF-8, UTF-16 and UTF-32 (native, big- and little-endian),
// Windows Latin-1, ISO Latin-1 and Mac Roman; bytes without a declared encoding (0xFFFF) read as Windows
// Latin-1. The same encoding on both sides copies the bytes unchanged. False for an unknown code.
bool ConvertBytes(const std::string& bytes, uint32_t from, uint32_t to, std::string* out);

}  // namespace simhost
