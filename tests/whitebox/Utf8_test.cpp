// The plug-in's own UTF-8 decoder and its sequence check, on the edges where decoders go wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Text.h"
#include "tests/whitebox/BootedHost.h"

namespace zvk {
namespace {

std::string Hex(const std::vector<uint16_t>& units) {
    std::string text;
    char buffer[8];
    for (uint16_t unit : units) {
        std::snprintf(buffer, sizeof buffer, "%04X ", unit);
        text += buffer;
    }
    return text;
}

struct DecodeRow {
    const char* label;
    std::string source;
    std::vector<uint16_t> units;
    int illegalAt;  // byte offset logged as illegal, -1 for none
};

const DecodeRow kDecodeRows[] = {
    {"empty", "", {}, -1},
    {"ascii", "abc", {0x61, 0x62, 0x63}, -1},
    {"two-byte e-acute", "a\xC3\xA9", {0x61, 0xE9}, -1},
    {"smallest two-byte", "\xC2\x80", {0x80}, -1},
    {"three-byte euro", "\xE2\x82\xAC", {0x20AC}, -1},
    {"largest BMP value", "\xEF\xBF\xBD", {0xFFFD}, -1},
    {"four-byte emoji", "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}, -1},
    {"largest code point", "\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}, -1},
    {"truncated three-byte", "a\xE2\x82", {0x61}, 1},
    {"truncated two-byte at end", "ab\xC3", {0x61, 0x62}, 2},
    {"truncated four-byte", "\xF0\x9F\x98", {}, 0},
    {"overlong two-byte NUL", "\xC0\x80", {}, 0},
    {"overlong C1", "x\xC1\xBF", {0x78}, 1},
    {"overlong three-byte", "\xE0\x80\x80", {}, 0},
    {"overlong three-byte slash", "\xE0\x9F\xBF", {}, 0},
    {"overlong four-byte", "\xF0\x8F\xBF\xBF", {}, 0},
    {"encoded high surrogate", "\xED\xA0\x80", {}, 0},
    {"encoded low surrogate", "ok\xED\xBF\xBF", {0x6F, 0x6B}, 2},
    {"last value before surrogates", "\xED\x9F\xBF", {0xD7FF}, -1},
    {"lone continuation", "\x80", {}, 0},
    {"continuation after text", "ab\xBF\x63\x64", {0x61, 0x62}, 2},
    {"lead F4 beyond U+10FFFF", "\xF4\x90\x80\x80", {}, 0},
    {"lead F5", "\xF5\x80\x80\x80", {}, 0},
    {"lead F8 five-byte", "\xF8\x88\x80\x80\x80", {}, 0},
    {"lead FC six-byte", "\xFC\x84\x80\x80\x80\x80", {}, 0},
    {"lead FF", "a\xFF", {0x61}, 1},
    {"trailing byte not a continuation", "\xC3\x41", {}, 0},
    {"third byte not a continuation", "\xE2\x82\x41", {}, 0},
    {"BOM at start", "\xEF\xBB\xBF\x61\x62", {0x61, 0x62}, -1},
    {"BOM in the middle", "a\xEF\xBB\xBF\x62", {0x61, 0x62}, -1},
    {"BOM at end", "ab\xEF\xBB\xBF", {0x61, 0x62}, -1},
    {"reversed BOM value U+FFFE", "a\xEF\xBF\xBE", {0x61}, -1},
    {"NUL byte kept", std::string("a\0b", 3), {0x61, 0x00, 0x62}, -1},
    {"stops at first illegal, drops the rest", "ab\xC0\x80\x63\x64\xC3\xA9", {0x61, 0x62}, 2},
};

class Utf8Decoder : public BootedHostTest {};

TEST_F(Utf8Decoder, DecodesOrStopsAtTheFirstIllegalSequence) {
    EnableLogging();
    for (const DecodeRow& row : kDecodeRows) {
        log().Clear();
        std::vector<wchar_t> destination(row.source.size() + 1, L'\x5555');
        const size_t count = UTF8ToUTF16(reinterpret_cast<const uint8_t*>(row.source.data()),
                                         static_cast<uint32_t>(row.source.size()), destination.data());
        std::vector<uint16_t> units(destination.begin(), destination.begin() + static_cast<std::ptrdiff_t>(count));
        EXPECT_EQ(Hex(units), Hex(row.units)) << row.label;
        EXPECT_EQ(destination[count], L'\0') << row.label << ": no terminator after " << count << " units";
        std::vector<std::string> expectedLog;
        if (row.illegalAt >= 0) expectedLog.push_back("ZVK Debug: Illegal UTF-8 sequence! " + std::to_string(row.illegalAt));
        EXPECT_EQ(log().Lines(), expectedLog) << row.label << "\n" << log().Dump();
    }
}

TEST_F(Utf8Decoder, WritesOnlyATerminatorForNoBytes) {
    wchar_t destination[2] = {L'x', L'y'};
    EXPECT_EQ(UTF8ToUTF16(reinterpret_cast<const uint8_t*>("zzz"), 0, destination), 0u);
    EXPECT_EQ(destination[0], L'\0');
    EXPECT_EQ(destination[1], L'y');
}

TEST_F(Utf8Decoder, LogsNothingWhileLoggingIsOff) {
    wchar_t destination[4];
    EXPECT_EQ(UTF8ToUTF16(reinterpret_cast<const uint8_t*>("a\xC0\x80"), 3, destination), 1u);
    EXPECT_TRUE(log().Lines().empty()) << log().Dump();
}

struct LegalRow {
    std::string sequence;
    bool legal;
};

TEST(IsLegalUTF8, JudgesOneSequenceByItsLeadAndTrailingBytes) {
    const LegalRow rows[] = {
        {"A", true},
        {"\x7F", true},
        {"\x80", false},
        {"\xBF", false},
        {"\xC0\x80", false},
        {"\xC1\xBF", false},
        {"\xC2\x80", true},
        {"\xDF\xBF", true},
        {"\xC2\xC0", false},
        {"\xC2\x7F", false},
        {"\xE0\xA0\x80", true},
        {"\xE0\x9F\x80", false},
        {"\xE1\x80\x80", true},
        {"\xE1\x80\xC0", false},
        {"\xED\x9F\xBF", true},
        {"\xED\xA0\x80", false},
        {"\xEF\xBF\xBF", true},
        {"\xF0\x90\x80\x80", true},
        {"\xF0\x8F\x80\x80", false},
        {"\xF4\x8F\xBF\xBF", true},
        {"\xF4\x90\x80\x80", false},
        {"\xF1\x80\x80\x7F", false},
        {"\xF1\x80\x7F\x80", false},
        {"\xF5\x80\x80\x80", false},
        {"\xF8\x88\x80\x80\x80", false},
        {"\xFC\x84\x80\x80\x80\x80", false},
    };
    for (const LegalRow& row : rows) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(row.sequence.data());
        std::string hex;
        for (unsigned char c : row.sequence) hex += std::to_string(c) + " ";
        EXPECT_EQ(IsLegalUTF8(bytes, static_cast<int>(row.sequence.size())), row.legal) << "bytes " << hex;
    }
}

}  // namespace
}  // namespace zvk
