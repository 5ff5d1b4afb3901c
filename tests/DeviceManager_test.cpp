// Device managers of both generations, driven as a script drives them: construct, enumerate devices,
// open them, let the user pick one in the system dialogs, and acquire images through the image dialogs.
#include <fstream>
#include <iterator>

#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostVariants.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

constexpr const char* kConstructor = "Constructor";
constexpr const char* kEnumDeviceInfo = "EnumDeviceInfo(flags as integer = &h10) as WIADeviceInfoEnumeratorZVK";
constexpr const char* kCreateDevice = "CreateDevice(DeviceID as string) as WIAItemZVK";
constexpr const char* kSelectIdWindow =
    "SelectDeviceDialogID(parentWindow as window, DeviceType as integer, Flags as integer) as string";
constexpr const char* kSelectIdHandle =
    "SelectDeviceDialogID(parentWindowHandle as integer, DeviceType as integer, Flags as integer) as string";
constexpr const char* kSelectWindowById =
    "SelectDeviceDialog(parentWindow as window, DeviceType as integer, Flags as integer, byref DeviceID as string) as "
    "WIAItemZVK";
constexpr const char* kSelectWindow =
    "SelectDeviceDialog(parentWindow as window, DeviceType as integer, Flags as integer) as WIAItemZVK";
constexpr const char* kSelectHandleById =
    "SelectDeviceDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer, byref DeviceID as "
    "string) as WIAItemZVK";
constexpr const char* kSelectHandle =
    "SelectDeviceDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer) as WIAItemZVK";
constexpr const char* kImageDialog1Window =
    "GetImageDialog(parentWindow as window, DeviceType as integer, Flags as integer, Intent as integer, file as "
    "folderitem, rootitem as WIAItemZVK=nil)";
constexpr const char* kImageDialog2Window =
    "GetImageDialog(Flags as integer, DeviceID as string, parentWindow as window, FolderName as String, Filename as "
    "String, byref item as WIAItemZVK) as string()";
constexpr const char* kReadById = "Read(id as integer) as variant";
constexpr const char* kNextDevice = "NextItem as WIAPropertyStorageZVK";

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c);
    return out;
}

// One device manager generation: its class, its platform interface and its item field.
struct Generation {
    int number;
    const char* cls;
    const char* iface;
    const char* itemField;
    const char* otherItemField;
};

const Generation kWia1{1, "WIADeviceManager1ZVK", "IWiaDevMgr", "Handle1", "Handle2"};
const Generation kWia2{2, "WIADeviceManager2ZVK", "IWiaDevMgr2", "Handle2", "Handle1"};

void PrintTo(const Generation& g, std::ostream* os) {
    *os << g.cls;
}

std::string Method(const Generation& g, const char* name) {
    return std::string(g.iface) + "::" + name;
}

class DeviceManager : public PluginTest, public ::testing::WithParamInterface<Generation> {
protected:
    const Generation& gen() const { return GetParam(); }

    REALobject NewManager() {
        REALobject manager = host().New(gen().cls);
        host().Call<void>(manager, kConstructor);
        return manager;
    }

    REALstring ReadText(REALobject storage, int64_t id) {
        ObjectRef value(host(), host().Call<REALobject>(storage, kReadById, id));
        return value.get() == nullptr ? nullptr : host().Str(ReadVariant(host(), value).text);
    }

    // An item made by this generation holds its interface in its own field only.
    void ExpectItemOfGeneration(REALobject item) {
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(host().ClassName(item), "WIAItemZVK");
        EXPECT_NE(host().GetInt(item, "Handle"), 0);
        EXPECT_EQ(host().GetInt(item, "Handle"), host().GetInt(item, gen().itemField));
        EXPECT_EQ(host().GetInt(item, gen().otherItemField), 0);
    }
};

