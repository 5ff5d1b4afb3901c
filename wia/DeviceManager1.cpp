// WIADeviceManager1ZVK: wraps the WIA 1.0 device manager, IWiaDevMgr. Devices it opens are WIA 1.0 items.
#include "wia/DeviceManagers.h"

#include "wia/Classes.h"

namespace zvk {
namespace {

struct Wia1 {
    using Manager = IWiaDevMgr;
    using Item = IWiaItem;
    static constexpr const CLSID& kClassId = kCLSID_WiaDevMgr;
    static constexpr const IID& kInterfaceId = kIID_IWiaDevMgr;
    static constexpr const char* kCreateLabel = "CoCreateInstance with CLSID_WiaDevMgr";
    static constexpr const char* kHandleLabel = "handle1";
    static constexpr const char* kCreateDeviceLabel = "handle1->CreateDevice";
    static ClassDefinition& Class() { return gDeviceManager1Class; }
    static HRESULT CreateDevice(IWiaDevMgr* manager, BSTR id, IWiaItem** root) { return manager->CreateDevice(id, root); }
    static void LogCreatedRoot(IWiaItem* root) { DebugLogPointer("g", root); }
};

using Manager1 = DeviceManager<Wia1>;

// GetImageDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer, Intent as integer,
//                file as folderitem, rootitem as WIAItemZVK=nil)
void GetImageDialogHandle(REALobject self, int64_t window, int64_t deviceType, int64_t flags, int64_t intent, REALobject file,
                          REALobject rootItem) {
    if (DebugLoggingEnabled) {
        DebugLog("rbGetImageDlg");
        DebugLogInt64("window", window);
        DebugLogInt64("DeviceType", deviceType);
        DebugLogInt64("Flags", flags);
        DebugLogInt64("Intent", intent);
        DebugLogPointer("file", file);
        DebugLogPointer("root", rootItem);
    }
    if (file == nullptr) return RaiseNil("file", "file parameter is nil");
    InterfaceData* data = Manager1::Begin(self, nullptr);
    IWiaDevMgr* manager = Manager1::ManagerOf(data);
    if (manager == nullptr) return;
    IWiaItem* root = ItemHandleOf(rootItem);
    FolderItemPath path(file);
    const wchar_t* text = path.UnixFilePathUTF16();
    unique_bstr fileName(text != nullptr ? SysAllocString(text) : nullptr);
    if (text != nullptr && fileName.get() == nullptr) {
        data->Lasterror = WidenResult(E_OUTOFMEMORY);
        return;
    }
    GUID format = {};
    HRESULT hr = manager->GetImageDlg(WindowFromInteger(window), static_cast<LONG>(deviceType), static_cast<LONG>(flags),
                                      static_cast<LONG>(intent), root, fileName.get(), &format);
    data->Lasterror = WidenResult(hr);
}

// GetImageDialog(parentWindow as window | DesktopWindow, ...)
void GetImageDialogWindow(REALobject self, REALobject window, int64_t deviceType, int64_t flags, int64_t intent, REALobject file,
                          REALobject rootItem) {
    if (DebugLoggingEnabled) DebugLog("rbGetImageDlgWin");
    GetImageDialogHandle(self, WindowAsInteger(window), deviceType, flags, intent, file, rootItem);
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer", 0),
    BoundProperty("Lasterror", "Integer", 1),
};
// clang-format on

// The DesktopWindow overloads stay last: hosts before 2021.03 never see them.
// clang-format off
MethodDefinition kMethods[] = {
    Method(Manager1::SelectDeviceDialogIDWindow, "SelectDeviceDialogID(parentWindow as window, DeviceType as integer, Flags as integer) as string", kWindowMethodFlags),
    Method(Manager1::SelectDeviceDialogIDHandle, "SelectDeviceDialogID(parentWindowHandle as integer, DeviceType as integer, Flags as integer) as string"),
    Method(Manager1::SelectDeviceDialogWindowById, "SelectDeviceDialog(parentWindow as window, DeviceType as integer, Flags as integer, byref DeviceID as string) as WIAItemZVK", kWindowMethodFlags),
    Method(Manager1::SelectDeviceDialogWindow, "SelectDeviceDialog(parentWindow as window, DeviceType as integer, Flags as integer) as WIAItemZVK", kWindowMethodFlags),
    Method(Manager1::SelectDevice, "SelectDeviceDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer, byref DeviceID as string) as WIAItemZVK"),
    Method(Manager1::SelectDeviceDialogHandle, "SelectDeviceDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer) as WIAItemZVK"),
    Method(Manager1::CreateDevice, "CreateDevice(DeviceID as string) as WIAItemZVK"),
    Method(Manager1::Constructor, "Constructor"),
    Method(Manager1::EnumDeviceInfo, "EnumDeviceInfo(flags as integer = &h10) as WIADeviceInfoEnumeratorZVK"),
    Method(GetImageDialogWindow, "GetImageDialog(parentWindow as window, DeviceType as integer, Flags as integer, Intent as integer, file as folderitem, rootitem as WIAItemZVK=nil)", kWindowMethodFlags),
    Method(GetImageDialogHandle, "GetImageDialog(parentWindowHandle as integer, DeviceType as integer, Flags as integer, Intent as integer, file as folderitem, rootitem as WIAItemZVK=nil)"),
    Method(GetImageDialogWindow, "GetImageDialog(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer, Intent as integer, file as folderitem, rootitem as WIAItemZVK=nil)", kWindowMethodFlags),
    Method(Manager1::SelectDeviceDialogIDWindow, "SelectDeviceDialogID(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer) as string", kWindowMethodFlags),
    Method(Manager1::SelectDeviceDialogWindowById, "SelectDeviceDialog(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer, byref DeviceID as string) as WIAItemZVK", kWindowMethodFlags),
    Method(Manager1::SelectDeviceDialogWindow, "SelectDeviceDialog(parentWindow as DesktopWindow, DeviceType as integer, Flags as integer) as WIAItemZVK", kWindowMethodFlags),
};
// clang-format on

}  // namespace

// Shared with WIADeviceManager2ZVK.
// clang-format off
ConstantDefinition gDeviceManagerConstants[kDeviceManagerConstantCount] = {
    Constant("kEnumLocal = 16"),
    Constant("kEnumAll = 15"),
    Constant("kIntentNone = 0"),
    Constant("kIntentImageTypeColor = 1"),
    Constant("kIntentImageTypeGrayscale = 2"),
    Constant("kIntentImageTypeText = 4"),
    Constant("kIntentImageTypeMask = &hF"),
    Constant("kIntentMinimizeSize = &h10000"),
    Constant("kIntentMaximizeQuality = &h20000"),
    Constant("kIntentBestPreview = &h40000"),
    Constant("kIntentSizeMask = &hF0000"),
    Constant("kDeviceTypeDefault = 0"),
    Constant("kDeviceTypeScanner = 1"),
    Constant("kDeviceTypeDigitalCamera = 2"),
    Constant("kDeviceTypeStreamingVideo = 3"),
    Constant("kSelectDeviceNoDefault = 1"),
    Constant("kDeviceDialogSingleImage = 2"),
    Constant("kDeviceDialogUseCommonUI = 4"),
};
// clang-format on

ClassDefinition gDeviceManager1Class = ClassBuilder("WIADeviceManager1ZVK", sizeof(InterfaceData))
                                           .Destructor(DeviceManager1Destructor)
                                           .Properties(kProperties)
                                           .Methods(kMethods)
                                           .Constants(gDeviceManagerConstants);

}  // namespace zvk
