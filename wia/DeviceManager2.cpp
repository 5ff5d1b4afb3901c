// WIADeviceManager2ZVK: wraps the WIA 2.0 device manager, IWiaDevMgr2. Devices it opens are WIA 2.0
// items. Its shared property Debugging switches the diagnostics log for the whole library.
#include <iterator>

#include "wia/Classes.h"
#include "support/Variant.h"
#include "wia/DeviceManagers.h"

namespace zvk {
namespace {

struct Wia2 {
    using Manager = IWiaDevMgr2;
    using Item = IWiaItem2;
    static constexpr const CLSID& kClassId = kCLSID_WiaDevMgr2;
    static constexpr const IID& kInterfaceId = kIID_IWiaDevMgr2;
    static constexpr const char* kCreateLabel = "CoCreateInstance with CLSID_WiaDevMgr2";
    static constexpr const char* kHandleLabel = "handle2";
    static constexpr const char* kCreateDeviceLabel = "handle2->CreateDevice";
    static ClassDefinition& Class() { return gDeviceManager2Class; }
    static HRESULT CreateDevice(IWiaDevMgr2* manager, BSTR id, IWiaItem2** root) { return manager->CreateDevice(0, id, root); }
    static void LogCreatedRoot(IWiaItem2*) {}
};

using Manager2 = DeviceManager<Wia2>;

// GetImageDialog(Flags as integer, DeviceID as string, parentWindowHandle as integer, FolderName as String,
//                Filename as String, byref item as WIAItemZVK) as string()
REALarray GetImageDialogHandle(REALobject self, int64_t flags, REALstring deviceId, int64_t window, REALstring folderName,
                               REALstring fileName, REALobject* item) {
    if (DebugLoggingEnabled) {
        DebugLog("rbGetImageDlg2");
        DebugLogInt64("Flags", flags);
        DebugLogHostString("DeviceID", deviceId);
        DebugLogInt64("window", window);
        DebugLogHostString("FolderName", folderName);
        DebugLogHostString("Filename", fileName);
    }
    REALarray paths = NewStringArray(-1);
    if (item != nullptr && *item != nullptr) {
        host::UnlockObject(*item);
        *item = nullptr;
    }
    InterfaceData* data = Manager2::Begin(self, nullptr);
    IWiaDevMgr2* manager = Manager2::ManagerOf(data);
    if (manager == nullptr) return paths;
    BSTRHolder folder(folderName);
    BSTRHolder device(deviceId);
    BSTRHolder file(fileName);
    LONG count = 0;
    BSTR* files = nullptr;
    IWiaItem2* chosen = nullptr;
    HRESULT hr = manager->GetImageDlg(static_cast<LONG>(flags), device.AsBSTR(), WindowFromInteger(window), folder.AsBSTR(),
                                      file.AsBSTR(), &count, &files, &chosen);
    MovePathsInto(paths, files, count);
    REALobject result = NewItemObject(chosen);
    if (item != nullptr) {
        *item = result;
    } else {
        host::UnlockObject(result);
    }
    data->Lasterror = WidenResult(hr);
    return paths;
}

// GetImageDialog(Flags as integer, DeviceID as string, parentWindow as window | DesktopWindow, ...) as string()
REALarray GetImageDialogWindow(REALobject self, int64_t flags, REALstring deviceId, REALobject window, REALstring folderName,
                               REALstring fileName, REALobject* item) {
    if (DebugLoggingEnabled) DebugLog("rbGetImageDlgWin2");
    return GetImageDialogHandle(self, flags, deviceId, WindowAsInteger(window), folderName, fileName, item);
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer", 0),
    BoundProperty("Lasterror", "Integer", 1),
};
// clang-format on

// clang-format off
AttributeDefinition kHidden[] = {
    {"Hidden", ""},
};
// clang-format on

// clang-format off
PropertyDefinition kSharedProperties[] = {
    {nullptr, "Debugging", "Boolean", kSharedPropertyFlags, 0, Fn(DebuggingGetter), Fn(DebuggingSetter), 0, 0, 0, 0,
     std::size(kHidden), kHidden},
};
// clang-format on

// The DesktopWindow overloads stay last: hosts before 2021.03 never see them.
// clang-format off
MethodDefinition kMethods[] = {
    Method(Manager2::SelectDeviceDialogIDWindow, "SelectDeviceDialogID(parentWindow as window, DeviceType as integer, Flags as integer) as string", kWindowMethodFlags),
    Method(Manager2::SelectDeviceDialogIDHandle, "SelectDeviceDialogID(parentWindowHandle as integer, DeviceType as integer, Flags as integer) as string"),
    Method(Manager2::SelectDeviceDialogWindowById, "SelectDeviceDialog(parentWindow as window, DeviceType as integer, Flags as integer, byref DeviceID as string) as WIAItemZVK", kWindowMethodFlags),
    Method(Manager2::SelectDeviceDialogWindow, "SelectDeviceDialog(parentWindow as window, DeviceType as integer, Flags as integer) as WIAItemZVK", kWindowMethodFlags),
    Method(Manager2::SelectDevice, "SelectDeviceDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer, byref DeviceID as string) as WIAItemZVK"),
    Method(Manager2::SelectDeviceDialogHandle, "SelectDeviceDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer) as WIAItemZVK"),
    Method(Manager2::CreateDevice, "CreateDevice(DeviceID as string) as WIAItemZVK"),
    Method(Manager2::Constructor, "Constructor"),
    Method(Manager2::EnumDeviceInfo, "EnumDeviceInfo(flags as integer = &h10) as WIADeviceInfoEnumeratorZVK"),
    Method(GetImageDialogWindow, "GetImageDialog(Flags as integer, DeviceID as string, parentWindow as window, FolderName as String, Filename as String, byref item as WIAItemZVK) as string()", kWindowMethodFlags),
    Method(GetImageDialogHandle, "GetImageDialog(Flags as integer, DeviceID as string, parentWindowHandle as integer, FolderName as String, Filename as String, byref item as WIAItemZVK) as string()"),
    Method(Manager2::SelectDeviceDialogIDWindow, "SelectDeviceDialogID(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer) as string", kWindowMethodFlags),
    Method(Manager2::SelectDeviceDialogWindowById, "SelectDeviceDialog(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer, byref DeviceID as string) as WIAItemZVK", kWindowMethodFlags),
    Method(Manager2::SelectDeviceDialogWindow, "SelectDeviceDialog(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer) as WIAItemZVK", kWindowMethodFlags),
    Method(GetImageDialogWindow, "GetImageDialog(Flags as integer, DeviceID as string, parentWindow as DesktopWindow, FolderName as String, Filename as String, byref item as WIAItemZVK) as string()", kWindowMethodFlags),
};
// clang-format on

}  // namespace

ClassDefinition gDeviceManager2Class = ClassBuilder("WIADeviceManager2ZVK", sizeof(InterfaceData))
                                           .Destructor(DeviceManager2Destructor)
                                           .Properties(kProperties)
                                           .Methods(kMethods)
                                           .Constants(gDeviceManagerConstants)
                                           .SharedProperties(kSharedProperties);

}  // namespace zvk