TEST_P(DeviceManager, ConstructEnumerateAndOpenEveryDevice) {
    ObjectRef manager(host(), NewManager());
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
    EXPECT_NE(host().GetInt(manager, "Handle"), 0);

    ObjectRef devices(host(), host().Call<REALobject>(manager.get(), kEnumDeviceInfo, int64_t{0x10}));
    ASSERT_NE(devices.get(), nullptr);
    EXPECT_EQ(simwia::LastCall(Method(gen(), "EnumDeviceInfo").c_str()).flags, 0x10);
    EXPECT_EQ(host().Call<int64_t>(devices.get(), "Count as integer"), 3);

    std::vector<std::string> ids;
    std::vector<std::string> names;
    while (true) {
        REALobject info = host().Call<REALobject>(devices.get(), kNextDevice);
        if (info == nullptr) break;
        ObjectRef infoRef(host(), info);
        StringRef id(host(), ReadText(info, 2));  // kDevicePropertyDevId
        ObjectRef name(host(), host().Call<REALobject>(info, "Read(name as string) as variant",
                                                       StringRef(host(), host().Str("Name")).get()));
        ids.push_back(host().Bytes(id));
        names.push_back(name.get() == nullptr ? "" : ReadVariant(host(), name).text);
        EXPECT_EQ(host().GetInt(info, "Lasterror"), 0) << ids.back();
    }
    EXPECT_EQ(host().GetInt(devices, "Lasterror"), 1) << "the end of the sequence is S_FALSE";
    std::vector<std::string> installed;
    for (const std::wstring& id : simwia::InstalledDevices()) installed.push_back(Narrow(id));
    EXPECT_EQ(ids, installed);
    for (const std::string& name : names) EXPECT_FALSE(name.empty());

    for (const std::string& id : ids) {
        SCOPED_TRACE(id);
        ObjectRef item(host(), host().Call<REALobject>(manager.get(), kCreateDevice, StringRef(host(), host().Str(id)).get()));
        ExpectItemOfGeneration(item);
        EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
        EXPECT_EQ(simwia::TableOf(reinterpret_cast<IUnknown*>(host().GetInt(item, "Handle"))),
                  simwia::Item((std::wstring(id.begin(), id.end()).substr(id.size() - 4) + L"\\Root").c_str()).fullName);
    }
}

