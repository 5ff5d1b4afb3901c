// Host strings read as UTF-16, UTF-8 and BSTR text: every encoding family, the repairs, the failures.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "support/HostString.h"
#include "tests/host/BootedHost.h"
#include "tests/host/ImportHook.h"
#include "tests/host/SimHostText.h"

namespace zvk {
namespace {

namespace enc = encoding;
using Requests = std::map<uint32_t, int>;

class TextViews : public BootedHostTest {
protected:
    // The UTF-16 view as hex units; a missing terminator or a null pointer shows.
    static std::string UTF16Of(rbText& text) {
        const wchar_t* units = text.UTF16();
        if (units == nullptr) return "null";
        return Units(units, text.UTF16Length()) + (units[text.UTF16Length()] == 0 ? "" : "(unterminated)");
    }
};

struct FamilyRow {
    std::string bytes;
    uint32_t encoding;
    const char* utf16;
    std::string utf8;
    bool hostConverts;  // else the UTF-8 view is the host's own bytes
    bool decoded;       // the plug-in decodes UTF-8 itself
};

// The wide rows hold only bytes below 0x80, so that treating them as 8-bit text would show.
const FamilyRow kFamilyRows[] = {
    {"abc", enc::kUTF8, "0061 0062 0063 ", "abc", false, false},
    {"a\xC3\xA9", enc::kUTF8, "0061 00E9 ", "a\xC3\xA9", false, true},
    {"", enc::kUTF8, "", "", false, false},
    {"Hi", enc::kASCII, "0048 0069 ", "Hi", false, false},
    {"\xE2\x82\xAC", enc::kASCII, "20AC ", "\xE2\x82\xAC", false, true},
    {std::string("h\0i\0", 4), enc::kUTF16, "0068 0069 ", "hi", true, false},
    {std::string("\0h\0i", 4), enc::kUTF16BE, "0068 0069 ", "hi", true, false},
    {std::string("h\0i\0", 4), enc::kUTF16LE, "0068 0069 ", "hi", true, false},
    {std::string("A\0\0\0", 4), enc::kUTF32, "0041 ", "A", true, false},
    {std::string("\0\0\0A", 4), enc::kUTF32BE, "0041 ", "A", true, false},
    {std::string("\0\xF6\1\0", 4), enc::kUTF32LE, "D83D DE00 ", "\xF0\x9F\x98\x80", true, false},
    {"caf\xE9", enc::kWindowsLatin1, "0063 0061 0066 00E9 ", "caf\xC3\xA9", true, false},
    {"ok", enc::kWindowsLatin1, "006F 006B ", "ok", false, false},
    {"\xE9", enc::kISOLatin1, "00E9 ", "\xC3\xA9", true, false},
    {"\x8E", enc::kMacRoman, "00E9 ", "\xC3\xA9", true, false},
    {"abc", enc::kUnknown, "0061 0062 0063 ", "abc", false, false},
    {"\xE9\x80", enc::kUnknown, "00E9 20AC ", "\xC3\xA9\xE2\x82\xAC", true, false},
};

TEST_F(TextViews, EveryEncodingFamilyReadsAsUtf16AndUtf8) {
    EnableLogging();
    simhost::TextEntryState& entries = simhost::TextEntries();
    const Requests utf16Only{{enc::kUTF16, 1}}, both{{enc::kUTF16, 1}, {enc::kUTF8, 1}};
    for (const FamilyRow& row : kFamilyRows) {
        SCOPED_TRACE(row.utf8 + " as " + std::to_string(row.encoding));
        log().Clear();
        entries.stringDataRequests.clear();
        entries.stringDataDisposals = 0;
        REALstring string = NewString(row.bytes, row.encoding);
        {
            rbText text(string);
            EXPECT_EQ(UTF16Of(text), row.utf16);
            EXPECT_EQ(text.UTF16(), text.UTF16()) << "the view is not cached";
            EXPECT_EQ(entries.stringDataRequests, row.hostConverts ? utf16Only : Requests()) << "UTF-8 made too early";
            EXPECT_EQ(std::string(text.UTF8()), row.utf8);
            if (!row.hostConverts) {
                EXPECT_EQ(text.UTF8(), sim().AsString(S(string))->bytes.data()) << "copied";
            }
            EXPECT_EQ(entries.stringDataRequests, row.hostConverts ? both : Requests());
            const std::vector<std::string> decodeLine{"ZVK Debug: Try UTF8 to UTF16 conversion..."};
            EXPECT_EQ(log().Lines(), row.decoded ? decodeLine : std::vector<std::string>{});
            // Undeclared text holds its rebuilt Windows Latin-1 string instead.
            const bool rebuilt = row.encoding == enc::kUnknown && row.hostConverts;
            EXPECT_EQ(sim().StringRefCount(S(string)), rebuilt ? 1 : 2);
            EXPECT_EQ(text.Encoding(), rebuilt ? enc::kWindowsLatin1 : row.encoding);
        }
        EXPECT_EQ(entries.stringDataDisposals, row.hostConverts ? 2 : 0) << "string data kept";
        Release(string);
    }
}

struct RepairRow {
    std::string bytes;  // declared UTF-16 and handed back unchanged by the host
    bool unterminated;
    const char* utf16;
    std::vector<std::string> logged;
};

TEST_F(TextViews, HostUtf16IsTerminatedSwappedAndStrippedOfByteOrderMarks) {
    const std::string fixed = "ZVK Debug: String is not zero terminated. Fixed.";
    const std::string swap = "ZVK Debug: String is Little Endian. Swap.";
    const RepairRow rows[] = {
        {std::string("h\0i\0", 4), true, "0068 0069 ", {fixed}},
        {std::string("h\0i", 3), false, "0068 ", {fixed}},  // odd last byte ignored
        {std::string("\xFE\xFF\0h\0i", 6), false, "0068 0069 ", {swap}},
        {std::string("\xFE\xFF\0h", 4), true, "0068 ", {fixed, swap}},
        {std::string("\xFF\xFE\x68\0", 4), false, "0068 ", {}},
        {std::string("\xFF\xFE\xFE\xFF\x68\0", 6), false, "0068 ", {}},
        {std::string("\xFF\xFE", 2), false, "", {}},
    };
    EnableLogging();
    for (const RepairRow& row : rows) {
        log().Clear();
        simhost::TextEntries().unterminatedData = row.unterminated;
        REALstring string = NewString(row.bytes, enc::kUTF16);
        {
            rbText text(string);
            EXPECT_EQ(UTF16Of(text), row.utf16) << "bytes " << Units(reinterpret_cast<const wchar_t*>(row.bytes.data()), 2);
        }
        EXPECT_EQ(log().Lines(), row.logged) << row.utf16;
        Release(string);
    }
    REALstring string = NewString(std::string("h\0i\0", 4), enc::kUTF16);
    simhost::TextEntries().unterminatedData = true;
    log().Clear();
    EXPECT_STREQ(rbText(string).UTF8(), "hi");
    EXPECT_EQ(log().Lines(), std::vector<std::string>{fixed});
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

// A host without "LenB" is asked for it once; its strings then read as empty.
TEST_F(TextViews, MissingLenBIsLookedUpOnce) {
    const std::string kLenB = "LenB( s as string ) as integer";
    Withhold(kLenB);
    REALstring string = NewString("abc", enc::kUTF8);
    for (int read = 0; read < 2; ++read) EXPECT_EQ(StringBytes(string).size(), 0) << "read " << read;
    EXPECT_EQ(std::count(sim().globalMethodLookups.begin(), sim().globalMethodLookups.end(), kLenB), 1);
    Release(string);
}

}  // namespace
}  // namespace zvk
