// The plug-in's own UTF-8 decoder on the edges where decoders go wrong.
#include <string>
#include <vector>

#include "tests/host/BootedHost.h"

namespace zvk {
namespace {

struct DecodeRow {
    const char* label;
    std::string source;
    const char* units;
    int illegalAt;  // byte offset logged as illegal, -1 for none
};

const DecodeRow kDecodeRows[] = {
    {"empty", "", "", -1},
    {"two-byte", "a\xC3\xA9", "0061 00E9 ", -1},
    {"smallest two-byte", "\xC2\x80", "0080 ", -1},
    {"three-byte", "\xE2\x82\xAC", "20AC ", -1},
    {"four-byte", "\xF0\x9F\x98\x80", "D83D DE00 ", -1},
    {"largest code point", "\xF4\x8F\xBF\xBF", "DBFF DFFF ", -1},
    {"NUL kept", std::string("a\0b", 3), "0061 0000 0062 ", -1},
    {"truncated three-byte", "a\xE2\x82", "0061 ", 1},
    {"truncated two-byte", "ab\xC3", "0061 0062 ", 2},
    {"truncated four-byte", "\xF0\x9F\x98", "", 0},
    {"overlong C0 80", "\xC0\x80", "", 0},
    {"overlong C1", "x\xC1\xBF", "0078 ", 1},
    {"overlong E0 80 80", "\xE0\x80\x80", "", 0},
    {"overlong E0 9F BF", "\xE0\x9F\xBF", "", 0},
    {"overlong four-byte", "\xF0\x8F\xBF\xBF", "", 0},
    {"encoded high surrogate", "\xED\xA0\x80", "", 0},
    {"encoded low surrogate", "ok\xED\xBF\xBF", "006F 006B ", 2},
    {"last value before surrogates", "\xED\x9F\xBF", "D7FF ", -1},
    {"lone continuation", "\x80", "", 0},
    {"continuation after text, rest dropped", "ab\xBF\x63\x64", "0061 0062 ", 2},
    {"F4 beyond U+10FFFF", "\xF4\x90\x80\x80", "", 0},
    {"lead F5", "\xF5\x80\x80\x80", "", 0},
    {"lead F8, five bytes", "\xF8\x88\x80\x80\x80", "", 0},
    {"lead FC, six bytes", "\xFC\x84\x80\x80\x80\x80", "", 0},
    {"lead FF", "a\xFF", "0061 ", 1},
    {"second byte not a continuation", "\xC3\x41", "", 0},
    {"third byte not a continuation", "\xE2\x82\x41", "", 0},
    {"fourth byte not a continuation", "\xF1\x80\x80\x7F", "", 0},
    {"BOM at start", "\xEF\xBB\xBF\x61", "0061 ", -1},
    {"BOM in the middle", "a\xEF\xBB\xBF\x62", "0061 0062 ", -1},
    {"BOM at end", "a\xEF\xBB\xBF", "0061 ", -1},
    {"U+FFFE", "a\xEF\xBF\xBE", "0061 ", -1},
};

class Utf8Decoder : public BootedHostTest {};

TEST_F(Utf8Decoder, DecodesUntilTheFirstIllegalSequence) {
    EnableLogging();
    for (const DecodeRow& row : kDecodeRows) {
        log().Clear();
        std::vector<wchar_t> out(row.source.size() + 1, L'\x5555');
        const size_t count = UTF8ToUTF16(reinterpret_cast<const uint8_t*>(row.source.data()),
                                         static_cast<uint32_t>(row.source.size()), out.data());
        EXPECT_EQ(Units(out.data(), count) + (out[count] == 0 ? "" : "(unterminated)"), row.units) << row.label;
        std::vector<std::string> logged;
        if (row.illegalAt >= 0) logged.push_back("ZVK Debug: Illegal UTF-8 sequence! " + std::to_string(row.illegalAt));
        EXPECT_EQ(log().Lines(), logged) << row.label;
    }
}

}  // namespace
}  // namespace zvk