TEST_P(DeviceManager, SelectDeviceDialogFormsPickTheDeviceAndPassTheWindow) {
    ObjectRef manager(host(), NewManager());
    ObjectRef window(host(), NewWindow(host(), 0x1234));
    simwia::SetDialogAnswer(simwia::kCameraId);

    REALstring deviceId = host().Str("previous");
    ObjectRef byWindow(
        host(), host().Call<REALobject>(manager.get(), kSelectWindowById, window.get(), int64_t{2}, int64_t{1}, &deviceId));
    StringRef chosen(host(), deviceId);
    ExpectItemOfGeneration(byWindow);
    EXPECT_EQ(host().Bytes(chosen), Narrow(simwia::kCameraId));
    simwia::Call call = simwia::LastCall(Method(gen(), "SelectDeviceDlg").c_str());
    EXPECT_EQ(call.window, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(call.deviceType, 2);
    EXPECT_EQ(call.flags, 1);
    EXPECT_TRUE(call.outputsClear);

    ObjectRef withoutId(
        host(), host().Call<REALobject>(manager.get(), kSelectWindow, static_cast<REALobject>(nullptr), int64_t{0}, int64_t{0}));
    ExpectItemOfGeneration(withoutId);
    EXPECT_EQ(simwia::LastCall(Method(gen(), "SelectDeviceDlg").c_str()).window, nullptr) << "a nil window is 0";

    ObjectRef byHandle(host(), host().Call<REALobject>(manager.get(), kSelectHandle, int64_t{77}, int64_t{0}, int64_t{4}));
    ExpectItemOfGeneration(byHandle);
    EXPECT_EQ(simwia::LastCall(Method(gen(), "SelectDeviceDlg").c_str()).window, reinterpret_cast<HWND>(77));
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
}

TEST_P(DeviceManager, SelectDeviceDialogIdGivesTheIdentifier) {
    ObjectRef manager(host(), NewManager());
    ObjectRef window(host(), NewWindow(host(), 0x99, "DesktopWindow"));
    simwia::SetDialogAnswer(simwia::kVideoId);
    StringRef byWindow(host(), host().Call<REALstring>(manager.get(), kSelectIdWindow, window.get(), int64_t{3}, int64_t{0}));
    EXPECT_EQ(host().Bytes(byWindow), Narrow(simwia::kVideoId));
    EXPECT_EQ(simwia::LastCall(Method(gen(), "SelectDeviceDlgID").c_str()).window, reinterpret_cast<HWND>(0x99));
    StringRef byHandle(host(), host().Call<REALstring>(manager.get(), kSelectIdHandle, int64_t{5}, int64_t{3}, int64_t{0}));
    EXPECT_EQ(host().Bytes(byHandle), Narrow(simwia::kVideoId));
    EXPECT_EQ(simwia::LastCall(Method(gen(), "SelectDeviceDlgID").c_str()).deviceType, 3);
}

TEST_P(DeviceManager, LogTracesConstructionAndDeviceCreation) {
    EnableLogging();
    ObjectRef manager(host(), NewManager());
    const std::string handle = gen().number == 1 ? "handle1" : "handle2";
    const std::string clsid = gen().number == 1 ? "CLSID_WiaDevMgr" : "CLSID_WiaDevMgr2";
    EXPECT_TRUE(log().Contains("ZVK Debug: rbConstructor")) << log().Dump();
    EXPECT_TRUE(log().Contains("ZVK Debug: CoCreateInstance with " + clsid + " 0")) << log().Dump();
    log().Clear();
    simwia::FailNext(Method(gen(), "CreateDevice").c_str(), E_INVALIDARG);
    EXPECT_EQ(host().Call<REALobject>(manager.get(), kCreateDevice, StringRef(host(), host().Str("dev")).get()), nullptr);
    const std::vector<std::string>& lines = log().Lines();
    ASSERT_GE(lines.size(), 4u) << log().Dump();
    EXPECT_EQ(lines[0], "ZVK Debug: rbCreateDevice");
    EXPECT_EQ(lines[1].rfind("ZVK Debug: " + handle + " ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], "ZVK Debug: device dev");
    EXPECT_EQ(lines[3], "ZVK Debug: " + handle + "->CreateDevice -2147024809");
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), -2147024809);
}

INSTANTIATE_TEST_SUITE_P(Generations, DeviceManager, ::testing::Values(kWia1, kWia2),
                         [](const ::testing::TestParamInfo<Generation>& param) {
                             return "Wia" + std::to_string(param.param.number);
                         });

class ImageDialogs : public PluginTest {};

TEST_F(ImageDialogs, Wia1WritesTheFileItWasGiven) {
    ObjectRef manager(host(), host().New("WIADeviceManager1ZVK"));
    host().Call<void>(manager.get(), kConstructor);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "zvk-dialog-1.bmp";
    DeleteFileA(path.c_str());
    ObjectRef file(host(), NewFolderItemAt(host(), path));
    ObjectRef window(host(), NewWindow(host(), 0x42));
    StringRef cameraId(host(), host().Str(Narrow(simwia::kCameraId)));
    ObjectRef root(host(), host().Call<REALobject>(manager.get(), kCreateDevice, cameraId.get()));

    host().Call<void>(manager.get(), kImageDialog1Window, window.get(), int64_t{2}, int64_t{4}, int64_t{0x10000}, file.get(),
                      root.get());
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
    simwia::Call call = simwia::LastCall("IWiaDevMgr::GetImageDlg");
    EXPECT_EQ(call.window, reinterpret_cast<HWND>(0x42));
    EXPECT_EQ(call.deviceType, 2);
    EXPECT_EQ(call.flags, 4);
    EXPECT_EQ(call.intent, 0x10000);
    EXPECT_EQ(call.item, reinterpret_cast<IUnknown*>(host().GetInt(root, "Handle1")));
    ASSERT_TRUE(call.filename.has_value());
    EXPECT_EQ(Narrow(*call.filename), path);
    ASSERT_TRUE(call.guid.has_value());
    EXPECT_EQ(*call.guid, GUID_NULL) << "no preferred format";
    std::ifstream written(path, std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, simwia::SampleImage());
    written.close();
    DeleteFileA(path.c_str());
}

TEST_F(ImageDialogs, Wia2ReturnsThePathsAndTheItem) {
    ObjectRef manager(host(), host().New("WIADeviceManager2ZVK"));
    host().Call<void>(manager.get(), kConstructor);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string directory(folder);
    if (!directory.empty() && directory.back() == '\\') directory.pop_back();
    simwia::SetDialogAnswer(simwia::kScannerId, S_OK, 2);

    StringRef deviceId(host(), host().Str(Narrow(simwia::kScannerId)));
    StringRef folderName(host(), host().Str(directory));
    StringRef fileName(host(), host().Str("zvk-scan"));
    ObjectRef window(host(), NewWindow(host(), 0x55));
    REALobject item = host().New("WIAItemZVK");  // a previous value is given back
    REALarray paths = host().Call<REALarray>(manager.get(), kImageDialog2Window, int64_t{0x2}, deviceId.get(), window.get(),
                                             folderName.get(), fileName.get(), &item);
    ObjectRef itemRef(host(), item);
    ObjectRef pathsRef(host(), reinterpret_cast<REALobject>(paths));
    EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0);
    ASSERT_NE(item, nullptr);
    EXPECT_NE(host().GetInt(item, "Handle2"), 0);
    ArrayContents contents = ReadArray(host(), paths);
    ASSERT_EQ(contents.elements.size(), 2u);
    EXPECT_EQ(host().Bytes(static_cast<REALstring>(contents.elements[0])), directory + "\\zvk-scan.bmp");
    EXPECT_EQ(host().Bytes(static_cast<REALstring>(contents.elements[1])), directory + "\\zvk-scan (2).bmp");
    simwia::Call call = simwia::LastCall("IWiaDevMgr2::GetImageDlg");
    EXPECT_EQ(call.window, reinterpret_cast<HWND>(0x55));
    EXPECT_EQ(call.flags, 2);
    EXPECT_TRUE(call.outputsClear);
    DeleteFileA((directory + "\\zvk-scan.bmp").c_str());
    DeleteFileA((directory + "\\zvk-scan (2).bmp").c_str());
}

