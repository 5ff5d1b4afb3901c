// Text crossing between scripts and the platform: a script's strings of every encoding as the UTF-16 the platform
// receives and the UTF-8 the log shows; platform text as the host strings a script gets back, on every kind of host;
// folder items, through a video object's images folder, as the UTF-16 paths they stand for, and paths the platform
// hands back as new folder items, made the way each host can make one.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/host/Sweep.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostText.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimScript.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimVideo.h"

namespace simhost {
namespace {

using Lines = std::vector<std::string>;
const std::string kDecode = "Try UTF8 to UTF16 conversion...", kFixed = "String is not zero terminated. Fixed.";
const std::string kSwap = "String is Little Endian. Swap.", kLenB = "LenB( s as string ) as integer";

class Text : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        video_ = NewConstructed(host(), "WIAVideoZVK");
        storage_ = OpenDeviceInformation(host());  // the scanner's information
    }
    void TearDown() override { host().Unlock(storage_), host().Unlock(video_), PluginTest::TearDown(); }
    Lines Logged() {  // the text-conversion lines, without the prefix
        static const char* const kStarts[] = {"data", "REALBuild", "REALGet", "Out", "String", "Try", "Illegal", "Unnamed"};
        Lines lines;
        for (const std::string& line : log().Lines())
            for (const char* start : kStarts)
                if (line.rfind(std::string("ZVK Debug: ") + start, 0) == 0) lines.push_back(line.substr(11));
        return lines;
    }
    std::string Take(REALobject variant) {
        ObjectRef owned(host(), variant);
        VariantContents value = variant != nullptr ? ReadVariant(host(), variant) : VariantContents{};
        return value.hasString ? host().Take(host().Str(value.text, value.encoding)) : "nil";
    }
    REALobject video_ = nullptr, storage_ = nullptr;
};

