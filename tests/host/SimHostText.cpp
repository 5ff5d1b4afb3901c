// Text conversion entries of the simulated host. Converted data handed out by "PluginGetStringData"
// lives in a host string of its own, so a record that is never handed back shows in the leak check.
#include "tests/host/SimHostText.h"

#include "tests/host/SimHost.h"

namespace simhost {
namespace {

constexpr uint32_t kRecordMagic = 0x53444154;  // private2 of a record this host filled

TextEntryState gState;

void Append16(std::string* out, uint32_t unit, bool big) {
    out->push_back(static_cast<char>(big ? unit >> 8 : unit & 0xFF));
    out->push_back(static_cast<char>(big ? unit & 0xFF : unit >> 8));
}

void Append32(std::string* out, uint32_t value, bool big) {
    for (int i = 0; i < 4; ++i) {
        int shift = big ? 24 - 8 * i : 8 * i;
        out->push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

uint32_t Read(const std::string& bytes, size_t at, size_t size, bool big) {
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) {
        uint32_t byte = static_cast<unsigned char>(bytes[at + i]);
        value |= byte << (big ? 8 * (size - 1 - i) : 8 * i);
    }
    return value;
}

// The Windows code page that an 8-bit host encoding maps to, or 0.
UINT CodePage(uint32_t code) {
    switch (code) {
        case enc::kWindowsLatin1:
        case enc::kUnknown:
            return 1252;
        case enc::kISOLatin1:
            return 28591;
        case enc::kMacRoman:
            return 10000;
        default:
            return 0;
    }
}

bool Decode(const std::string& bytes, uint32_t code, std::u32string* out) {
    switch (code) {
        case enc::kASCII:
            for (unsigned char c : bytes) out->push_back(c);
            return true;
        case enc::kUTF8:
            for (size_t i = 0; i < bytes.size();) {
                auto c = static_cast<unsigned char>(bytes[i]);
                size_t extra = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
                uint32_t value = extra == 0 ? c : c & (0x3F >> extra);
                if (c >= 0x80 && extra == 0) value = 0xFFFD;
                size_t j = 1;
                for (; j <= extra && i + j < bytes.size(); ++j) {
                    auto t = static_cast<unsigned char>(bytes[i + j]);
                    if ((t & 0xC0) != 0x80) break;
                    value = (value << 6) | (t & 0x3F);
                }
                if (j <= extra) value = 0xFFFD;
                out->push_back(value);
                i += j;
            }
            return true;
        case enc::kUTF16:
        case enc::kUTF16LE:
        case enc::kUTF16BE: {
            bool big = code == enc::kUTF16BE;
            for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
                uint32_t unit = Read(bytes, i, 2, big);
                if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
                    uint32_t low = Read(bytes, i + 2, 2, big);
                    if (low >= 0xDC00 && low < 0xE000) {
                        out->push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                        i += 2;
                        continue;
                    }
                }
                out->push_back(unit);
            }
            return true;
        }
        case enc::kUTF32:
        case enc::kUTF32LE:
        case enc::kUTF32BE:
            for (size_t i = 0; i + 3 < bytes.size(); i += 4) out->push_back(Read(bytes, i, 4, code == enc::kUTF32BE));
            return true;
        default: {
            UINT page = CodePage(code);
            if (page == 0) return false;
            if (bytes.empty()) return true;
            std::wstring wide(bytes.size(), L'\0');
            int n = MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0],
                                        static_cast<int>(wide.size()));
            for (int i = 0; i < n; ++i) out->push_back(static_cast<uint16_t>(wide[i]));
            return n > 0;
        }
    }
}

