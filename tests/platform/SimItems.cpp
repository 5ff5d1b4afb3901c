// SimItems.cpp - the items of both generations. A WIA 1.0 item answers IWiaItem, IWiaPropertyStorage and
// IWiaDataTransfer; a WIA 2.0 item IWiaItem2, IWiaPropertyStorage and IWiaTransfer. Each object stands for one node
// of its device's tree and shares the node's property table; every call makes new objects for the items it returns.
// Item dialogs follow SetItemDialogAnswer() and a camera takes pictures; WIA 1.0 transfers are in SimDataTransfer.cpp;
// WIA 2.0 transfers in SimTransfer2.cpp; tree changes and other commands are not simulated yet (E_NOTIMPL or the
// planned result).
#include "tests/platform/SimModel.h"

namespace simwia {
namespace {

constexpr GUID kTakePicture = {0xaf933cac, 0xacad, 0x11d2, {0xa0, 0x93, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c}};

class ItemObject : public PropertyOwner {
public:
    ItemObject(Generation generation, DevicePtr device, ItemNode* node)
        : PropertyOwner(node->props), generation_(generation), device_(std::move(device)), node_(node) {
        if (generation == kWia1) {
            AddInterface(&item_, "IWiaItem", kSimIID_IWiaItem, Item1Vtable());
            AddStorageInterface(&storage_);
            AddInterface(&transfer_, "IWiaDataTransfer", kSimIID_IWiaDataTransfer, DataTransferVtable());
        } else {
            AddInterface(&item_, "IWiaItem2", kSimIID_IWiaItem2, Item2Vtable());
            AddStorageInterface(&storage_);
            AddInterface(&transfer_, "IWiaTransfer", kSimIID_IWiaTransfer, TransferVtable());
        }
    }

    Generation generation() const { return generation_; }
    const DevicePtr& device() const { return device_; }
    ItemNode* node() const { return node_; }