// A script's string, whether the host's converted data lacks its zeros (junk), whether the host converts it (to
// UTF-8 for the log, to UTF-16 for the platform), the platform's units, the log's UTF-8 (null: the script's bytes),
// the conversion lines. The wide rows hold only bytes below 0x80, so that taking them for 8-bit text would show.
// clang-format off
struct ScriptRow { std::string bytes; uint32_t encoding; bool junk, hostConverts; const wchar_t* units; const char* utf8; Lines logged; };
const ScriptRow kScriptRows[] = {
    {"abc", enc::kUTF8, false, false, L"abc", nullptr, {}},
    {"a\xC3\xA9", enc::kUTF8, false, false, L"a\u00E9", nullptr, {kDecode}},
    {"\xE2\x82\xAC", enc::kASCII, false, false, L"\u20AC", nullptr, {kDecode}},
    {std::string("h\0i\0", 4), enc::kUTF16, false, true, L"hi", "hi", {}},
    {std::string("A\0\0\0", 4), enc::kUTF32, false, true, L"A", "A", {}},
    {std::string("\0\xF6\1\0", 4), enc::kUTF32LE, false, true, L"\U0001F600", "\xF0\x9F\x98\x80", {}},
    {"caf\xE9", enc::kWindowsLatin1, false, true, L"caf\u00E9", "caf\xC3\xA9", {}},
    {"ok", enc::kWindowsLatin1, false, false, L"ok", nullptr, {}},
    {"\xE9", enc::kISOLatin1, false, true, L"\u00E9", "\xC3\xA9", {}},
    {"\x8E", enc::kMacRoman, false, true, L"\u00E9", "\xC3\xA9", {}},
    {"abc", enc::kUnknown, false, false, L"abc", nullptr, {}},
    {"\xE9\x80", enc::kUnknown, false, true, L"\u00E9\u20AC", "\xC3\xA9\xE2\x82\xAC", {}},  // read as Windows Latin-1
    // The host's data repaired: terminator, byte order, byte-order marks.
    {std::string("h\0i\0", 4), enc::kUTF16, true, true, L"hi", "hi", {kFixed, kFixed}},
    {std::string("h\0i", 3), enc::kUTF16, false, true, L"h", "h", {kFixed}},  // odd last byte ignored
    {std::string("\xFE\xFF\0h\0i", 6), enc::kUTF16, false, true, L"hi", "\xEF\xBF\xBE\xE6\xA0\x80\xE6\xA4\x80", {kSwap}},
    {std::string("\xFE\xFF\0h", 4), enc::kUTF16, true, true, L"h", "\xEF\xBF\xBE\xE6\xA0\x80", {kFixed, kFixed, kSwap}},
    {std::string("\xFF\xFEh\0", 4), enc::kUTF16, false, true, L"h", "\xEF\xBB\xBFh", {}},
    {std::string("\xFF\xFE\xFE\xFFh\0", 6), enc::kUTF16, false, true, L"h", "\xEF\xBB\xBF\xEF\xBF\xBEh", {}},
    // The plug-in's own UTF-8 decoder: one row per way a sequence is taken or refused.
    {"\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\xED\x9F\xBF\xE0\xA0\x80", enc::kUTF8, false, false, L"\U0001F600\U0010FFFF\uD7FF\u0800", nullptr, {kDecode}},
    {"a\xEF\xBB\xBF\x62\xEF\xBF\xBE", enc::kUTF8, false, false, L"ab", nullptr, {kDecode}},  // U+FEFF, U+FFFE dropped
    {"a\xE2\x82", enc::kUTF8, false, false, L"a", nullptr, {kDecode, "Illegal UTF-8 sequence! 1"}},  // truncated
    {"ab\x80z", enc::kUTF8, false, false, L"ab", nullptr, {kDecode, "Illegal UTF-8 sequence! 2"}},  // lone trail byte
    {"\xF5\x80\x80\x80", enc::kUTF8, false, false, L"<null>", nullptr, {kDecode, "Illegal UTF-8 sequence! 0"}},
    {"\xF8\x88\x80\x80\x80", enc::kUTF8, false, false, L"<null>", nullptr, {kDecode, "Illegal UTF-8 sequence! 0"}},
    {"\xFC\x84\x80\x80\x80\x80", enc::kUTF8, false, false, L"<null>", nullptr, {kDecode, "Illegal UTF-8 sequence! 0"}},
    {"x\xC3\x41", enc::kUTF8, false, false, L"x", nullptr, {kDecode, "Illegal UTF-8 sequence! 1"}},
    {"x\xC3\xC3", enc::kUTF8, false, false, L"x", nullptr, {kDecode, "Illegal UTF-8 sequence! 1"}},
    {"\xE2\x82\x41", enc::kUTF8, false, false, L"<null>", nullptr, {kDecode, "Illegal UTF-8 sequence! 0"}},
    {"\xE0\x9F\xBF", enc::kUTF8, false, false, L"<null>", nullptr, {kDecode, "Illegal UTF-8 sequence! 0"}},
    {"ok\xED\xA0\x80", enc::kUTF8, false, false, L"ok", nullptr, {kDecode, "Illegal UTF-8 sequence! 2"}},
    {"\xF0\x8F\xBF\xBF", enc::kUTF8, false, false, L"<null>", nullptr, {kDecode, "Illegal UTF-8 sequence! 0"}},
    {"\xF4\x90\x80\x80", enc::kUTF8, false, false, L"<null>", nullptr, {kDecode, "Illegal UTF-8 sequence! 0"}},
};
// clang-format on

TEST_F(Text, ScriptStringsReachThePlatformAsUtf16AndTheLogAsUtf8) {
    EnableLogging();
    const std::map<uint32_t, int> both{{enc::kUTF16, 1}, {enc::kUTF8, 1}}, none;
    for (const ScriptRow& row : kScriptRows) {
        SCOPED_TRACE(row.bytes + " as " + std::to_string(row.encoding));
        log().Clear();
        TextEntries().stringDataRequests.clear();
        TextEntries().unterminatedData = row.junk;
        StringRef path(host(), host().Str(row.bytes, row.encoding));
        host().CallSetter(video_, "ImagesDirectory as string", path);
        EXPECT_EQ(simwia::LastVideoCall("IWiaVideo::put_ImagesDirectory").text.value_or(L"<null>"), row.units);
        char line[200];  // the log's line of the script's string
        std::snprintf(line, sizeof line, "ZVK Debug: path %p: %s", static_cast<void*>(path.get()),
                      row.utf8 ? row.utf8 : row.bytes.c_str());
        EXPECT_TRUE(log().Contains(line)) << log().Dump();
        EXPECT_EQ(Logged(), row.logged);
        EXPECT_EQ(TextEntries().stringDataRequests, row.hostConverts ? both : none) << "asked the host for more";
    }
}