bool Encode(const std::u32string& text, uint32_t code, std::string* out) {
    switch (code) {
        case enc::kASCII:
            for (char32_t c : text) out->push_back(c < 0x80 ? static_cast<char>(c) : '?');
            return true;
        case enc::kUTF8:
            for (char32_t c : text) {
                if (c < 0x80) {
                    out->push_back(static_cast<char>(c));
                } else if (c < 0x800) {
                    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
                    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
                } else if (c < 0x10000) {
                    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
                    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
                    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
                } else {
                    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
                    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
                    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
                    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
                }
            }
            return true;
        case enc::kUTF16:
        case enc::kUTF16LE:
        case enc::kUTF16BE:
            for (char32_t c : text) {
                bool big = code == enc::kUTF16BE;
                if (c < 0x10000) {
                    Append16(out, c, big);
                } else {
                    Append16(out, 0xD800 + ((c - 0x10000) >> 10), big);
                    Append16(out, 0xDC00 + (c & 0x3FF), big);
                }
            }
            return true;
        case enc::kUTF32:
        case enc::kUTF32LE:
        case enc::kUTF32BE:
            for (char32_t c : text) Append32(out, c, code == enc::kUTF32BE);
            return true;
        default: {
            UINT page = CodePage(code);
            if (page == 0) return false;
            std::wstring wide;
            for (char32_t c : text) wide.push_back(c < 0x10000 ? static_cast<wchar_t>(c) : L'?');
            if (wide.empty()) return true;
            std::string narrow(wide.size(), '\0');
            int n = WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), &narrow[0],
                                        static_cast<int>(narrow.size()), "?", nullptr);
            out->append(narrow.data(), static_cast<size_t>(n > 0 ? n : 0));
            return n > 0;
        }
    }
}

SimHost& H() {
    return SimHost::Current();
}

REALstring ConvertString(REALstring text, uint32_t encoding) {
    if (text == nullptr) return nullptr;
    SimHost& host = H();
    std::string converted;
    if (!ConvertBytes(host.Bytes(text), host.Encoding(text), encoding, &converted)) return nullptr;
    return host.Str(converted, encoding);
}

// StringData as the ABI lays it out; the host keeps the converted text in private1.
struct Record {
    const void* data;
    size_t length;
    uint32_t encoding;
    const void* private1;
    uint32_t private2;
};
static_assert(sizeof(Record) == 40, "host string-data record");

int8_t GetStringData(REALstring text, uint32_t encoding, Record* out) {
    gState.stringDataRequests[encoding]++;
    if (text == nullptr || out == nullptr) return 0;
    SimHost& host = H();
    std::string converted;
    if (!ConvertBytes(host.Bytes(text), host.Encoding(text), encoding, &converted)) return 0;
    const size_t length = converted.size();
    converted.append(4, gState.unterminatedData ? '\x7F' : '\0');
    REALstring holder = host.Str(converted, encoding);
    out->data = host.AsString(holder)->bytes.data();
    out->length = length;
    out->encoding = encoding;
    out->private1 = holder;
    out->private2 = kRecordMagic;
    return 1;
}

void DisposeStringData(Record* record) {
    if (record == nullptr || record->private2 != kRecordMagic || record->private1 == nullptr) return;  // not filled here
    H().UnlockString(static_cast<REALstring>(const_cast<void*>(record->private1)));
    *record = Record{};
}

template <typename F>
void* Address(F* function) {
    return reinterpret_cast<void*>(function);
}

void Install(SimHost& host) {
    gState = TextEntryState{};
    host.entries["REALConvertString"] = Address(ConvertString);
    host.entries["PluginGetStringData"] = Address(GetStringData);
    host.entries["PluginDisposeStringData"] = Address(DisposeStringData);
}

Extension gText(Install);

}  // namespace

TextEntryState& TextEntries() {
    return gState;
}

bool ConvertBytes(const std::string& bytes, uint32_t from, uint32_t to, std::string* out) {
    out->clear();
    if (from == to) {
        *out = bytes;
        return true;
    }
    std::u32string text;
    return Decode(bytes, from, &text) && Encode(text, to, out);
}

}  // namespace simhost
