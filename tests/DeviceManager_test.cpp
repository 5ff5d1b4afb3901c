// Device managers of both generations, driven as a script drives them: construct, enumerate devices,
// open them, let the user pick one in the system dialogs, and acquire images through the image dialogs.
#include <regex>

#include "tests/host/ImportHook.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimScript.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

// One device manager generation: its number, its class and its platform interface.
struct Generation {
    int number;
    const char *cls, *iface;
    friend std::ostream& operator<<(std::ostream& out, const Generation& g) { return out << g.cls; }
};
const Generation kWia1{1, "WIADeviceManager1ZVK", "IWiaDevMgr"}, kWia2{2, "WIADeviceManager2ZVK", "IWiaDevMgr2"};

class DeviceManager : public PluginTest, public ::testing::WithParamInterface<Generation> {
protected:
    const Generation& gen() const { return GetParam(); }
    simwia::Call Last(const char* method) { return simwia::LastCall((std::string(gen().iface) + "::" + method).c_str()); }
    std::string Arguments(const char* method) { return simwia::ArgumentsOf((std::string(gen().iface) + "::" + method).c_str()); }

    // An item made by this generation holds its interface in its own field only.
    void ExpectItemOfGeneration(REALobject item) {
        ASSERT_TRUE(item != nullptr && host().ClassName(item) == "WIAItemZVK");
        const int64_t handle = host().GetInt(item, "Handle"),
                      other = host().GetInt(item, gen().number == 1 ? "Handle2" : "Handle1");
        EXPECT_TRUE(handle != 0 && host().GetInt(item, gen().number == 1 ? "Handle1" : "Handle2") == handle && other == 0);
    }
};

TEST_P(DeviceManager, ConstructEnumerateAndOpenEveryDevice) {
    ObjectRef manager(host(), NewConstructed(host(), gen().cls));
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
    ObjectRef devices(host(), host().Call<REALobject>(manager, "EnumDeviceInfo", 0x10));
    EXPECT_EQ(Last("EnumDeviceInfo").flags, 0x10);
    EXPECT_EQ(host().Call<int64_t>(devices, "Count"), 3);
    std::vector<std::string> ids;
    while (REALobject info = host().Call<REALobject>(devices, "NextItem")) {
        ObjectRef infoRef(host(), info);
        ids.push_back(TakeVariantText(host(), host().Call<REALobject>(info, "Read", 2)));  // kDevicePropertyDevId
        EXPECT_FALSE(TakeVariantText(host(), host().Call<REALobject>(info, "Read", "Name")).empty()) << ids.back();
        EXPECT_EQ(host().GetInt(info, "Lasterror"), 0) << ids.back();
    }
    EXPECT_EQ(host().GetInt(devices, "Lasterror"), 1) << "the end of the sequence is S_FALSE";
    std::vector<std::string> installed;
    for (const std::wstring& id : simwia::InstalledDevices()) installed.push_back(Narrow(id));
    EXPECT_EQ(ids, installed);
    for (const std::string& id : ids) {
        ObjectRef item(host(), host().Call<REALobject>(manager, "CreateDevice", id));
        ExpectItemOfGeneration(item);
        EXPECT_EQ(Narrow(simwia::TableOf(reinterpret_cast<IUnknown*>(host().GetInt(item, "Handle")))),
                  id.substr(id.size() - 4) + "\\Root");
    }
}

TEST_P(DeviceManager, SelectDeviceDialogFormsPickTheDeviceAndPassTheWindow) {
    ObjectRef manager(host(), NewConstructed(host(), gen().cls));
    ObjectRef window(host(), NewWindow(host(), 0x1234));
    simwia::SetDialogAnswer(simwia::kCameraId);
    REALstring deviceId = host().Str("previous");
    ObjectRef byWindow(host(), host().Call<REALobject>(manager, "SelectDeviceDialog", window, 2, 1, &deviceId));
    StringRef chosen(host(), deviceId);
    ExpectItemOfGeneration(byWindow);
    EXPECT_EQ(host().Bytes(chosen), Narrow(simwia::kCameraId));
    EXPECT_EQ(Arguments("SelectDeviceDlg"), "window 0x1234 type 2 flags 1 clear");
    ObjectRef withNil(host(), host().Call<REALobject>(manager, "SelectDeviceDialog", REALobject{}, 0, 0));
    EXPECT_EQ(Last("SelectDeviceDlg").window, nullptr) << "a nil window is 0";
    ObjectRef byHandle(host(), host().Call<REALobject>(manager, "SelectDeviceDialog", 77, 0, 4));
    ExpectItemOfGeneration(byHandle);
    EXPECT_EQ(Last("SelectDeviceDlg").window, reinterpret_cast<HWND>(77));
}