// Hosts that build in their own way (without the other way, so that taking it gives nil) and hosts without an
// entry: a script writes a property name twice (the units the platform gets), then reads a name and three text
// values (built or nil); the conversion lines logged.
// clang-format off
const std::string kOutOfMemory16 = "Out of memory in REALBuildUnicodeStringUTF16.", kNoBytes = "data is NULL, so size fixed to zero.";
const std::string kBuilt = "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80 as 0x8000100|ab as 0x8000100|caf\xE9 as 0x500|plain as 0x600";
struct HostRow { const char* label; double version; std::set<std::string> withheld; std::string bytes; uint32_t encoding; const wchar_t* units; bool builds; Lines logged;
                 friend std::ostream& operator<<(std::ostream& out, const HostRow& row) { return out << row.label; } };
const HostRow kHostRows[] = {
    {"Before2012", 2011.0, {"REALBuildStringWithEncoding"}, "\xE9", enc::kUnknown, L"\u00E9", true, {}},
    {"From2012", 2012.0, {"REALBuildString", "REALSetStringEncoding"}, "\xE9", enc::kUnknown, L"\u00E9", true, {}},
    {"Before2012WithoutBuildString", 2011.0, {"REALBuildString"}, "\xE9", enc::kUnknown, L"<null>", false, {"REALBuildUnicodeString failed", kOutOfMemory16, kOutOfMemory16}},
    {"WithoutBuildStringWithEncoding", 2021.03, {"REALBuildStringWithEncoding"}, "\xE9", enc::kUnknown, L"<null>", false, {"REALBuildUnicodeString failed"}},
    {"WithoutLenB", 2021.03, {kLenB}, "abc", enc::kUTF8, L"<null>", true, {}},
    {"WithoutStringGetCString", 2021.03, {"StringGetCString"}, "abc", enc::kUTF8, L"<null>", true, {kNoBytes, kNoBytes}},
    {"WithoutStringData", 2021.03, {"PluginGetStringData"}, std::string("h\0i\0", 4), enc::kUTF16, L"<null>", true, {"REALGetStringData failed.", "REALGetStringData failed."}},
};
// clang-format on

struct Hosts : Text, ::testing::WithParamInterface<HostRow> {
    Options HostOptions() override { return {GetParam().version, true, GetParam().withheld}; }
};

void Store(PROPID id, VARTYPE type, const void* text, const wchar_t* name = nullptr) {
    PROPVARIANT value{};
    value.vt = type;
    value.pszVal = static_cast<char*>(const_cast<void*>(text));
    simwia::SetStoredValue(simwia::kScannerId, id, value, name);
}

TEST_P(Hosts, TextCrossesBothWaysOrGoesMissingQuietly) {
    const HostRow& row = GetParam();
    BSTR zeroInside = SysAllocStringLen(L"ab\0c", 4);  // a system string ends at its first zero
    Store(6000, VT_I4, nullptr, L"Gr\u00FC\u00DFe \U0001F600");
    Store(6001, VT_BSTR, zeroInside);
    Store(6002, VT_LPSTR, "caf\xE9");
    Store(6003, VT_LPSTR, "plain");
    SysFreeString(zeroInside);
    EnableLogging();
    for (int write = 0; write < 2; ++write) {
        host().Call<void>(storage_, "WritePropertyName", 5001, StringRef(host(), host().Str(row.bytes, row.encoding)));
        EXPECT_EQ(simwia::LastCall("IWiaPropertyStorage::WritePropertyNames").names.at(0).value_or(L"<null>"), row.units);
    }
    std::string read = host().Take(host().Call<REALstring>(storage_, "ReadPropertyName", 6000));
    for (int id : {6001, 6002, 6003}) read += "|" + Take(host().Call<REALobject>(storage_, "Read", id));
    EXPECT_EQ(read, row.builds ? kBuilt : "nil|nil|nil|nil");
    EXPECT_EQ(Logged(), row.logged);
    EXPECT_LE(std::count(host().globalMethodLookups.begin(), host().globalMethodLookups.end(), kLenB), 1);
}
INSTANTIATE_TEST_SUITE_P(Text, Hosts, ::testing::ValuesIn(kHostRows), [](const auto& row) { return row.param.label; });

