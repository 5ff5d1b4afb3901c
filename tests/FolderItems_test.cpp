// Folder items as scripts meet them, through a video object's images folder: a folder item reaches the platform
// as the UTF-16 path it stands for, and a path the platform hands back comes to the script as a new folder item,
// made the way each host can make one.
#include "tests/Sweep.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/platform/SimVideo.h"

namespace simhost {
namespace {

struct HostRow {
    const char* label;
    double version;
    bool withoutGetTrueFolderItem;
    int raise;           // 0: the constructor works; else 1 + RaiseStyle
    const char* madeBy;  // null: the script gets nil
    int64_t pathMode;
};

// clang-format off
const HostRow kHosts[] = {
    {"Host2021", 2021.03, false, 0, "GetTrueFolderItem", 3},
    {"Host2012", 2012.99, false, 0, "GetTrueFolderItem", 0},  // no native path mode before 2013
    {"Constructor", 2021.03, true, 0, kFolderItemConstructor, 3},
    {"ConstructorOn2012", 2012.0, true, 0, kFolderItemConstructor, 3},
    {"ConstructorUnwinds", 2021.03, true, 1 + static_cast<int>(RaiseStyle::Unwind), nullptr, 0},
    {"ConstructorRaisesAndReturns", 2021.03, true, 1 + static_cast<int>(RaiseStyle::Return), nullptr, 0},
};
// clang-format on

class FolderItems : public PluginTest, public ::testing::WithParamInterface<HostRow> {
protected:
    Options HostOptions() override {
        Options options;
        options.version = GetParam().version;
        if (GetParam().withoutGetTrueFolderItem) options.withheld = {kGetTrueFolderItem};
        return options;
    }
};

// A constructor that raises inside the guarded call gives nil whether it unwinds or returns afterwards: nothing
// reaches the script and the half-made item is released (the leak check counts it).
TEST_P(FolderItems, PathsComeBackAsTheHostMakesFolderItems) {
    const HostRow& row = GetParam();
    if (row.raise != 0) RaiseInFolderItemConstructor(kFolderItemConstructor, static_cast<RaiseStyle>(row.raise - 1));
    ObjectRef video(host(), sweep::Make(host(), "WIAVideoZVK"));  // images directory: the temporary folder
    ObjectRef folder(host(), host().Call<REALobject>(video, "ImagesFolder"));
    EXPECT_TRUE(host().raised.empty());
    if (row.madeBy == nullptr) {
        EXPECT_EQ(folder.get(), nullptr);
        return;
    }
    const FolderItemOrigin origin = OriginOf(host(), folder);
    EXPECT_EQ(origin.madeBy, row.madeBy);
    EXPECT_EQ(origin.pathMode, row.pathMode);
    EXPECT_EQ(origin.path, TempFolder() + "\\");
}

INSTANTIATE_TEST_SUITE_P(Hosts, FolderItems, ::testing::ValuesIn(kHosts),
                         [](const ::testing::TestParamInfo<HostRow>& row) { return std::string(row.param.label); });

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