// Both window forms log their entry label before they read the window's "Handle".
TEST_P(DeviceManager, SelectDeviceDialogIdGivesTheIdentifierAndLogsItsLabelFirst) {
    ObjectRef manager(host(), NewConstructed(host(), gen().cls));
    simwia::SetDialogAnswer(simwia::kVideoId);
    for (std::string windowClass : {"Window", "DesktopWindow"}) {
        ObjectRef window(host(), NewWindow(host(), 0x99, windowClass));
        size_t linesBeforeRead = 0;
        host().onIntegerRead = [&](REALobject object, const std::string& name) {
            if (object == window.get() && name == "Handle") linesBeforeRead = log().Lines().size();
        };
        EnableLogging();
        const std::string form = windowClass == "Window" ? "SelectDeviceDialogID"
                                                         : "SelectDeviceDialogID(parentWindow as "
                                                           "DesktopWindow, DeviceType as integer, Flags as integer) as string";
        StringRef byWindow(host(), host().Call<REALstring>(manager, form, window, 3, 0));
        host().onIntegerRead = nullptr;
        EXPECT_EQ(host().Bytes(byWindow), Narrow(simwia::kVideoId));
        EXPECT_EQ(Last("SelectDeviceDlgID").window, reinterpret_cast<HWND>(0x99));
        EXPECT_EQ(log().Lines().at(0), "ZVK Debug: rbSelectDeviceDlgID2") << windowClass;
        EXPECT_GE(linesBeforeRead, 1u) << windowClass << ": the window was read before the label";
    }
    StringRef byHandle(host(), host().Call<REALstring>(manager, "SelectDeviceDialogID", 5, 3, 0));
    EXPECT_EQ(host().Bytes(byHandle), Narrow(simwia::kVideoId));
    EXPECT_EQ(Arguments("SelectDeviceDlgID"), "window 0x5 type 3 clear");
}

// The log of a construction and a failed device creation, line for line (the interface's address left out), ending
// on the system's text of the code, which is looked up only while logging is on.
TEST_P(DeviceManager, LogTracesConstructionAndDeviceCreation) {
    FormatMessageHook formatMessage(host().Module());
    for (bool logging : {false, true}) {
        if (logging) EnableLogging();
        ObjectRef manager(host(), NewConstructed(host(), gen().cls));
        simwia::FailNext((std::string(gen().iface) + "::CreateDevice").c_str(), E_INVALIDARG);
        EXPECT_EQ(host().Call<REALobject>(manager, "CreateDevice", "dev"), nullptr);
        EXPECT_EQ(formatMessage.calls(), logging ? 1 : 0);
    }
    std::string lines;
    for (const std::string& line : log().Lines()) lines += std::regex_replace(line, std::regex(" [0-9A-Fa-f]{16}$"), " @") + "|";
    const std::string n = std::to_string(gen().number), h = "|ZVK Debug: handle" + n;
    const std::string expected = "ZVK Debug: rbConstructor|ZVK Debug: CoCreateInstance with CLSID_WiaDevMgr" +
                                 (n == "2" ? n : "") + " 0" + h + " @|ZVK Debug: rbCreateDevice" + h +
                                 " @|ZVK Debug: device dev" + h + "->CreateDevice -2147024809|ZVK Debug: ";
    EXPECT_EQ(lines.substr(0, expected.size()), expected);
    EXPECT_GT(lines.find('|', expected.size()), expected.size() + 1) << lines;
}

INSTANTIATE_TEST_SUITE_P(Generations, DeviceManager, ::testing::Values(kWia1, kWia2),
                         [](const ::testing::TestParamInfo<Generation>& param) {
                             return "Wia" + std::to_string(param.param.number);
                         });

class ImageDialogs : public PluginTest {};

TEST_F(ImageDialogs, Wia1WritesTheFileItWasGiven) {
    ObjectRef manager(host(), NewConstructed(host(), "WIADeviceManager1ZVK"));
    std::string path = TempFolder() + "\\zvk-dialog-1.bmp";
    DeleteFileA(path.c_str());
    ObjectRef file(host(), NewFolderItemAt(host(), path));
    ObjectRef window(host(), NewWindow(host(), 0x42));
    ObjectRef root(host(), host().Call<REALobject>(manager, "CreateDevice", Narrow(simwia::kCameraId)));
    host().Call<void>(manager, "GetImageDialog", window, 2, 4, 0x10000, file, root);
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
    EXPECT_EQ(simwia::ArgumentsOf("IWiaDevMgr::GetImageDlg"), "window 0x42 type 2 flags 4 intent 0x10000");
    simwia::Call call = simwia::LastCall("IWiaDevMgr::GetImageDlg");
    EXPECT_EQ(call.item, reinterpret_cast<IUnknown*>(host().GetInt(root, "Handle1")));
    EXPECT_EQ(Narrow(call.filename.value_or(L"")), path);
    EXPECT_EQ(call.guid.value_or(IID_IUnknown), GUID_NULL) << "no preferred format";
    EXPECT_EQ(ReadFileBytes(path), simwia::SampleImage());
    DeleteFileA(path.c_str());
}