    static const Slot* Item1Vtable();
    static const Slot* Item2Vtable();
    static const Slot* DataTransferVtable();
    static const Slot* TransferVtable();

private:
    Generation generation_;
    DevicePtr device_;
    ItemNode* node_;  // owned by device_
    Interface item_{};
    Interface storage_{};
    Interface transfer_{};
};

ItemObject& Of(Interface* self) {
    return *static_cast<ItemObject*>(self->owner);
}

IUnknown* Sibling(Interface* self, ItemNode* node) {
    return NewItem(Of(self).generation(), Of(self).device(), node);
}

HRESULT ChildEnum(Interface* self, const GUID* category, IUnknown** ppEnum) {
    ItemObject& item = Of(self);
    if ((item.node()->type & WiaItemTypeFolder) == 0) return E_INVALIDARG;
    std::vector<ItemRef> children;
    for (const auto& child : item.node()->children) {
        if (category == nullptr || IsEqualGUID(*category, child->category)) children.push_back({item.device(), child.get()});
    }
    *ppEnum = NewItemEnum(item.generation(), std::move(children));
    return S_OK;
}

ItemNode* FindBelow(ItemNode* node, const wchar_t* fullName) {
    if (node->fullName == fullName) return node;
    for (const auto& child : node->children) {
        if (ItemNode* found = FindBelow(child.get(), fullName)) return found;
    }
    return nullptr;
}

// --- methods of both generations (logged under the interface the call came through) -----------------------------

HRESULT STDMETHODCALLTYPE GetItemType(Interface* self, LONG* pItemType) {
    HRESULT hr;
    if (Intercept(self, "GetItemType", &hr)) return hr;
    if (pItemType == nullptr) return E_POINTER;
    *pItemType = Of(self).node()->type;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DeleteItem(Interface* self, LONG lFlags) {
    Record(self, "DeleteItem").flags = lFlags;
    return Stub(self, "DeleteItem");
}

// S_FALSE and no item when nothing below this item has that full name.
HRESULT STDMETHODCALLTYPE FindItemByName(Interface* self, LONG lFlags, BSTR bstrFullItemName, IUnknown** ppItem) {
    Call& call = Record(self, "FindItemByName");
    call.flags = lFlags;
    call.fullItemName = TextOf(bstrFullItemName);
    HRESULT hr;
    if (Intercept(self, "FindItemByName", &hr)) return hr;
    if (ppItem == nullptr) return E_POINTER;
    *ppItem = nullptr;
    if (bstrFullItemName == nullptr) return E_INVALIDARG;
    ItemNode* found = FindBelow(Of(self).node(), bstrFullItemName);
    if (found == nullptr) return S_FALSE;
    *ppItem = Sibling(self, found);
    return S_OK;
}

// WIA_CMD_TAKE_PICTURE on a device other than a scanner adds a picture below the root and returns it.
HRESULT STDMETHODCALLTYPE DeviceCommand(Interface* self, LONG lFlags, const GUID* pCmdGUID, IUnknown** ppItem) {
    Call& call = Record(self, "DeviceCommand");
    call.flags = lFlags;
    if (pCmdGUID != nullptr) call.guid = *pCmdGUID;
    HRESULT hr;
    if (Intercept(self, "DeviceCommand", &hr)) return hr;
    if (ppItem == nullptr) return E_POINTER;
    *ppItem = nullptr;
    Device& device = *Of(self).device();
    if (pCmdGUID == nullptr || !IsEqualGUID(*pCmdGUID, kTakePicture) || device.stiType == 1) return E_NOTIMPL;
    *ppItem = Sibling(self, AddTakenPicture(device));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetRootItem(Interface* self, IUnknown** ppItem) {
    HRESULT hr;
    if (Intercept(self, "GetRootItem", &hr)) return hr;
    if (ppItem == nullptr) return E_POINTER;
    *ppItem = Sibling(self, Of(self).device()->root.get());
    return S_OK;
}

// lFlags WIA_DEVICE_COMMANDS (1) lists the commands, WIA_DEVICE_EVENTS (2) the events; neither is E_INVALIDARG.
HRESULT STDMETHODCALLTYPE EnumDeviceCapabilities(Interface* self, LONG lFlags, IUnknown** ppEnum) {
    Record(self, "EnumDeviceCapabilities").flags = lFlags;
    HRESULT hr;
    if (Intercept(self, "EnumDeviceCapabilities", &hr)) return hr;
    if (ppEnum == nullptr) return E_POINTER;
    *ppEnum = nullptr;
    if ((lFlags & (WIA_DEVICE_COMMANDS | WIA_DEVICE_EVENTS)) == 0) return E_INVALIDARG;
    std::vector<Capability> caps;
    for (const Capability& cap : Of(self).device()->caps) {
        if ((lFlags & (cap.event ? WIA_DEVICE_EVENTS : WIA_DEVICE_COMMANDS)) != 0) caps.push_back(cap);
    }
    *ppEnum = NewCapsEnum(std::move(caps));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumRegisterEventInfo(Interface* self, LONG, const GUID*, IUnknown**) {
    return Stub(self, "EnumRegisterEventInfo");
}

HRESULT STDMETHODCALLTYPE Diagnostic(Interface* self, ULONG, BYTE*) {
    return Stub(self, "Diagnostic");
}

// --- IWiaItem only ---------------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE AnalyzeItem(Interface* self, LONG lFlags) {
    Record(self, "AnalyzeItem").flags = lFlags;
    return Stub(self, "AnalyzeItem");
}

HRESULT STDMETHODCALLTYPE Item1EnumChildItems(Interface* self, IUnknown** ppEnum) {
    HRESULT hr;
    if (Intercept(self, "EnumChildItems", &hr)) return hr;
    if (ppEnum == nullptr) return E_POINTER;
    *ppEnum = nullptr;
    return ChildEnum(self, nullptr, ppEnum);
}

HRESULT STDMETHODCALLTYPE Item1CreateChildItem(Interface* self, LONG lFlags, BSTR bstrItemName, BSTR bstrFullItemName,
                                               IUnknown** /*ppItem*/) {
    Call& call = Record(self, "CreateChildItem");
    call.flags = lFlags;
    call.itemName = TextOf(bstrItemName);
    call.fullItemName = TextOf(bstrFullItemName);
    return Stub(self, "CreateChildItem");
}

// One entry per pick of the answer: the item's children in turn (the item itself without children), or null, in a
// CoTaskMemAlloc array the caller frees ("DEVICEDIALOGDATA structure").
HRESULT STDMETHODCALLTYPE Item1DeviceDlg(Interface* self, HWND hwndParent, LONG lFlags, LONG lIntent, LONG* plCount,
                                         IUnknown*** pppItems) {
    Call& call = Record(self, "DeviceDlg");
    call.window = hwndParent;
    call.flags = lFlags;
    call.intent = lIntent;
    call.outputsClear = plCount != nullptr && *plCount == 0 && pppItems != nullptr && *pppItems == nullptr;
    HRESULT hr;
    if (Intercept(self, "DeviceDlg", &hr)) return hr;
    if (plCount == nullptr || pppItems == nullptr) return E_POINTER;
    *plCount = 0;
    *pppItems = nullptr;
    const ItemDialogAnswer& answer = CurrentItemDialogAnswer();
    if (answer.hr != S_OK || answer.picks.empty()) return answer.hr;
    ItemNode* node = Of(self).node();
    auto* items =
        HandOut(static_cast<IUnknown**>(CoTaskMemAlloc(answer.picks.size() * sizeof(IUnknown*))), MethodName(self, "DeviceDlg"));
    size_t next = 0;
    for (size_t i = 0; i < answer.picks.size(); ++i) {
        ItemNode* pick = node->children.empty() ? node : node->children[next++ % node->children.size()].get();
        items[i] = answer.picks[i] ? Sibling(self, pick) : nullptr;
    }
    *plCount = static_cast<LONG>(answer.picks.size());
    *pppItems = items;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DumpItemData(Interface* self, BSTR*) {
    return Stub(self, "DumpItemData");
}

HRESULT STDMETHODCALLTYPE DumpDrvItemData(Interface* self, BSTR*) {
    return Stub(self, "DumpDrvItemData");
}

HRESULT STDMETHODCALLTYPE DumpTreeItemData(Interface* self, BSTR*) {
    return Stub(self, "DumpTreeItemData");
}

// --- IWiaItem2 only --------------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE Item2CreateChildItem(Interface* self, LONG lItemFlags, LONG lCreationFlags, BSTR bstrItemName,
                                               IUnknown** /*ppItem*/) {
    Call& call = Record(self, "CreateChildItem");
    call.flags = lItemFlags;
    call.creationFlags = lCreationFlags;
    call.itemName = TextOf(bstrItemName);
    return Stub(self, "CreateChildItem");
}

// A null category lists every child; otherwise only the children of that category.
HRESULT STDMETHODCALLTYPE Item2EnumChildItems(Interface* self, const GUID* pCategoryGUID, IUnknown** ppEnum) {
    Call& call = Record(self, "EnumChildItems");
    if (pCategoryGUID != nullptr) call.guid = *pCategoryGUID;
    HRESULT hr;
    if (Intercept(self, "EnumChildItems", &hr)) return hr;
    if (ppEnum == nullptr) return E_POINTER;
    *ppEnum = nullptr;
    return ChildEnum(self, pCategoryGUID, ppEnum);
}

HRESULT STDMETHODCALLTYPE GetItemCategory(Interface* self, GUID* pCategory) {
    HRESULT hr;
    if (Intercept(self, "GetItemCategory", &hr)) return hr;
    if (pCategory == nullptr) return E_POINTER;
    *pCategory = Of(self).node()->category;
    return S_OK;
}

// Writes the answer's files "<folder>\<filename>.bmp", "<folder>\<filename> (2).bmp" ... and returns their paths (as
// GetImageDlg does: "DEVICEDIALOGDATA2 structure") and, when the first pick is true, the item's first child (the item
// itself without children).
HRESULT STDMETHODCALLTYPE Item2DeviceDlg(Interface* self, LONG lFlags, HWND hwndParent, BSTR bstrFolderName, BSTR bstrFilename,
                                         LONG* plNumFiles, BSTR** ppbstrFilePaths, IUnknown** ppItem) {
    Call& call = Record(self, "DeviceDlg");
    call.flags = lFlags;
    call.window = hwndParent;
    call.filename = TextOf(bstrFilename);
    call.outputsClear = plNumFiles != nullptr && *plNumFiles == 0 && ppbstrFilePaths != nullptr && *ppbstrFilePaths == nullptr &&
                        ppItem != nullptr && *ppItem == nullptr;
    HRESULT hr;
    if (Intercept(self, "DeviceDlg", &hr)) return hr;
    if (plNumFiles == nullptr || ppbstrFilePaths == nullptr || ppItem == nullptr) return E_POINTER;
    *plNumFiles = 0;
    *ppbstrFilePaths = nullptr;
    *ppItem = nullptr;
    const ItemDialogAnswer& answer = CurrentItemDialogAnswer();
    if (answer.hr != S_OK) return answer.hr;
    if (bstrFolderName == nullptr || bstrFilename == nullptr) return E_INVALIDARG;
    std::wstring stem = bstrFolderName;
    if (!stem.empty() && stem.back() != L'\\') stem += L'\\';
    stem += bstrFilename;
    std::vector<std::wstring> paths;
    for (int i = 0; i < answer.files; ++i) {
        paths.push_back(stem + (i == 0 ? L"" : L" (" + std::to_wstring(i + 1) + L")") + L".bmp");
        hr = WriteSampleImage(paths.back());
        if (FAILED(hr)) return hr;
    }
    if (!paths.empty()) {
        const std::string from = MethodName(self, "DeviceDlg");
        *ppbstrFilePaths = HandOut(static_cast<BSTR*>(CoTaskMemAlloc(paths.size() * sizeof(BSTR))), from);
        for (size_t i = 0; i < paths.size(); ++i) (*ppbstrFilePaths)[i] = HandOutBstr(SysAllocString(paths[i].c_str()), from);
    }
    *plNumFiles = static_cast<LONG>(paths.size());
    if (!answer.picks.empty() && answer.picks.front()) {
        ItemNode* node = Of(self).node();
        *ppItem = Sibling(self, node->children.empty() ? node : node->children.front().get());
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CheckExtension(Interface* self, LONG, BSTR, REFIID, BOOL*) {
    return Stub(self, "CheckExtension");
}

HRESULT STDMETHODCALLTYPE GetExtension(Interface* self, LONG, BSTR, REFIID, void**) {
    return Stub(self, "GetExtension");
}

// The root has no parent: S_FALSE and no item.
HRESULT STDMETHODCALLTYPE GetParentItem(Interface* self, IUnknown** ppItem) {
    HRESULT hr;
    if (Intercept(self, "GetParentItem", &hr)) return hr;
    if (ppItem == nullptr) return E_POINTER;
    ItemNode* parent = Of(self).node()->parent;
    *ppItem = parent == nullptr ? nullptr : Sibling(self, parent);
    return parent == nullptr ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE GetPreviewComponent(Interface* self, LONG, IUnknown**) {
    return Stub(self, "GetPreviewComponent");
}

// --- IWiaDataTransfer and IWiaTransfer ---------------------------------------------------------------------------

// The item's formats: none for roots.
HRESULT FormatEnum(Interface* self, const char* method, IUnknown** ppEnum) {
    HRESULT hr;
    if (Intercept(self, method, &hr)) return hr;
    if (ppEnum == nullptr) return E_POINTER;
    *ppEnum = NewFormatEnum(Of(self).node()->props->formats);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IdtGetData(Interface* self, STGMEDIUM* pMedium, IUnknown* pIWiaDataCallback) {
    return DataTransferGetData(self, *Of(self).node(), pMedium, pIWiaDataCallback);
}

HRESULT STDMETHODCALLTYPE IdtGetBandedData(Interface* self, void* pWiaDataTransInfo, IUnknown* pIWiaDataCallback) {
    return DataTransferGetBandedData(self, *Of(self).node(), pWiaDataTransInfo, pIWiaDataCallback);
}

HRESULT STDMETHODCALLTYPE IdtQueryGetData(Interface* self, FormatInfo* pfe) {
    return DataTransferQueryGetData(self, *Of(self).node(), pfe);
}

HRESULT STDMETHODCALLTYPE IdtEnumFormatInfo(Interface* self, IUnknown** ppEnum) {
    return FormatEnum(self, "idtEnumWIA_FORMAT_INFO", ppEnum);
}

HRESULT STDMETHODCALLTYPE IdtGetExtendedTransferInfo(Interface* self, void* pExtendedTransferInfo) {
    return DataTransferGetExtendedTransferInfo(self, pExtendedTransferInfo);
}

HRESULT STDMETHODCALLTYPE Download(Interface* self, LONG, IUnknown* pIWiaTransferCallback) {
    return TransferDownload(self, Of(self).device(), *Of(self).node(), pIWiaTransferCallback);
}

HRESULT STDMETHODCALLTYPE Upload(Interface* self, LONG, IUnknown* pSource, IUnknown* pIWiaTransferCallback) {
    return TransferUpload(self, pSource, pIWiaTransferCallback);
}

HRESULT STDMETHODCALLTYPE Cancel(Interface* self) {
    return TransferCancel(self);
}

HRESULT STDMETHODCALLTYPE EnumFormatInfo(Interface* self, IUnknown** ppEnum) {
    return FormatEnum(self, "EnumWIA_FORMAT_INFO", ppEnum);
}

const Slot* ItemObject::Item1Vtable() {
    // clang-format off
    static const Slot* const vtbl = MakeVtable("IWiaItem", 18, {
        {3, ToSlot(&GetItemType)},
        {4, ToSlot(&AnalyzeItem)},
        {5, ToSlot(&Item1EnumChildItems)},
        {6, ToSlot(&DeleteItem)},
        {7, ToSlot(&Item1CreateChildItem)},
        {8, ToSlot(&EnumRegisterEventInfo)},
        {9, ToSlot(&FindItemByName)},
        {10, ToSlot(&Item1DeviceDlg)},
        {11, ToSlot(&DeviceCommand)},
        {12, ToSlot(&GetRootItem)},
        {13, ToSlot(&EnumDeviceCapabilities)},
        {14, ToSlot(&DumpItemData)},
        {15, ToSlot(&DumpDrvItemData)},
        {16, ToSlot(&DumpTreeItemData)},
        {17, ToSlot(&Diagnostic)},
    });
    // clang-format on
    return vtbl;
}

const Slot* ItemObject::Item2Vtable() {
    // clang-format off
    static const Slot* const vtbl = MakeVtable("IWiaItem2", 19, {
        {3, ToSlot(&Item2CreateChildItem)},
        {4, ToSlot(&DeleteItem)},
        {5, ToSlot(&Item2EnumChildItems)},
        {6, ToSlot(&FindItemByName)},
        {7, ToSlot(&GetItemCategory)},
        {8, ToSlot(&GetItemType)},
        {9, ToSlot(&Item2DeviceDlg)},
        {10, ToSlot(&DeviceCommand)},
        {11, ToSlot(&EnumDeviceCapabilities)},
        {12, ToSlot(&CheckExtension)},
        {13, ToSlot(&GetExtension)},
        {14, ToSlot(&GetParentItem)},
        {15, ToSlot(&GetRootItem)},
        {16, ToSlot(&GetPreviewComponent)},
        {17, ToSlot(&EnumRegisterEventInfo)},
        {18, ToSlot(&Diagnostic)},
    });
    // clang-format on
    return vtbl;
}

const Slot* ItemObject::DataTransferVtable() {
    // clang-format off
    static const Slot* const vtbl = MakeVtable("IWiaDataTransfer", 8, {
        {3, ToSlot(&IdtGetData)},
        {4, ToSlot(&IdtGetBandedData)},
        {5, ToSlot(&IdtQueryGetData)},
        {6, ToSlot(&IdtEnumFormatInfo)},
        {7, ToSlot(&IdtGetExtendedTransferInfo)},
    });
    // clang-format on
    return vtbl;
}

const Slot* ItemObject::TransferVtable() {
    // clang-format off
    static const Slot* const vtbl = MakeVtable("IWiaTransfer", 7, {
        {3, ToSlot(&Download)},
        {4, ToSlot(&Upload)},
        {5, ToSlot(&Cancel)},
        {6, ToSlot(&EnumFormatInfo)},
    });
    // clang-format on
    return vtbl;
}

}  // namespace

IUnknown* NewItem(Generation generation, const DevicePtr& device, ItemNode* node) {
    return (new ItemObject(generation, device, node))->Unknown();
}

DevicePtr DeviceOfItem(const void* item) {
    auto* object = dynamic_cast<ItemObject*>(FindObject(item));
    return object == nullptr ? nullptr : object->device();
}

}  // namespace simwia
