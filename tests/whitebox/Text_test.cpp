// Host strings read as UTF-16, UTF-8 and BSTR text: every encoding family, the repairs, the failures.
#include <map>
#include <string>
#include <vector>

#include "support/HostString.h"
#include "support/Text.h"
#include "tests/host/ImportHook.h"
#include "tests/host/SimHostText.h"
#include "tests/whitebox/BootedHost.h"

namespace zvk {
namespace {

namespace enc = encoding;
using Requests = std::map<uint32_t, int>;

std::string Units(const wchar_t* text, int64_t count) {
    std::string hex;
    char unit[8];
    for (int64_t i = 0; i < count; ++i) {
        std::snprintf(unit, sizeof unit, "%04X ", static_cast<uint16_t>(text[i]));
        hex += unit;
    }
    return hex;
}

std::string Units(const std::vector<uint16_t>& units) {
    std::wstring text(units.begin(), units.end());
    return Units(text.c_str(), static_cast<int64_t>(text.size()));
}

class TextViews : public BootedHostTest {
protected:
    // The UTF-16 view as hex units, after checking that it is terminated and never null.
    std::string UTF16Of(rbText& text) {
        const wchar_t* units = text.UTF16();
        if (units == nullptr) return "null";
        const int64_t count = text.UTF16Length();
        return Units(units, count) + (units[count] == 0 ? "" : "(unterminated)");
    }
    const char* HostBytes(REALstring text) { return sim().AsString(S(text))->bytes.data(); }
};

struct FamilyRow {
    const char* label;
    std::string bytes;
    uint32_t encoding;
    std::vector<uint16_t> utf16;
    std::string utf8;
    bool hostConverts;  // else the UTF-8 view is the host's own bytes
    bool decoded;       // the plug-in decodes UTF-8 itself
};

const FamilyRow kFamilyRows[] = {
    {"UTF-8 ASCII", "abc", enc::kUTF8, {0x61, 0x62, 0x63}, "abc", false, false},
    {"UTF-8", "a\xC3\xA9", enc::kUTF8, {0x61, 0xE9}, "a\xC3\xA9", false, true},
    {"UTF-8 empty", "", enc::kUTF8, {}, "", false, false},
    {"ASCII", "Hi", enc::kASCII, {0x48, 0x69}, "Hi", false, false},
    {"ASCII holding UTF-8", "\xE2\x82\xAC", enc::kASCII, {0x20AC}, "\xE2\x82\xAC", false, true},
    {"UTF-16", std::string("h\0\xE9\0", 4), enc::kUTF16, {0x68, 0xE9}, "h\xC3\xA9", true, false},
    {"UTF-16BE", std::string("\0h\0\xE9", 4), enc::kUTF16BE, {0x68, 0xE9}, "h\xC3\xA9", true, false},
    {"UTF-16LE", std::string("h\0\xE9\0", 4), enc::kUTF16LE, {0x68, 0xE9}, "h\xC3\xA9", true, false},
    {"UTF-32", std::string("\0\xF6\1\0", 4), enc::kUTF32, {0xD83D, 0xDE00}, "\xF0\x9F\x98\x80", true, false},
    {"UTF-32BE", std::string("\0\1\xF6\0", 4), enc::kUTF32BE, {0xD83D, 0xDE00}, "\xF0\x9F\x98\x80", true, false},
    {"UTF-32LE", std::string("A\0\0\0", 4), enc::kUTF32LE, {0x41}, "A", true, false},
    {"Windows Latin-1", "caf\xE9", enc::kWindowsLatin1, {0x63, 0x61, 0x66, 0xE9}, "caf\xC3\xA9", true, false},
    {"Windows Latin-1 ASCII", "ok", enc::kWindowsLatin1, {0x6F, 0x6B}, "ok", false, false},
    {"ISO Latin-1", "\xE9", enc::kISOLatin1, {0xE9}, "\xC3\xA9", true, false},
    {"Mac Roman", "\x8E", enc::kMacRoman, {0xE9}, "\xC3\xA9", true, false},
    {"undeclared ASCII", "abc", enc::kUnknown, {0x61, 0x62, 0x63}, "abc", false, false},
    {"undeclared read as Windows Latin-1", "\xE9\x80", enc::kUnknown, {0xE9, 0x20AC}, "\xC3\xA9\xE2\x82\xAC", true, false},
};

TEST_F(TextViews, EveryEncodingFamilyReadsAsUtf16AndUtf8) {
    EnableLogging();
    simhost::TextEntryState& entries = simhost::TextEntries();
    for (const FamilyRow& row : kFamilyRows) {
        SCOPED_TRACE(row.label);
        const Requests utf16Only{{enc::kUTF16, 1}};
        const Requests both{{enc::kUTF16, 1}, {enc::kUTF8, 1}};
        log().Clear();
        entries.stringDataRequests.clear();
        REALstring string = NewString(row.bytes, row.encoding);
        {
            rbText text(string);
            EXPECT_EQ(UTF16Of(text), Units(row.utf16));
            const wchar_t* first = text.UTF16();
            EXPECT_EQ(text.UTF16(), first) << "the UTF-16 view is not cached";
            // A caller that needs only UTF-16 never causes a UTF-8 conversion.
            EXPECT_EQ(entries.stringDataRequests, row.hostConverts ? utf16Only : Requests());
            EXPECT_EQ(std::string(text.UTF8()), row.utf8);
            EXPECT_EQ(text.UTF8(), text.UTF8());
            if (!row.hostConverts) {
                EXPECT_EQ(text.UTF8(), HostBytes(string)) << "UTF-8 text was copied";
            }
            EXPECT_EQ(entries.stringDataRequests, row.hostConverts ? both : Requests());
            const std::vector<std::string> decodeLine{"ZVK Debug: Try UTF8 to UTF16 conversion..."};
            EXPECT_EQ(log().Lines(), row.decoded ? decodeLine : std::vector<std::string>{}) << log().Dump();
            const bool rebuilt = row.encoding == enc::kUnknown && row.hostConverts;
            EXPECT_EQ(sim().StringRefCount(S(string)), rebuilt ? 1 : 2) << "the text holds one lock";
        }
        EXPECT_EQ(entries.stringDataDisposals, row.hostConverts ? 2 : 0) << "string data not handed back";
        entries.stringDataDisposals = 0;
        Release(string);
    }
    EXPECT_EQ(entries.strayDisposals, 0);
}

TEST_F(TextViews, NilAndEmptyGiveEmptyTextNeverNull) {
    REALstring empty = NewString("", enc::kUTF16);
    for (REALstring string : {REALstring{}, empty}) {
        rbText text(string);
        EXPECT_EQ(UTF16Of(text), "");
        ASSERT_NE(text.UTF8(), nullptr);
        EXPECT_STREQ(text.UTF8(), "");
        BSTRHolder holder(string);
        EXPECT_EQ(holder.AsBSTR(), nullptr);
    }
    EXPECT_EQ(rbText(nullptr).State(), Ascii);
    Release(empty);
}

TEST_F(TextViews, BstrHolderMakesTheBstrOnce) {
    REALstring string = NewString("d\xC3\xA9j\xC3\xA0", enc::kUTF8);
    {
        BSTRHolder holder(string);
        BSTR bstr = holder.AsBSTR();
        ASSERT_NE(bstr, nullptr);
        EXPECT_EQ(std::wstring(bstr, SysStringLen(bstr)), L"d\u00E9j\u00E0");
        EXPECT_EQ(holder.AsBSTR(), bstr);
    }
    Release(string);
}

struct RepairRow {
    const char* label;
    std::string bytes;  // declared UTF-16, handed back unchanged by the host
    bool unterminated;
    std::vector<uint16_t> utf16;
    std::vector<std::string> logged;
};

TEST_F(TextViews, HostUtf16IsTerminatedSwappedAndStrippedOfByteOrderMarks) {
    const std::string fixed = "ZVK Debug: String is not zero terminated. Fixed.";
    const std::string swap = "ZVK Debug: String is Little Endian. Swap.";
    const RepairRow rows[] = {
        {"terminated", std::string("h\0i\0", 4), false, {0x68, 0x69}, {}},
        {"unterminated", std::string("h\0i\0", 4), true, {0x68, 0x69}, {fixed}},
        {"odd last byte ignored", std::string("h\0i", 3), false, {0x68}, {fixed}},
        {"reversed order swapped, then its mark dropped", std::string("\xFE\xFF\0h\0i", 6), false, {0x68, 0x69}, {swap}},
        {"unterminated and reversed", std::string("\xFE\xFF\0h", 4), true, {0x68}, {fixed, swap}},
        {"mark dropped without a swap", std::string("\xFF\xFE\x68\0", 4), false, {0x68}, {}},
        {"mark then reversed mark both dropped", std::string("\xFF\xFE\xFE\xFF\x68\0", 6), false, {0x68}, {}},
        {"only a mark", std::string("\xFF\xFE", 2), false, {}, {}},
    };
    EnableLogging();
    for (const RepairRow& row : rows) {
        log().Clear();
        simhost::TextEntries().unterminatedData = row.unterminated;
        REALstring string = NewString(row.bytes, enc::kUTF16);
        {
            rbText text(string);
            EXPECT_EQ(UTF16Of(text), Units(row.utf16)) << row.label;
        }
        EXPECT_EQ(log().Lines(), row.logged) << row.label << "\n" << log().Dump();
        Release(string);
    }
    REALstring string = NewString(std::string("h\0i\0", 4), enc::kUTF16);
    simhost::TextEntries().unterminatedData = true;
    log().Clear();
    EXPECT_STREQ(rbText(string).UTF8(), "hi");
    EXPECT_EQ(log().Lines(), std::vector<std::string>{fixed});
    Release(string);
}

TEST_F(TextViews, UndeclaredTextIsHeldAsARebuiltWindowsLatin1String) {
    REALstring string = NewString("\xE9", enc::kUnknown);
    {
        rbText text(string);
        EXPECT_EQ(text.State(), NonAscii);
        EXPECT_EQ(text.Encoding(), enc::kWindowsLatin1);
        EXPECT_EQ(sim().StringRefCount(S(string)), 1) << "the undeclared string is still locked";
        EXPECT_EQ(sim().LiveStrings(), 2);
    }
    EXPECT_EQ(sim().LiveStrings(), 1);
    // Without a rebuilt string the text is empty; the failure is logged once in the process.
    sim().Withhold("REALBuildStringWithEncoding");
    host::ResetEntryCache();
    EnableLogging();
    for (int i = 0; i < 2; ++i) {
        rbText text(string);
        EXPECT_EQ(UTF16Of(text), "");
        EXPECT_STREQ(text.UTF8(), "");
    }
    EXPECT_EQ(log().Lines(), std::vector<std::string>{"ZVK Debug: REALBuildUnicodeString failed"});
    Release(string);
}

struct FailureRow {
    const char* label;
    std::string bytes;
    uint32_t encoding;
    const char* withheld;  // entry or global method the host lacks, or null
    size_t failingBlock;   // GlobalAlloc size that fails, or 0
    std::string utf16;
    std::vector<std::string> logged;
};

TEST_F(TextViews, FailuresGiveEmptyTextAndALogLine) {
    const std::string noMemory = "ZVK Debug: Out of memory";
    const FailureRow rows[] = {
        {"no string data",
         std::string("h\0", 2),
         enc::kUTF16,
         "PluginGetStringData",
         0,
         "",
         {"ZVK Debug: REALGetStringData failed."}},
        {"no bytes pointer", "abc", enc::kUTF8, "StringGetCString", 0, "", {"ZVK Debug: data is NULL, so size fixed to zero."}},
        {"no byte length", "abc", enc::kUTF8, "LenB( s as string ) as integer", 0, "", {}},
        {"no block for widening", "abc", enc::kUTF8, nullptr, 3 * 2 + 4, "", {}},
        {"no block for decoding",
         "\xC3\xA9",
         enc::kUTF8,
         nullptr,
         2 * 2 + 16,
         "",
         {"ZVK Debug: Try UTF8 to UTF16 conversion..."}},
        {"no block for the terminator",
         std::string("h\0", 2),
         enc::kUTF16,
         nullptr,
         1 * 2 + 4,
         "",
         {"ZVK Debug: String is not zero terminated. Fixed.", noMemory}},
        {"no block for the swap",
         std::string("\xFE\xFF\0h", 4),
         enc::kUTF16,
         nullptr,
         2 * 2 + 4,
         "",
         {"ZVK Debug: String is Little Endian. Swap.", noMemory}},
        {"no probe block: undeclared text kept", "\xE9", enc::kUnknown, nullptr, 1 + 4, "00E9 ", {"ZVK Debug: Out of Memory."}},
    };
    EnableLogging();
    for (const FailureRow& row : rows) {
        log().Clear();
        if (row.withheld != nullptr) sim().Withhold(row.withheld);
        simhost::TextEntries().unterminatedData = std::string(row.label) == "no block for the terminator";
        REALstring string = NewString(row.bytes, row.encoding);
        {
            simhost::GlobalAllocHook alloc(GetModuleHandleA(nullptr),
                                           [&](size_t bytes, int) { return bytes == row.failingBlock; });
            rbText text(string);
            EXPECT_EQ(UTF16Of(text), row.utf16) << row.label;
            EXPECT_EQ(alloc.failures(), row.failingBlock != 0 ? 1 : 0) << row.label;
        }
        EXPECT_EQ(log().Lines(), row.logged) << row.label << "\n" << log().Dump();
        Release(string);
        if (row.withheld != nullptr) sim().Offer(row.withheld);
        host::ResetEntryCache();
        ForgetStringLengthMethod();
    }
}

TEST_F(TextViews, DamagedGuardWordsAreReportedAndTheTextStillEnds) {
    static_assert(sizeof(rbText) % 8 == 0, "guard words at both ends");
    REALstring string = NewString("abc", enc::kUTF8);
    EnableLogging();
    {
        rbText text(string);
        auto* words = reinterpret_cast<uint64_t*>(&text);
        EXPECT_EQ(words[0], rbText::kGuard);
        words[0] = 7;
        words[sizeof(rbText) / 8 - 1] = 9;
    }
    EXPECT_EQ(log().Lines(),
              (std::vector<std::string>{"ZVK Debug: Check1 in rbText invalid 7", "ZVK Debug: Check2 in rbText invalid 9"}));
    EXPECT_EQ(sim().StringRefCount(S(string)), 1);
    Release(string);
}

TEST_F(TextViews, HostStringsAppearInTheLogAsUtf8) {
    REALstring string = NewString(std::string("\xE9\0t\0", 4), enc::kUTF16);
    EnableLogging();
    DebugLogHostString("name", string);
    DebugLogHostString("nil", nullptr);
    char expected[2][64];
    std::snprintf(expected[0], sizeof expected[0], "ZVK Debug: name %p: \xC3\xA9t", static_cast<void*>(string));
    std::snprintf(expected[1], sizeof expected[1], "ZVK Debug: nil %p: ", nullptr);
    EXPECT_EQ(log().Lines(), (std::vector<std::string>{expected[0], expected[1]}));
    Release(string);
}

}  // namespace
}  // namespace zvk