TEST_F(ImageDialogs, Wia2ReturnsThePathsAndTheItem) {
    ObjectRef manager(host(), NewConstructed(host(), "WIADeviceManager2ZVK"));
    const std::string directory = TempFolder();
    simwia::SetDialogAnswer(simwia::kScannerId, S_OK, 2);
    ObjectRef window(host(), NewWindow(host(), 0x55));
    REALobject item = host().New("WIAItemZVK");  // a previous value is given back
    REALarray paths =
        host().Call<REALarray>(manager, "GetImageDialog", 0x2, Narrow(simwia::kScannerId), window, directory, "zvk-scan", &item);
    ObjectRef itemRef(host(), item);
    ObjectRef pathsRef(host(), reinterpret_cast<REALobject>(paths));
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
    EXPECT_NE(host().GetInt(item, "Handle2"), 0);
    std::vector<std::string> files;
    for (void* path : ReadArray(host(), paths).elements) files.push_back(host().Bytes(static_cast<REALstring>(path)));
    EXPECT_EQ(files, (std::vector<std::string>{directory + "\\zvk-scan.bmp", directory + "\\zvk-scan (2).bmp"}));
    EXPECT_EQ(simwia::ArgumentsOf("IWiaDevMgr2::GetImageDlg"), "window 0x55 flags 2 clear");
    for (const std::string& file : files) DeleteFileA(file.c_str());
}

// A script's first steps against the system's own WIA service instead of the simulated devices: under Wine its
// device managers are stubs. Whatever the service answers lands in Lasterror, nothing crashes, nothing leaks.
class WineService : public DeviceManager {
protected:
    bool SimulatedPlatform() override { return false; }
    // Lasterror is -1 (no call made) exactly when the manager has no interface to call.
    void ExpectCalled(REALobject manager, const std::string& step) {
        const int64_t code = host().GetInt(manager, "Lasterror");
        EXPECT_EQ(code == -1, host().GetInt(manager, "Handle") == 0) << gen().cls << " " << step << " gave " << code;
    }
};

TEST_P(WineService, FirstStepsEndInLasterror) {
    ObjectRef manager(host(), NewConstructed(host(), gen().cls));
    const int64_t created = host().GetInt(manager, "Lasterror");
    EXPECT_TRUE(created != -1 && (host().GetInt(manager, "Handle") == 0) == (created < 0)) << "Constructor gave " << created;
    ObjectRef devices(host(), host().Call<REALobject>(manager, "EnumDeviceInfo", 16));
    ExpectCalled(manager, "EnumDeviceInfo");
    for (int step = 0; devices.get() != nullptr && step < 16; ++step) {
        ObjectRef info(host(), host().Call<REALobject>(devices, "NextItem"));
        EXPECT_NE(host().GetInt(devices, "Lasterror"), -1) << "NextItem";
        if (info.get() == nullptr) break;
    }
    ObjectRef root(host(), host().Call<REALobject>(manager, "CreateDevice", "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\9999"));
    EXPECT_EQ(root.get(), nullptr);
    ExpectCalled(manager, "CreateDevice");
    EXPECT_TRUE(host().GetInt(manager, "Handle") == 0 || host().GetInt(manager, "Lasterror") < 0);
    StringRef chosen(host(), host().Call<REALstring>(manager, "SelectDeviceDialogID", 0, 0, 0));
    ExpectCalled(manager, "SelectDeviceDialogID");
    REALstring id = nullptr;
    ObjectRef picked(host(), host().Call<REALobject>(manager, "SelectDeviceDialog", 0, 0, 0, &id));
    host().UnlockString(id);
    ExpectCalled(manager, "SelectDeviceDialog");
    REALobject item = nullptr;
    if (gen().number == 1) {
        host().Call<void>(manager, "GetImageDialog", 0, 0, 0, 0,
                          ObjectRef(host(), NewFolderItemAt(host(), "C:\\windows\\temp\\wine-service.bmp")).get(), REALobject{});
    } else {
        host().Unlock(REALobject(
            host().Call<REALarray>(manager, "GetImageDialog", 0, REALstring{}, 0, "C:\\windows\\temp", "wine-service", &item)));
    }
    host().Unlock(item);
    ExpectCalled(manager, "GetImageDialog");
    EXPECT_TRUE(host().raised.empty());
}

INSTANTIATE_TEST_SUITE_P(Generations, WineService, ::testing::Values(kWia1, kWia2),
                         [](const ::testing::TestParamInfo<Generation>& param) {
                             return "Wia" + std::to_string(param.param.number);
                         });

}  // namespace
}  // namespace simhost
