// Folder items and paths: FolderItem arguments as UTF-16 paths, Windows paths as new FolderItems.
#include <windows.h>

#include <set>
#include <string>

#include "plugin/Globals.h"
#include "support/HostString.h"
#include "tests/host/SimFolderItems.h"
#include "support/FolderItem.h"
#include "tests/host/PluginTest.h"
#include "tests/host/BootedHost.h"

namespace simhost {
namespace {

zvk::REALstring Lib(REALstring text) {
    return reinterpret_cast<zvk::REALstring>(text);
}
zvk::REALobject Lib(REALobject object) {
    return reinterpret_cast<zvk::REALobject>(object);
}
REALobject Host(zvk::REALobject object) {
    return reinterpret_cast<REALobject>(object);
}

class FolderItems : public zvk::BootedHostTest {
protected:
    void SetUp() override {
        BootedHostTest::SetUp();
        zvk::ResetFolderItemLookup();
    }
    SimHost& host() { return sim(); }
    REALobject GetTrue(const std::string& path, int64_t mode) {
        StringRef text(host(), host().Str(path));
        return Host(zvk::rbGetTrueFolderItem(Lib(text.get()), mode));
    }
    REALobject NewItem(int64_t mode, bool followAlias) {
        StringRef text(host(), host().Str("C:\\scan.bmp"));
        return Host(zvk::NewFolderItem(Lib(text.get()), mode, followAlias));
    }
};

TEST_F(FolderItems, NativeModeIsZeroBefore2013) {
    const struct {
        double host;
        int64_t mode;
        int64_t passed;
    } rows[] = {{2021.03, 3, 3}, {2013.0, 3, 3}, {2012.99, 3, 0}, {0, 3, 0}, {2012.0, 1, 1}};
    for (const auto& row : rows) {
        zvk::HostVersion = row.host;
        ObjectRef item(host(), GetTrue("C:\\scan.bmp", row.mode));
        const FolderItemOrigin origin = OriginOf(host(), item);
        EXPECT_EQ(origin.madeBy, "GetTrueFolderItem") << "host " << row.host;
        EXPECT_EQ(origin.pathMode, row.passed) << "host " << row.host << " mode " << row.mode;
        EXPECT_EQ(origin.path, "C:\\scan.bmp");
    }
}

TEST_F(FolderItems, RaisingConstructorIsSwallowed) {
    RaiseInFolderItemConstructor(kFolderItemConstructor);
    EnableLogging();
    EXPECT_EQ(NewItem(3, false), nullptr);
    size_t exceptionLines = 0;
    for (const std::string& line : log().Lines()) {
        if (line.rfind("ZVK Debug: exception ", 0) == 0) {
            ++exceptionLines;
            EXPECT_NE(line.find_first_not_of("0", 21), std::string::npos) << line;
        }
    }
    EXPECT_EQ(exceptionLines, 1u) << log().Dump();
    EXPECT_TRUE(host().raised.empty()) << "the script sees no exception";
}

// A folder named in CJK characters reaches Windows as the same UTF-16 units, and back as a FolderItem.
TEST_F(FolderItems, CJKPathReachesWindowsUnchanged) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring wide = std::wstring(temp) + L"\x753B\x50CF\x30D5\x30A9\x30EB\x30C0";
    char utf8[4 * MAX_PATH];
    ASSERT_GT(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr), 0);

    ObjectRef folder(host(), NewFolderItemAt(host(), utf8));
    {
        zvk::FolderItemPath path(Lib(folder.get()));
        EXPECT_EQ(host().RefCount(folder), 2) << "the holder locks the FolderItem";
        const wchar_t* units = path.UnixFilePathUTF16();
        ASSERT_NE(units, nullptr);
        EXPECT_EQ(std::wstring(units), wide);
        EXPECT_EQ(path.UnixFilePathUTF16(), units) << "made once";
        EXPECT_EQ(PathRequests(), 1);
        ASSERT_TRUE(CreateDirectoryW(units, nullptr)) << GetLastError();
        EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
        RemoveDirectoryW(wide.c_str());
    }
    EXPECT_EQ(host().RefCount(folder), 1);

    StringRef fromWindows(host(), reinterpret_cast<REALstring>(zvk::WString2RB(wide.c_str())));
    ObjectRef item(host(), Host(zvk::rbGetTrueFolderItem(Lib(fromWindows.get()), 3)));
    EXPECT_EQ(OriginOf(host(), item).path, utf8);

    ObjectRef pathless(host(), host().NewBuiltin("FolderItem"));
    zvk::FolderItemPath none(Lib(pathless.get()));
    EXPECT_EQ(none.UnixFilePathUTF16(), nullptr);
}

// Raised inside the guarded call, whether the constructor unwinds or returns afterwards: nil, nothing raised in
// the script, the half-made item released (the leak check at the end counts it).
TEST_F(FolderItems, ConstructorThatRaisesGivesNilInEitherStyle) {
    for (RaiseStyle style : {RaiseStyle::Unwind, RaiseStyle::Return}) {
        RaiseInFolderItemConstructor(kFolderItemConstructor, style);
        EXPECT_EQ(NewItem(3, false), nullptr) << "style " << static_cast<int>(style);
        EXPECT_TRUE(host().raised.empty()) << "style " << static_cast<int>(style);
        EXPECT_EQ(host().LiveObjects(), 0) << "style " << static_cast<int>(style);
    }
}

}  // namespace
}  // namespace simhost
