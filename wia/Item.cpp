// WIAItemZVK: wraps a WIA 1.0 item (IWiaItem) or a WIA 2.0 item (IWiaItem2).
// An item holds one interface of one generation; methods that exist in both try Handle1 first and
// Handle2 only when Handle1 is 0, except where a method says otherwise. Items and enumerators that a
// method returns have the generation of the item they came from. Failed system calls only set
// Lasterror; nothing here raises.
#include "support/Holders.h"
#include "support/HostString.h"
#include "support/Text.h"
#include "support/Variant.h"
#include "wia/Classes.h"
#include "wia/GUIDClass.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// The published device command and item category identifiers, offered as shared methods.
constexpr GUID kCommandSynchronize = {0x9B26B7B2, 0xACAD, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandTakePicture = {0xAF933CAC, 0xACAD, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandDeleteAllItems = {0xE208C170, 0xACAD, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandChangeDocument = {0x04E725B0, 0xACAE, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandUnloadDocument = {0x1F3B3D8E, 0xACAE, 0x11D2, {0xA0, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xDC, 0x3C}};
constexpr GUID kCommandDiagnostic = {0x10FF52F5, 0xDE04, 0x4CF0, {0xA5, 0xAD, 0x69, 0x1F, 0x8D, 0xCE, 0x01, 0x41}};
constexpr GUID kCategoryFinishedFile = {0xFF2B77CA, 0xCF84, 0x432B, {0xA7, 0x35, 0x3A, 0x13, 0x0D, 0xDE, 0x2A, 0x88}};
constexpr GUID kCategoryFlatbed = {0xFB607B1F, 0x43F3, 0x488B, {0x85, 0x5B, 0xFB, 0x70, 0x3E, 0xC3, 0x42, 0xA6}};
constexpr GUID kCategoryFeeder = {0xFE131934, 0xF84C, 0x42AD, {0x8D, 0xA4, 0x61, 0x29, 0xCD, 0xDD, 0x72, 0x88}};
constexpr GUID kCategoryFilm = {0xFCF65BE7, 0x3CE3, 0x4473, {0xAF, 0x85, 0xF5, 0xD3, 0x7D, 0x21, 0xB6, 0x8A}};
constexpr GUID kCategoryRoot = {0xF193526F, 0x59B8, 0x4A26, {0x98, 0x88, 0xE1, 0x6E, 0x4F, 0x97, 0xCE, 0x10}};
constexpr GUID kCategoryFolder = {0xC692A446, 0x6F5A, 0x481D, {0x85, 0xBB, 0x92, 0xE2, 0xE8, 0x6F, 0xD3, 0x0A}};
constexpr GUID kCategoryFeederFront = {0x4823175C, 0x3B28, 0x487B, {0xA7, 0xE6, 0xEE, 0xBC, 0x17, 0x61, 0x4F, 0xD1}};
constexpr GUID kCategoryFeederBack = {0x61CA74D4, 0x39DB, 0x42AA, {0x89, 0xB1, 0x8C, 0x19, 0xC9, 0xCD, 0x4C, 0x23}};

TwoGenerationData* Begin(REALobject self, const char* label = nullptr) {
    return BeginMethod<TwoGenerationData>(gItemClass, self, label);
}

IWiaItem* Item1Of(const TwoGenerationData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IWiaItem>(data->Handle1);
}

IWiaItem2* Item2Of(const TwoGenerationData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IWiaItem2>(data->Handle2);
}

// A queried interface becomes an object only for code 0; otherwise its reference (if any) goes back.
template <typename Interface>
REALobject WrapOnSuccess(HRESULT hr, Interface* pointer, REALobject (*create)(Interface*)) {
    if (hr == S_OK) return create(pointer);
    if (pointer != nullptr) pointer->Release();
    return nullptr;
}

// DataTransfer as WIADataTransferZVK (WIA 1.0 only)
REALobject DataTransfer(REALobject self) {
    TwoGenerationData* data = Begin(self);
    IWiaItem* item = Item1Of(data);
    if (item == nullptr) return nullptr;
    IWiaDataTransfer* transfer = nullptr;
    HRESULT hr = item->QueryInterface(kIID_IWiaDataTransfer, reinterpret_cast<void**>(&transfer));
    StoreResultWithMessage(data->Lasterror, hr, "QueryInterface");
    return WrapOnSuccess(hr, transfer, NewDataTransferObject);
}

// Transfer as WIATransferZVK (WIA 2.0 only)
REALobject Transfer(REALobject self) {
    TwoGenerationData* data = Begin(self);
    IWiaItem2* item = Item2Of(data);
    if (item == nullptr) return nullptr;
    IWiaTransfer* transfer = nullptr;
    HRESULT hr = item->QueryInterface(kIID_IWiaTransfer, reinterpret_cast<void**>(&transfer));
    StoreResultWithMessage(data->Lasterror, hr, "QueryInterface");
    return WrapOnSuccess(hr, transfer, NewTransferObject);
}

// ItemCategory as WIAGUIDZVK (WIA 2.0 only): a new GUID object for code 0, otherwise nil.
REALobject ItemCategory(REALobject self) {
    TwoGenerationData* data = Begin(self);
    IWiaItem2* item = Item2Of(data);
    if (item == nullptr) return nullptr;
    GUID category{};
    HRESULT hr = item->GetItemCategory(&category);
    StoreResultWithMessage(data->Lasterror, hr, "GetItemCategory");
    return hr == S_OK ? NewGUIDObject(category) : nullptr;
}

// DeviceDialog(WindowHandle as integer, Flags as integer, Intent as integer) as WIAItemZVK() (WIA 1.0):
// one element per item the system returned, nil where it returned none, so indexes match its count.
REALarray DeviceDialog1Handle(REALobject self, int64_t window, int64_t flags, int64_t intent) {
    REALarray result = NewObjectArray(-1);
    TwoGenerationData* data = Begin(self);
    IWiaItem* item = Item1Of(data);
    if (item == nullptr) return result;
    LONG count = 0;
    IWiaItem** items = nullptr;
    HRESULT hr = item->DeviceDlg(WindowFromInteger(window), static_cast<LONG>(flags), static_cast<LONG>(intent), &count, &items);
    data->Lasterror = WidenResult(hr);
    if (items != nullptr) {
        for (LONG i = 0; i < count; ++i) {
            unique_host_object chosen(NewItemObject(items[i]));
            InsertObject(result, i, chosen.get());
        }
        CoTaskMemFree(items);
    }
    return result;
}

// DeviceDialog(Win as window | DesktopWindow, Flags as integer, Intent as integer) as WIAItemZVK()
REALarray DeviceDialog1Window(REALobject self, REALobject window, int64_t flags, int64_t intent) {
    return DeviceDialog1Handle(self, WindowAsInteger(window), flags, intent);
}

// DeviceDialog(Flags as integer, WindowHandle as integer, FolderName as string, Filename as string,
//              paths() as string, items() as WIAItemZVK) (WIA 2.0): the written files' paths go into paths()
// and the chosen item into items(), from index 0 on; a WIA 1.0 item leaves both arrays untouched.
void DeviceDialog2Handle(REALobject self, int64_t flags, int64_t window, REALstring folderName, REALstring fileName,
                         REALarray paths, REALarray items) {
    TwoGenerationData* data = Begin(self, "rbDeviceDlg2");
    IWiaItem2* item = Item2Of(data);
    if (item == nullptr) return;
    BSTRHolder folder(folderName);
    BSTRHolder file(fileName);
    LONG count = 0;
    BSTR* files = nullptr;
    IWiaItem2* chosen = nullptr;
    HRESULT hr = item->DeviceDlg(static_cast<LONG>(flags), WindowFromInteger(window), folder.AsBSTR(), file.AsBSTR(), &count,
                                 &files, &chosen);
    MovePathsInto(paths, files, count);
    if (chosen != nullptr) {
        unique_host_object object(NewItemObject(chosen));
        InsertObject(items, 0, object.get());
    }
    data->Lasterror = WidenResult(hr);
}

// DeviceDialog(Flags as integer, Win as window | DesktopWindow, FolderName as string, Filename as string,
//              paths() as string, items() as WIAItemZVK)
void DeviceDialog2Window(REALobject self, int64_t flags, REALobject window, REALstring folderName, REALstring fileName,
                         REALarray paths, REALarray items) {
    DeviceDialog2Handle(self, flags, WindowAsInteger(window), folderName, fileName, paths, items);
}

// DeviceCommand(command as WIAGUIDZVK) as WIAItemZVK: the item the command produced, or nil.
REALobject DeviceCommand(REALobject self, REALobject command) {
    TwoGenerationData* data = Begin(self);
    const GUID* guid = GUIDOf(command);
    if (data == nullptr || guid == nullptr) return nullptr;
    if (IWiaItem* item = Item1Of(data)) {
        IWiaItem* produced = nullptr;
        StoreResult(data->Lasterror, item->DeviceCommand(0, guid, &produced), nullptr);
        return NewItemObject(produced);
    }
    if (IWiaItem2* item = Item2Of(data)) {
        IWiaItem2* produced = nullptr;
        StoreResult(data->Lasterror, item->DeviceCommand(0, guid, &produced), nullptr);
        return NewItemObject(produced);
    }
    return nullptr;
}

// CreateChildItem(ItemFlags as integer, CreationFlags as integer, ItemName as string, FullItemName as string)
//     as WIAItemZVK: CreationFlags reaches only WIA 2.0, FullItemName only WIA 1.0.
REALobject CreateChildItem(REALobject self, int64_t itemFlags, int64_t creationFlags, REALstring itemName,
                           REALstring fullItemName) {
    TwoGenerationData* data = Begin(self);
    if (IWiaItem* item = Item1Of(data)) {
        BSTRHolder name(itemName);
        BSTRHolder fullName(fullItemName);
        IWiaItem* child = nullptr;
        StoreResult(data->Lasterror,
                    item->CreateChildItem(static_cast<LONG>(itemFlags), name.AsBSTR(), fullName.AsBSTR(), &child), nullptr);
        return NewItemObject(child);
    }
    if (IWiaItem2* item = Item2Of(data)) {
        BSTRHolder name(itemName);
        IWiaItem2* child = nullptr;
        StoreResult(data->Lasterror,
                    item->CreateChildItem(static_cast<LONG>(itemFlags), static_cast<LONG>(creationFlags), name.AsBSTR(), &child),
                    nullptr);
        return NewItemObject(child);
    }
    return nullptr;
}

// DeleteItem: each generation whose handle is set; the object stays alive.
void DeleteItem(REALobject self) {
    TwoGenerationData* data = Begin(self);
    if (IWiaItem* item = Item1Of(data)) StoreResult(data->Lasterror, item->DeleteItem(0), nullptr);
    if (IWiaItem2* item = Item2Of(data)) StoreResult(data->Lasterror, item->DeleteItem(0), nullptr);
}

// AnalyzeItem (WIA 1.0 only)
void AnalyzeItem(REALobject self) {
    TwoGenerationData* data = Begin(self);
    if (IWiaItem* item = Item1Of(data)) StoreResult(data->Lasterror, item->AnalyzeItem(0), nullptr);
}

// FindItemByName(name as string) as WIAItemZVK: an item below this one with that full name, or nil.
REALobject FindItemByName(REALobject self, REALstring name) {
    TwoGenerationData* data = Begin(self);
    if (IWiaItem* item = Item1Of(data)) {
        BSTRHolder fullName(name);
        IWiaItem* found = nullptr;
        StoreResult(data->Lasterror, item->FindItemByName(0, fullName.AsBSTR(), &found), nullptr);
        return NewItemObject(found);
    }
    if (IWiaItem2* item = Item2Of(data)) {
        BSTRHolder fullName(name);
        IWiaItem2* found = nullptr;
        StoreResult(data->Lasterror, item->FindItemByName(0, fullName.AsBSTR(), &found), nullptr);
        return NewItemObject(found);
    }
    return nullptr;
}

// RootItem as WIAItemZVK
REALobject RootItem(REALobject self) {
    TwoGenerationData* data = Begin(self);
    if (IWiaItem* item = Item1Of(data)) {
        IWiaItem* root = nullptr;
        StoreResult(data->Lasterror, item->GetRootItem(&root), nullptr);
        return NewItemObject(root);
    }
    if (IWiaItem2* item = Item2Of(data)) {
        IWiaItem2* root = nullptr;
        StoreResult(data->Lasterror, item->GetRootItem(&root), nullptr);
        return NewItemObject(root);
    }
    return nullptr;
}

// ParentItem as WIAItemZVK (WIA 2.0 only): nil for a root.
REALobject ParentItem(REALobject self) {
    TwoGenerationData* data = Begin(self);
    IWiaItem2* item = Item2Of(data);
    if (item == nullptr) return nullptr;
    IWiaItem2* parent = nullptr;
    StoreResult(data->Lasterror, item->GetParentItem(&parent), nullptr);
    return NewItemObject(parent);
}

// ItemType as integer: the type bits widened with their sign; 0 without a handle.
int64_t ItemType(REALobject self) {
    TwoGenerationData* data = Begin(self);
    LONG type = 0;
    if (IWiaItem* item = Item1Of(data)) {
        StoreResult(data->Lasterror, item->GetItemType(&type), nullptr);
    } else if (IWiaItem2* item2 = Item2Of(data)) {
        StoreResult(data->Lasterror, item2->GetItemType(&type), nullptr);
    }
    return static_cast<int64_t>(type);
}

// PropertyStorage as WIAPropertyStorageZVK: a failed query on Handle1 falls through to Handle2.
// Lasterror stays -1 whatever the queries answer.
REALobject PropertyStorage(REALobject self) {
    TwoGenerationData* data = Begin(self);
    IUnknown* items[] = {Item1Of(data), Item2Of(data)};
    for (IUnknown* item : items) {
        if (item == nullptr) continue;
        IWiaPropertyStorage* storage = nullptr;
        HRESULT hr = item->QueryInterface(kIID_IWiaPropertyStorage, reinterpret_cast<void**>(&storage));
        if (SUCCEEDED(hr)) return NewPropertyStorageObject(storage);
        if (storage != nullptr) storage->Release();
    }
    return nullptr;
}

// EnumerateDeviceCapabilities(Flags as integer) as WIADeviceCapabilitiesEnumeratorZVK: an enumerator only
// for code 0; any other code on Handle1 falls through to Handle2.
REALobject EnumerateDeviceCapabilities(REALobject self, int64_t flags) {
    TwoGenerationData* data = Begin(self);
    if (IWiaItem* item = Item1Of(data)) {
        IEnumWIA_DEV_CAPS* capabilities = nullptr;
        HRESULT hr = item->EnumDeviceCapabilities(static_cast<LONG>(flags), &capabilities);
        StoreResult(data->Lasterror, hr, nullptr);
        if (hr == S_OK) return NewDeviceCapabilitiesEnumeratorObject(capabilities);
        if (capabilities != nullptr) capabilities->Release();
    }
    if (IWiaItem2* item = Item2Of(data)) {
        IEnumWIA_DEV_CAPS* capabilities = nullptr;
        HRESULT hr = item->EnumDeviceCapabilities(static_cast<LONG>(flags), &capabilities);
        StoreResult(data->Lasterror, hr, nullptr);
        return WrapOnSuccess(hr, capabilities, NewDeviceCapabilitiesEnumeratorObject);
    }
    return nullptr;
}

// EnumerateChildItems(CategoryGUID as WIAGUIDZVK=nil) as WIAItemEnumeratorZVK: Handle2 first, with the
// category (nil: all children); any code but 0 there falls through to Handle1, which knows no category.
REALobject EnumerateChildItems(REALobject self, REALobject categoryGUID) {
    TwoGenerationData* data = Begin(self);
    if (IWiaItem2* item = Item2Of(data)) {
        IEnumWiaItem2* children = nullptr;
        HRESULT hr = item->EnumChildItems(GUIDOf(categoryGUID), &children);
        StoreResult(data->Lasterror, hr, nullptr);
        if (hr == S_OK) return NewItemEnumeratorObject(children);
        if (children != nullptr) children->Release();
    }
    if (IWiaItem* item = Item1Of(data)) {
        IEnumWiaItem* children = nullptr;
        HRESULT hr = item->EnumChildItems(&children);
        StoreResult(data->Lasterror, hr, nullptr);
        return WrapOnSuccess<IEnumWiaItem>(hr, children, NewItemEnumeratorObject);
    }
    return nullptr;
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Handle1",   "Integer",    1),
    BoundProperty("Handle2",   "Integer",    2),
    BoundProperty("Lasterror", "Integer",    3),
};
// clang-format on

// clang-format off
ConstantDefinition kConstants[] = {
    Constant("kDeviceCommands = 1"),
    Constant("kDeviceEvents = 2"),
    Constant("kSelectDeviceNoDefault = 1"),
    Constant("kDeviceDialogSingleImage = 2"),
    Constant("kDeviceDialogUseCommonUI = 4"),
    Constant("kIntentNone = 0"),
    Constant("kIntentImageTypeColor = 1"),
    Constant("kIntentImageTypeGrayscale = 2"),
    Constant("kIntentImageTypeText = 4"),
    Constant("kIntentImageTypeMask = &hF"),
    Constant("kIntentMinimizeSize = &h10000"),
    Constant("kIntentMaximizeQuality = &h20000"),
    Constant("kIntentBestPreview = &h40000"),
    Constant("kIntentSizeMask = &hF0000"),
    Constant("kTypeFree = &h00000000"),
    Constant("kTypeImage = &h00000001"),
    Constant("kTypeFile = &h00000002"),
    Constant("kTypeFolder = &h00000004"),
    Constant("kTypeRoot = &h00000008"),
    Constant("kTypeAnalyze = &h00000010"),
    Constant("kTypeAudio = &h00000020"),
    Constant("kTypeDevice = &h00000040"),
    Constant("kTypeDeleted = &h00000080"),
    Constant("kTypeDisconnected = &h00000100"),
    Constant("kTypeHPanorama = &h00000200"),
    Constant("kTypeVPanorama = &h00000400"),
    Constant("kTypeBurst = &h00000800"),
    Constant("kTypeStorage = &h00001000"),
    Constant("kTypeTransfer = &h00002000"),
    Constant("kTypeGenerated = &h00004000"),
    Constant("kTypeHasAttachments = &h00008000"),
    Constant("kTypeVideo = &h00010000"),
};
// clang-format on

// The DesktopWindow overloads stay last: hosts before 2021.03 never see them.
// clang-format off
MethodDefinition kMethods[] = {
    Method(DataTransfer, "DataTransfer as WIADataTransferZVK"),
    Method(DeviceDialog1Window, "DeviceDialog(Win as window, Flags as integer, Intent as integer) as WIAItemZVK()", kWindowMethodFlags),
    Method(DeviceDialog1Handle, "DeviceDialog(WindowHandle as integer, Flags as integer, Intent as integer) as WIAItemZVK()"),
    Method(ItemCategory, "ItemCategory as WIAGUIDZVK"),
    Method(Transfer, "Transfer as WIATransferZVK"),
    Method(DeviceDialog2Window, "DeviceDialog(Flags as integer, Win as window, FolderName as string, Filename as string, paths() as string, items() as WIAItemZVK)", kWindowMethodFlags),
    Method(DeviceDialog2Handle, "DeviceDialog(Flags as integer, WindowHandle as integer, FolderName as string, Filename as string, paths() as string, items() as WIAItemZVK)"),
    Method(DeviceCommand, "DeviceCommand(command as WIAGUIDZVK) as WIAItemZVK"),
    Method(CreateChildItem, "CreateChildItem(ItemFlags as integer, CreationFlags as integer, ItemName as string, FullItemName as string) as WIAItemZVK"),
    Method(DeleteItem, "DeleteItem"),
    Method(AnalyzeItem, "AnalyzeItem"),
    Method(FindItemByName, "FindItemByName(name as string) as WIAItemZVK"),
    Method(RootItem, "RootItem as WIAItemZVK"),
    Method(ParentItem, "ParentItem as WIAItemZVK"),
    Method(ItemType, "ItemType as integer"),
    Method(PropertyStorage, "PropertyStorage as WIAPropertyStorageZVK"),
    Method(EnumerateChildItems, "EnumerateChildItems(CategoryGUID as WIAGUIDZVK=nil) as WIAItemEnumeratorZVK"),
    Method(EnumerateDeviceCapabilities, "EnumerateDeviceCapabilities(Flags as integer) as WIADeviceCapabilitiesEnumeratorZVK"),
    Method(DeviceDialog1Window, "DeviceDialog(Win as DesktopWindow, Flags as integer, Intent as integer) as WIAItemZVK()", kWindowMethodFlags),
    Method(DeviceDialog2Window, "DeviceDialog(Flags as integer, Win as DesktopWindow, FolderName as string, Filename as string, paths() as string, items() as WIAItemZVK)", kWindowMethodFlags),
};
// clang-format on

// clang-format off
MethodDefinition kSharedMethods[] = {
    Method(GUIDConstant<kCommandSynchronize>,    "kCommandSynchronize as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandTakePicture>,    "kCommandTakePicture as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandDeleteAllItems>, "kCommandDeleteAllItems as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandChangeDocument>, "kCommandChangeDocument as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandUnloadDocument>, "kCommandUnloadDocument as WIAGUIDZVK"),
    Method(GUIDConstant<kCommandDiagnostic>,     "kCommandDiagnostic as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFinishedFile>,  "kCategoryFinishedFile as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFlatbed>,       "kCategoryFlatbed as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFeeder>,        "kCategoryFeeder as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFilm>,          "kCategoryFilm as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryRoot>,          "kCategoryRoot as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFolder>,        "kCategoryFolder as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFeederFront>,   "kCategoryFeederFront as WIAGUIDZVK"),
    Method(GUIDConstant<kCategoryFeederBack>,    "kCategoryFeederBack as WIAGUIDZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gItemClass = ClassBuilder("WIAItemZVK", sizeof(TwoGenerationData))
                                 .Destructor(ItemDestructor)
                                 .Properties(kProperties)
                                 .Methods(kMethods)
                                 .Constants(kConstants)
                                 .SharedMethods(kSharedMethods);

}  // namespace zvk