// The window form logs its entry label before it reads the window's "Handle", on both managers.
class WindowRead : public PluginTest {};

TEST_F(WindowRead, SelectDeviceDialogIDLogsItsLabelFirst) {
    const std::string kDesktopForm =
        "SelectDeviceDialogID(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer) as string";
    for (const char* cls : {"WIADeviceManager1ZVK", "WIADeviceManager2ZVK"}) {
        for (const char* windowClass : {"Window", "DesktopWindow"}) {
            const std::string label = std::string(cls) + " with a " + windowClass;
            ObjectRef manager(host(), host().New(cls));
            host().Call<void>(manager.get(), kConstructor);
            ObjectRef window(host(), NewWindow(host(), 0x1234, windowClass));
            size_t linesBeforeRead = 0;
            host().onIntegerRead = [&](REALobject object, const std::string& name) {
                if (object == window.get() && name == "Handle") linesBeforeRead = log().Lines().size();
            };
            EnableLogging();
            const std::string form = std::string(windowClass) == "Window" ? kSelectIdWindow : kDesktopForm;
            StringRef id(host(), host().Call<REALstring>(manager.get(), form, window.get(), int64_t{0}, int64_t{0}));
            host().onIntegerRead = nullptr;
            ASSERT_FALSE(log().Lines().empty()) << label;
            EXPECT_EQ(log().Lines().front(), "ZVK Debug: rbSelectDeviceDlgID2") << label << "\n" << log().Dump();
            EXPECT_GE(linesBeforeRead, 1u) << label << ": the window was read before the label";
            EXPECT_EQ(host().GetInt(manager, "Lasterror"), 0) << label;
        }
    }
}

}  // namespace
}  // namespace simhost