// Hosts that make folder items in their own way: a name, the version, whether "GetTrueFolderItem" is missing, whether
// the folder-item constructor raises (0: no; else 1 + RaiseStyle), what made the item (null: the script gets nil) and
// its path mode.
// clang-format off
struct FolderHost { const char* label; double version; bool withoutGetTrueFolderItem; int raise; const char* madeBy; int64_t pathMode;
                    friend std::ostream& operator<<(std::ostream& out, const FolderHost& row) { return out << row.label; } };
const FolderHost kHosts[] = {
    {"Host2021", 2021.03, false, 0, "GetTrueFolderItem", 3},
    {"Host2012", 2012.99, false, 0, "GetTrueFolderItem", 0},  // no native path mode before 2013
    {"Constructor", 2021.03, true, 0, kFolderItemConstructor, 3},
    {"ConstructorOn2012", 2012.0, true, 0, kFolderItemConstructor, 3},
    {"ConstructorUnwinds", 2021.03, true, 1 + static_cast<int>(RaiseStyle::Unwind), nullptr, 0},
    {"ConstructorRaisesAndReturns", 2021.03, true, 1 + static_cast<int>(RaiseStyle::Return), nullptr, 0},
};
// clang-format on

class FolderItems : public PluginTest, public ::testing::WithParamInterface<FolderHost> {
    Options HostOptions() override {
        return {GetParam().version, true,
                GetParam().withoutGetTrueFolderItem ? std::set<std::string>{kGetTrueFolderItem} : std::set<std::string>{}};
    }
};

// A constructor that raises inside the guarded call gives nil whether it unwinds or returns afterwards: nothing
// reaches the script and the half-made item is released (the leak check counts it).
TEST_P(FolderItems, PathsComeBackAsTheHostMakesFolderItems) {
    const FolderHost& row = GetParam();
    if (row.raise != 0) RaiseInFolderItemConstructor(kFolderItemConstructor, static_cast<RaiseStyle>(row.raise - 1));
    ObjectRef video(host(), sweep::Make(host(), "WIAVideoZVK"));  // images directory: the script folder
    ObjectRef folder(host(), host().Call<REALobject>(video, "ImagesFolder"));
    EXPECT_TRUE(host().raised.empty());
    const FolderItemOrigin origin = folder.get() ? OriginOf(host(), folder) : FolderItemOrigin{"nil", "", 0};
    EXPECT_EQ(origin.madeBy + " " + std::to_string(origin.pathMode) + " " + origin.path,
              row.madeBy ? row.madeBy + (" " + std::to_string(row.pathMode)) + " " + Script().folder + "\\" : "nil 0 ");
}

INSTANTIATE_TEST_SUITE_P(Hosts, FolderItems, ::testing::ValuesIn(kHosts),
                         [](const ::testing::TestParamInfo<FolderHost>& row) { return std::string(row.param.label); });

// A folder named in CJK characters reaches Windows as the same UTF-16 units, and comes back as the same bytes.
using FolderPaths = PluginTest;

TEST_F(FolderPaths, CJKPathReachesThePlatformUnchangedAndComesBack) {
    wchar_t temp[MAX_PATH];
    const std::wstring wide = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"\x753B\x50CF\x30D5\x30A9\x30EB\x30C0";
    char utf8[4 * MAX_PATH];
    ASSERT_GT(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr), 0);
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ObjectRef video(host(), sweep::Make(host(), "WIAVideoZVK"));
    ObjectRef folder(host(), NewFolderItemAt(host(), utf8));
    host().CallSetter(video, "ImagesFolder", folder);
    EXPECT_EQ(simwia::LastVideoCall("IWiaVideo::put_ImagesDirectory").text.value_or(L""), wide);
    EXPECT_EQ(host().RefCount(folder), 1) << "the folder item is given back";
    ObjectRef back(host(), host().Call<REALobject>(video, "ImagesFolder"));
    EXPECT_EQ(OriginOf(host(), back).path, utf8);
    RemoveDirectoryW(wide.c_str());
}

}  // namespace
}  // namespace simhost
