// SimModel.cpp - the three simulated devices (their property tables, item trees, capabilities and formats), the
// dialog answer, the call records, and the test-facing queries of SimPlatform.h.
#include "tests/platform/SimModel.h"

#include <cstdio>
#include "tests/platform/SimTransfer.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace simwia {

PropValue I4(LONG value) {
    PROPVARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    return PropValue(v);
}

PropValue Bstr(const wchar_t* text, UINT length) {
    PROPVARIANT v{};
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text, length);
    PropValue value(v);
    PropVariantClear(&v);
    return value;
}

PropValue Bstr(const wchar_t* text) {
    return Bstr(text, static_cast<UINT>(wcslen(text)));
}

PropValue Clsid(const GUID& guid) {
    GUID copy = guid;
    PROPVARIANT v{};
    v.vt = VT_CLSID;
    v.puuid = &copy;
    return PropValue(v);
}

namespace {

constexpr GUID kFormatJpeg = kSimFormatJpeg;
constexpr GUID kCategoryRoot = {0xf193526f, 0x59b8, 0x4a26, {0x98, 0x88, 0xe1, 0x6e, 0x4f, 0x97, 0xce, 0x10}};
constexpr GUID kCategoryFlatbed = {0xfb607b1f, 0x43f3, 0x488b, {0x85, 0x5b, 0xfb, 0x70, 0x3e, 0xc3, 0x42, 0xa6}};
constexpr GUID kCategoryFeeder = {0xfe131934, 0xf84c, 0x42ad, {0x8d, 0xa4, 0x61, 0x29, 0xcd, 0xdd, 0x72, 0x88}};
constexpr GUID kCategoryFinishedFile = {0xff2b77ca, 0xcf84, 0x432b, {0xa7, 0x35, 0x3a, 0x13, 0x0d, 0xde, 0x2a, 0x88}};
constexpr GUID kCmdSynchronize = {0x9b26b7b2, 0xacad, 0x11d2, {0xa0, 0x93, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c}};
constexpr GUID kCmdTakePicture = {0xaf933cac, 0xacad, 0x11d2, {0xa0, 0x93, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c}};
constexpr GUID kCmdDeleteAllItems = {0xe208c170, 0xacad, 0x11d2, {0xa0, 0x93, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c}};
constexpr GUID kCmdDiagnostic = {0x10ff52f5, 0xde04, 0x4cf0, {0xa5, 0xad, 0x69, 0x1f, 0x8d, 0xce, 0x01, 0x41}};
constexpr GUID kEventDeviceConnected = {0xa28bbade, 0x64b6, 0x11d2, {0xa2, 0x31, 0x00, 0xc0, 0x4f, 0xa3, 0x18, 0x09}};
constexpr GUID kEventDeviceDisconnected = {0x143e4e83, 0x6497, 0x11d2, {0xa2, 0x31, 0x00, 0xc0, 0x4f, 0xa3, 0x18, 0x09}};
constexpr GUID kEventItemCreated = {0x4c8f4ef5, 0xe14f, 0x11d2, {0xb3, 0x26, 0x00, 0xc0, 0x4f, 0x68, 0xce, 0x61}};
constexpr GUID kEventScanImage = {0xa6c5a715, 0x8c6e, 0x11d2, {0x97, 0x7a, 0x00, 0x00, 0xf8, 0x7a, 0x92, 0x6f}};

constexpr LONG kTypeRoot = WiaItemTypeFolder | WiaItemTypeDevice | WiaItemTypeRoot;
constexpr LONG kTypeTransferImage = WiaItemTypeImage | WiaItemTypeFile | WiaItemTypeTransfer;
// "Item Type Flags": flatbed and feeder items are programmable data sources, the camera's pictures are not.
constexpr LONG kTypeScanSource = kTypeTransferImage | kSimItemTypeProgrammableDataSource;
constexpr LONG kAccessReadDelete = WIA_ITEM_READ | WIA_ITEM_CAN_BE_DELETED;

// Property id and its published name, as one argument pair.
#define ID_AND_NAME(id) id, id##_STR

template <typename Setter>
PropValue Make(VARTYPE vt, Setter set) {
    PROPVARIANT v{};
    set(v);
    v.vt = vt;  // after set: a DECIMAL overwrites the type field
    return PropValue(v);
}

// --- building the devices ---------------------------------------------------------------------------------------

// A property the device defines: read-only unless Allow() says otherwise ("Property Attributes").
void Put(PropertyTable& table, PROPID id, const wchar_t* name, PropValue value) {
    table.values[id] = std::move(value);
    table.names[id] = name;
    table.attributes[id] = Attributes{};
}

// Makes a property writable with valid values of one kind: WIA_PROP_RANGE {min, nominal, max, step}, WIA_PROP_LIST
// {nominal, values...}, WIA_PROP_FLAG {nominal, valid bits}, WIA_PROP_NONE {}.
void Allow(PropertyTable& table, PROPID id, ULONG kind, std::vector<LONG> values) {
    table.attributes[id] = Attributes{WIA_PROP_RW | kind, std::move(values), {}};
}

std::shared_ptr<PropertyTable> NewTable(const std::wstring& label) {
    auto table = std::make_shared<PropertyTable>();
    table->label = label;
    return table;
}

struct DeviceText {
    const wchar_t* id;
    LONG stiType;
    const wchar_t* vendor;
    const wchar_t* description;
    const wchar_t* port;
    const wchar_t* uiClsid;
};

void PutDeviceInfo(PropertyTable& table, const DeviceText& text) {
    Put(table, ID_AND_NAME(WIA_DIP_DEV_ID), Bstr(text.id));
    Put(table, ID_AND_NAME(WIA_DIP_VEND_DESC), Bstr(text.vendor));
    Put(table, ID_AND_NAME(WIA_DIP_DEV_DESC), Bstr(text.description));
    Put(table, ID_AND_NAME(WIA_DIP_DEV_TYPE), I4(MAKELONG(0, text.stiType)));
    Put(table, ID_AND_NAME(WIA_DIP_PORT_NAME), Bstr(text.port));
    Put(table, ID_AND_NAME(WIA_DIP_DEV_NAME), Bstr(text.description));
    Put(table, ID_AND_NAME(WIA_DIP_SERVER_NAME), Bstr(L"local"));
    Put(table, ID_AND_NAME(WIA_DIP_UI_CLSID), Bstr(text.uiClsid));
    Put(table, ID_AND_NAME(WIA_DIP_HW_CONFIG), I4(0));
    Put(table, ID_AND_NAME(WIA_DIP_STI_GEN_CAPABILITIES), I4(1));
    Put(table, ID_AND_NAME(WIA_DIP_WIA_VERSION), Bstr(L"2.0"));
    Put(table, ID_AND_NAME(WIA_DIP_DRIVER_VERSION), Bstr(L"1.0.0.7"));
}

ItemNode* AddItem(Device& device, ItemNode* parent, const wchar_t* name, LONG type, const GUID& category) {
    auto node = std::make_unique<ItemNode>();
    node->name = name;
    node->fullName = parent == nullptr ? device.id.substr(device.id.size() - 4) + L"\\" + name : parent->fullName + L"\\" + name;
    node->type = type;
    node->category = category;
    node->parent = parent;
    node->props = NewTable(node->fullName);
    Put(*node->props, ID_AND_NAME(WIA_IPA_ITEM_NAME), Bstr(name));
    Put(*node->props, ID_AND_NAME(WIA_IPA_FULL_ITEM_NAME), Bstr(node->fullName.c_str()));
    Put(*node->props, ID_AND_NAME(WIA_IPA_ITEM_FLAGS), I4(type));
    Put(*node->props, ID_AND_NAME(WIA_IPA_ACCESS_RIGHTS), I4(kAccessReadDelete));
    Put(*node->props, kSimItemCategory, L"Item Category", Clsid(category));  // required on every item
    ItemNode* raw = node.get();
    if (parent == nullptr) {
        device.root = std::move(node);
    } else {
        parent->children.push_back(std::move(node));
    }
    return raw;
}

DevicePtr NewDevice(const DeviceText& text) {
    auto device = std::make_shared<Device>();
    device->id = text.id;
    device->stiType = text.stiType;
    device->info = NewTable(text.id);
    PutDeviceInfo(*device->info, text);
    ItemNode* root = AddItem(*device, nullptr, L"Root", kTypeRoot, kCategoryRoot);
    PutDeviceInfo(*root->props, text);
    return device;
}

// What every transfer item has ("WIA_IPA_FORMAT", "WIA_IPA_TYMED", "WIA_IPA_DATATYPE", "WIA_IPA_DEPTH",
// "WIA_IPA_FILENAME_EXTENSION"): the format and tymed writable among the formats offered, the image's size read-only.
void PutTransferProperties(ItemNode& item, std::vector<FormatInfo> formats, LONG width, LONG height) {
    PropertyTable& t = *item.props;
    t.formats = std::move(formats);
    const GUID format = t.formats.front().format;
    Put(t, ID_AND_NAME(WIA_IPA_DATATYPE), I4(WIA_DATA_COLOR));
    Put(t, ID_AND_NAME(WIA_IPA_DEPTH), I4(24));
    Put(t, ID_AND_NAME(WIA_IPA_PREFERRED_FORMAT), Clsid(format));
    Put(t, ID_AND_NAME(WIA_IPA_FORMAT), Clsid(format));
    Put(t, ID_AND_NAME(WIA_IPA_FILENAME_EXTENSION), Bstr(IsEqualGUID(format, kFormatJpeg) ? L"JPG" : L"BMP"));
    Put(t, ID_AND_NAME(WIA_IPA_TYMED), I4(TYMED_FILE));
    Put(t, ID_AND_NAME(WIA_IPA_PIXELS_PER_LINE), I4(width));
    Put(t, ID_AND_NAME(WIA_IPA_NUMBER_OF_LINES), I4(height));
    Put(t, ID_AND_NAME(WIA_IPA_BYTES_PER_LINE), I4((width * 24 + 31) / 32 * 4));
    std::vector<LONG> tymeds{TYMED_FILE};
    for (const FormatInfo& offered : t.formats)
        if (std::find(tymeds.begin() + 1, tymeds.end(), offered.tymed) == tymeds.end()) tymeds.push_back(offered.tymed);
    Allow(t, WIA_IPA_TYMED, WIA_PROP_LIST, tymeds);
    t.attributes[WIA_IPA_FORMAT] = Attributes{WIA_PROP_RW | WIA_PROP_LIST, {}, {}};
    t.afterWrite = CameraAfterWrite;
    t.afterWrite(t, WIA_IPA_FORMAT);
}

// A scanning item ("Flatbed Item Properties", "WIA_IPS_XRES", "WIA_IPS_CUR_INTENT" ...): intent, resolution, scan
// area, brightness and contrast writable within their valid values; the image follows the scan area, data type and
// depth. The scan area starts as a small crop of the bed (width x height pixels) so that transfers stay fast.
void PutScanProperties(ItemNode& item, LONG resolution, LONG bedWidth, LONG bedHeight, LONG width, LONG height) {
    PropertyTable& t = *item.props;
    t.bedWidth = bedWidth;
    t.bedHeight = bedHeight;
    Put(t, ID_AND_NAME(WIA_IPS_CUR_INTENT), I4(WIA_INTENT_NONE));
    Put(t, ID_AND_NAME(WIA_IPS_XRES), I4(resolution));
    Put(t, ID_AND_NAME(WIA_IPS_YRES), I4(resolution));
    Put(t, ID_AND_NAME(WIA_IPS_XPOS), I4(0));
    Put(t, ID_AND_NAME(WIA_IPS_YPOS), I4(0));
    Put(t, ID_AND_NAME(WIA_IPS_XEXTENT), I4(width));
    Put(t, ID_AND_NAME(WIA_IPS_YEXTENT), I4(height));
    Put(t, ID_AND_NAME(WIA_IPS_BRIGHTNESS), I4(0));
    Put(t, ID_AND_NAME(WIA_IPS_CONTRAST), I4(0));
    const LONG kIntents = WIA_INTENT_IMAGE_TYPE_COLOR | WIA_INTENT_IMAGE_TYPE_GRAYSCALE | WIA_INTENT_IMAGE_TYPE_TEXT |
                          WIA_INTENT_MINIMIZE_SIZE | WIA_INTENT_MAXIMIZE_QUALITY;
    Allow(t, WIA_IPS_CUR_INTENT, WIA_PROP_FLAG, {WIA_INTENT_NONE, kIntents});
    for (PROPID id : {WIA_IPS_XRES, WIA_IPS_YRES}) Allow(t, id, WIA_PROP_LIST, {resolution, 75, 100, 150, 200, 300, 600, 1200});
    for (PROPID id : {WIA_IPS_XPOS, WIA_IPS_YPOS, WIA_IPS_XEXTENT, WIA_IPS_YEXTENT}) Allow(t, id, WIA_PROP_RANGE, {0, 0, 0, 1});
    for (PROPID id : {WIA_IPS_BRIGHTNESS, WIA_IPS_CONTRAST}) Allow(t, id, WIA_PROP_RANGE, {-1000, 0, 1000, 1});
    Allow(t, WIA_IPA_DATATYPE, WIA_PROP_LIST, {WIA_DATA_COLOR, WIA_DATA_THRESHOLD, WIA_DATA_GRAYSCALE, WIA_DATA_COLOR});
    Allow(t, WIA_IPA_DEPTH, WIA_PROP_LIST, {24, 24});
    t.afterWrite = ScannerAfterWrite;
    t.afterWrite(t, WIA_IPS_XRES);
}

// "WIA_IPA_FORMAT", "WIA_IPA_TYMED": a scanner gives BMP files, and to a callback a memory BMP (a bare DIB) or a BMP.
std::vector<FormatInfo> ScannerFormats() {
    return {{kSimFormatBmp, TYMED_FILE}, {kSimFormatMemoryBmp, TYMED_CALLBACK}, {kSimFormatBmp, TYMED_CALLBACK}};
}

DevicePtr NewScanner() {
    DevicePtr device = NewDevice({kScannerId, 1, L"Simulated Imaging", L"Sim FlatScan 3000", L"\\\\.\\Usbscan0",
                                  L"{6C3B1B4D-6E2A-4D0B-9A51-0C1E5A2F3B40}"});
    PropertyTable& root = *device->root->props;
    Put(root, ID_AND_NAME(WIA_DPS_HORIZONTAL_BED_SIZE), I4(8500));
    Put(root, ID_AND_NAME(WIA_DPS_VERTICAL_BED_SIZE), I4(11700));
    Put(root, ID_AND_NAME(WIA_DPS_DOCUMENT_HANDLING_CAPABILITIES), I4(FEED | FLAT));
    Put(root, ID_AND_NAME(WIA_DPS_DOCUMENT_HANDLING_SELECT), I4(FLATBED));
    Put(root, ID_AND_NAME(WIA_DPS_OPTICAL_XRES), I4(1200));
    Put(root, ID_AND_NAME(WIA_DPS_OPTICAL_YRES), I4(1200));
    Put(root, ID_AND_NAME(WIA_DPS_PAGES), I4(1));
    // "WIA_DPS_DOCUMENT_HANDLING_SELECT", "WIA_DPS_PAGES" (WIA 1.0 root): the source and the pages of a feeder scan.
    Allow(root, WIA_DPS_DOCUMENT_HANDLING_SELECT, WIA_PROP_FLAG, {FLATBED, FEEDER | FLATBED});
    Allow(root, WIA_DPS_PAGES, WIA_PROP_RANGE, {ALL_PAGES, 1, 100, 1});

    ItemNode* flatbed = AddItem(*device, device->root.get(), L"Flatbed", kTypeScanSource, kCategoryFlatbed);
    PutTransferProperties(*flatbed, ScannerFormats(), 100, 30);  // small pages keep transfers fast (SetImageSize)
    PutScanProperties(*flatbed, 300, 8500, 11700, 100, 30);

    ItemNode* feeder = AddItem(*device, device->root.get(), L"Feeder", kTypeScanSource, kCategoryFeeder);
    PutTransferProperties(*feeder, ScannerFormats(), 50, 20);
    PutScanProperties(*feeder, 200, 8500, 14000, 50, 20);
    // "WIA_IPS_DOCUMENT_HANDLING_SELECT", "WIA_IPS_PAGES" (WIA 2.0 feeder item): front sides only or both sides of each
    // sheet, and how many images to scan (ALL_PAGES: every sheet in the tray).
    Put(*feeder->props, ID_AND_NAME(WIA_DPS_DOCUMENT_HANDLING_SELECT), I4(FRONT_ONLY));
    Allow(*feeder->props, WIA_DPS_DOCUMENT_HANDLING_SELECT, WIA_PROP_FLAG, {FRONT_ONLY, FRONT_ONLY | DUPLEX});
    Put(*feeder->props, ID_AND_NAME(WIA_DPS_PAGES), I4(ALL_PAGES));
    Allow(*feeder->props, WIA_DPS_PAGES, WIA_PROP_RANGE, {ALL_PAGES, ALL_PAGES, 100, 1});
    feeder->feederSheets = feeder->feederLoaded = kFeederSheets;

    device->caps = {
        {kCmdDiagnostic, 0, L"", L"Runs the scanner's self test", L"sti.dll,-2000", nullptr, false},
        {kEventScanImage, WIA_NOTIFICATION_EVENT | WIA_ACTION_EVENT, L"Scan Button", L"The scan button was pressed",
         L"sti.dll,-1001", L"\"C:\\Program Files\\SimScan\\simscan.exe\" /StiDevice:%1 /StiEvent:%2", true},
        {kEventDeviceConnected, WIA_NOTIFICATION_EVENT, WIA_EVENT_DEVICE_CONNECTED_STR, L"The scanner was connected",
         WIA_ICON_DEVICE_CONNECTED, nullptr, true},
    };
    return device;
}

// A camera's pictures come as its own JPEG files, or converted to BMP files.
std::vector<FormatInfo> CameraFormats() {
    return {{kFormatJpeg, TYMED_FILE}, {kSimFormatBmp, TYMED_FILE}};
}

DevicePtr NewCamera() {
    DevicePtr device = NewDevice(
        {kCameraId, 2, L"Simulated Optics", L"Sim SnapCam 12", L"\\\\.\\Usbscan1", L"{6C3B1B4D-6E2A-4D0B-9A51-0C1E5A2F3B41}"});
    PropertyTable& root = *device->root->props;
    Put(root, ID_AND_NAME(WIA_DPC_PICTURES_TAKEN), I4(2));
    Put(root, ID_AND_NAME(WIA_DPC_PICTURES_REMAINING), I4(98));
    Put(root, ID_AND_NAME(WIA_DPC_BATTERY_STATUS), I4(80));
    Put(root, ID_AND_NAME(WIA_DPC_FLASH_MODE), I4(FLASHMODE_AUTO));
    Allow(root, WIA_DPC_FLASH_MODE, WIA_PROP_LIST, {FLASHMODE_AUTO, FLASHMODE_AUTO, FLASHMODE_OFF, FLASHMODE_FILL});

    static const BYTE kThumbnail[] = {0x10, 0x20, 0x30, 0x40};
    for (const wchar_t* name : {L"IMG_0001", L"IMG_0002"}) {
        ItemNode* picture = AddItem(*device, device->root.get(), name, kTypeTransferImage, kCategoryFinishedFile);
        PutTransferProperties(*picture, CameraFormats(), 640, 480);
        Put(*picture->props, ID_AND_NAME(WIA_IPC_THUMB_WIDTH), I4(80));
        Put(*picture->props, ID_AND_NAME(WIA_IPC_THUMB_HEIGHT), I4(60));
        Put(*picture->props, ID_AND_NAME(WIA_IPC_THUMBNAIL), Make(VT_VECTOR | VT_UI1, [](PROPVARIANT& v) {
            v.caub.cElems = sizeof(kThumbnail);
            v.caub.pElems = const_cast<BYTE*>(kThumbnail);
        }));
    }

    device->caps = {
        {kCmdTakePicture, 0, L"Take Picture", L"Takes a picture", WIA_ICON_TAKE_PICTURE, nullptr, false},
        {kCmdSynchronize, 0, L"Synchronize", L"Synchronizes the item tree", WIA_ICON_SYNCHRONIZE, nullptr, false},
        {kCmdDeleteAllItems, 0, L"Delete All Items", L"Deletes every picture", WIA_ICON_DELETE_ALL_ITEMS, nullptr, false},
        {kEventItemCreated, WIA_NOTIFICATION_EVENT, L"Item Created", L"A picture was taken", WIA_ICON_ITEM_CREATED, nullptr,
         true},
        {kEventDeviceDisconnected, WIA_NOTIFICATION_EVENT, WIA_EVENT_DEVICE_DISCONNECTED_STR, L"The camera was disconnected",
         WIA_ICON_DEVICE_DISCONNECTED, nullptr, true},
    };
    return device;
}

DevicePtr NewVideo() {
    DevicePtr device = NewDevice({kVideoId, 3, L"Simulated Vision", L"Sim WebCam HD", L"\\\\?\\usb#vid_5a56&pid_0002#0002",
                                  L"{6C3B1B4D-6E2A-4D0B-9A51-0C1E5A2F3B42}"});
    PropertyTable& root = *device->root->props;
    Put(root, ID_AND_NAME(WIA_DPV_LAST_PICTURE_TAKEN), Bstr(L""));
    Put(root, ID_AND_NAME(WIA_DPV_IMAGES_DIRECTORY), Bstr(L"C:\\users\\Public\\Pictures\\Sim WebCam HD"));
    Put(root, ID_AND_NAME(WIA_DPV_DSHOW_DEVICE_PATH), Bstr(L"\\\\?\\usb#vid_5a56&pid_0002#0002#{65e8773d}"));
    device->caps = {
        {kCmdTakePicture, 0, L"Take Picture", L"Saves a still picture", WIA_ICON_TAKE_PICTURE, nullptr, false},
    };
    return device;
}

#undef ID_AND_NAME

// --- state ------------------------------------------------------------------------------------------------------

struct Model {
    std::vector<DevicePtr> devices;
    DialogAnswer answer;
    ItemDialogAnswer itemAnswer;
    std::map<std::string, Call> calls;
    bool scriptReleases = false;   // AllowScriptReleases
    ULONG writeLimit = ULONG_MAX;  // SetStreamWriteLimit
};

Model& State() {
    static Model* model = nullptr;  // never destroyed: objects released at exit may still look here
    if (model == nullptr) {
        model = new Model;
        model->devices = {NewScanner(), NewCamera(), NewVideo()};
    }
    return *model;
}

ItemNode* FindNode(ItemNode* node, const std::wstring& fullName) {
    if (node->fullName == fullName) return node;
    for (auto& child : node->children) {
        if (ItemNode* found = FindNode(child.get(), fullName)) return found;
    }
    return nullptr;
}

std::shared_ptr<PropertyTable> FindTable(const wchar_t* label) {
    const std::wstring wanted = label == nullptr ? L"" : label;
    for (const DevicePtr& device : State().devices) {
        if (device->id == wanted) return device->info;
        if (ItemNode* node = FindNode(device->root.get(), wanted)) return node->props;
    }
    return nullptr;
}

}  // namespace

// --- model interface ----------------------------------------------------------------------------------------------

PROPID PropertyTable::IdOf(const wchar_t* name) const {
    for (const auto& entry : names) {
        if (entry.second == name) return entry.first;
    }
    return 0;
}

void ResetModel() {
    Model& model = State();
    model.devices = {NewScanner(), NewCamera(), NewVideo()};
    model.answer = DialogAnswer{};
    model.itemAnswer = ItemDialogAnswer{};
    model.calls.clear();
    model.scriptReleases = false;
    model.writeLimit = ULONG_MAX;
    ResetTransfers();
    ResetTransfers2();
}

std::vector<DevicePtr> InstalledList() {
    return State().devices;
}

DevicePtr FindInstalled(const wchar_t* id) {
    if (id == nullptr) return nullptr;
    for (const DevicePtr& device : InstalledList()) {
        if (device->id == id) return device;
    }
    return nullptr;
}

const DialogAnswer& CurrentDialogAnswer() {
    return State().answer;
}

const ItemDialogAnswer& CurrentItemDialogAnswer() {
    return State().itemAnswer;
}

ItemNode* AddTakenPicture(Device& device) {
    wchar_t name[16];
    swprintf(name, 16, L"IMG_%04u", static_cast<unsigned>(device.root->children.size() + 1));
    ItemNode* picture = AddItem(device, device.root.get(), name, kTypeTransferImage, kCategoryFinishedFile);
    PutTransferProperties(*picture, {{kFormatJpeg, TYMED_FILE}}, 640, 480);
    return picture;
}

HRESULT PickDevice(LONG deviceType, DevicePtr* device) {
    device->reset();
    const DialogAnswer& answer = State().answer;
    if (answer.hr != S_OK) return answer.hr;
    if (!answer.deviceId.empty()) {
        *device = FindInstalled(answer.deviceId.c_str());
    } else {
        for (const DevicePtr& candidate : InstalledList()) {
            if (deviceType == 0 || candidate->stiType == deviceType) {
                *device = candidate;
                break;
            }
        }
    }
    return *device ? S_OK : WIA_S_NO_DEVICE_AVAILABLE;
}

HRESULT WriteSampleImage(const std::wstring& path) {
    const std::vector<BYTE> bytes = SampleImage();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(file);
    return ok && written == bytes.size() ? S_OK : HRESULT_FROM_WIN32(error);
}

Call& Record(const Interface* self, const char* method) {
    Call& call = State().calls[MethodName(self, method)];
    call = Call{};
    return call;
}

Text TextOf(const wchar_t* text) {
    return text == nullptr ? Text() : Text(text);
}

void CopyValue(PROPVARIANT* out, const PROPVARIANT& in) {
    switch (in.vt) {
        case VT_BSTR:
            *out = in;
            out->bstrVal = in.bstrVal == nullptr ? nullptr : SysAllocStringLen(in.bstrVal, SysStringLen(in.bstrVal));
            break;
        case VT_LPSTR:
            *out = in;
            if (in.pszVal != nullptr) {
                const size_t size = strlen(in.pszVal) + 1;
                out->pszVal = static_cast<char*>(CoTaskMemAlloc(size));
                memcpy(out->pszVal, in.pszVal, size);
            }
            break;
        case VT_LPWSTR:
            *out = in;
            if (in.pwszVal != nullptr) {
                const size_t size = (wcslen(in.pwszVal) + 1) * sizeof(wchar_t);
                out->pwszVal = static_cast<wchar_t*>(CoTaskMemAlloc(size));
                memcpy(out->pwszVal, in.pwszVal, size);
            }
            break;
        case VT_CLSID:
            *out = in;
            if (in.puuid != nullptr) {
                out->puuid = static_cast<CLSID*>(CoTaskMemAlloc(sizeof(CLSID)));
                *out->puuid = *in.puuid;
            }
            break;
        default:
            if ((in.vt & (VT_VECTOR | VT_ARRAY | VT_BYREF)) != 0 || in.vt == VT_UNKNOWN || in.vt == VT_DISPATCH ||
                in.vt == VT_BLOB || in.vt == VT_CF || in.vt == VT_STREAM || in.vt == VT_STORAGE) {
                PropVariantInit(out);
                PropVariantCopy(out, &in);
            } else {
                *out = in;  // plain value, all 16 bytes (a DECIMAL fills them)
            }
            break;
    }
}

HeldCallback::HeldCallback(IUnknown* callback, const IID& iid, bool keep, IUnknown** kept, std::string call)
    : call_(std::move(call)) {
    if (callback == nullptr) return;
    hr_ = callback->QueryInterface(iid, reinterpret_cast<void**>(&callback_));
    if (SUCCEEDED(hr_) && keep) {
        ReleaseKept(kept);
        callback_->AddRef();
        *kept = callback_;
    }
    if (callback_ != nullptr) held_ = CountOf(callback_);
}

HeldCallback::~HeldCallback() {
    if (callback_ == nullptr) return;
    const ULONG left = callback_->Release();
    if (left + 1 != held_ && !(State().scriptReleases && left + 1 < held_))
        RuleBroken(call_ + ": the callback had " + std::to_string(held_ - 1) +
                   " references besides the device's when the device took its own, and " + std::to_string(left) +
                   " when it let it go");
}

Received::Received(std::string call) : call_(std::move(call)), before_(CountsNow()) {}

void Received::Add(IUnknown* object, const char* what) {
    const SimObject* simulated = FindObject(object);
    auto same = [simulated](const auto& entry) { return entry.first == simulated; };
    if (simulated != nullptr && std::none_of(received_.begin(), received_.end(), same)) received_.emplace_back(simulated, what);
}

Received::~Received() {
    for (const auto& [object, what] : received_) {
        auto before = before_.find(object);
        const ULONG expected = before == before_.end() ? 0 : before->second;
        const bool live = IsLive(object);
        const ULONG now = live ? object->Count() : 0;
        if (now == expected && (live || expected == 0)) continue;
        if (State().scriptReleases && now < expected) continue;  // the script let go of its own
        RuleBroken(call_ + ": " + what + " had " + std::to_string(expected) + " references when the call began and " +
                   (live ? std::to_string(now) + " when it returned" : "its last one went during the call"));
    }
}

bool HeldCallback::GoesOn(HRESULT answer, HRESULT* result) {
    if (answer != S_FALSE && SUCCEEDED(answer)) return true;
    *result = answer;
    return false;
}

ULONG ReleaseKept(IUnknown** kept) {
    IUnknown* callback = std::exchange(*kept, nullptr);
    return callback == nullptr ? 0 : callback->Release();
}

// --- SimPlatform.h ------------------------------------------------------------------------------------------------

PropValue::PropValue() {
    PropVariantInit(&value_);
}

PropValue::PropValue(const PROPVARIANT& value) {
    PropVariantInit(&value_);
    CopyValue(&value_, value);
}

PropValue::PropValue(const PropValue& other) : PropValue(other.value_) {}

PropValue::PropValue(PropValue&& other) noexcept : value_(other.value_) {
    PropVariantInit(&other.value_);
}

PropValue& PropValue::operator=(PropValue other) noexcept {
    std::swap(value_, other.value_);
    return *this;
}

PropValue::~PropValue() {
    PropVariantClear(&value_);
}

void PropValue::CopyTo(PROPVARIANT* out) const {
    CopyValue(out, value_);
}

std::vector<std::wstring> InstalledDevices() {
    std::vector<std::wstring> ids;
    for (const DevicePtr& device : InstalledList()) ids.push_back(device->id);
    return ids;
}

void SetExtraChildren(const wchar_t* fullItemName, int count) {
    for (const DevicePtr& device : State().devices) {
        ItemNode* node = FindNode(device->root.get(), fullItemName == nullptr ? L"" : fullItemName);
        if (node == nullptr) continue;
        for (int i = 0; i < count; ++i) {
            wchar_t name[16];
            swprintf(name, 16, L"Extra_%05d", i + 1);
            AddItem(*device, node, name, kTypeTransferImage, kCategoryFinishedFile);
        }
    }
}

ItemInfo Item(const wchar_t* fullItemName) {
    ItemInfo info;
    for (const DevicePtr& device : State().devices) {
        const ItemNode* node = FindNode(device->root.get(), fullItemName == nullptr ? L"" : fullItemName);
        if (node == nullptr) continue;
        info.type = node->type;
        for (const auto& child : node->children) info.children.push_back(child->fullName);
    }
    return info;
}

std::map<std::string, std::string> RecordFields(const std::string& className) {
    auto text = [](const wchar_t* wide) { return wide == nullptr ? std::string() : std::string(wide, wide + wcslen(wide)); };
    auto guid = [&text](const GUID& value) {
        wchar_t buffer[40];
        StringFromGUID2(value, buffer, 40);
        return text(buffer);
    };
    if (className == "WIAFormatInfoZVK") {
        const FormatInfo first = FindTable(kScannerFlatbed)->formats.front();
        return {{"FormatID", guid(first.format)}, {"Tymed", std::to_string(first.tymed)}};
    }
    if (className == "WIADeviceCapabilitiesZVK") {
        const Capability first = Capabilities(kScannerId).front();
        return {{"GUID", std::string(reinterpret_cast<const char*>(&first.guid), sizeof(GUID))},  // the 16 bytes
                {"Flags", std::to_string(first.flags)},
                {"Name", text(first.name)},
                {"Description", text(first.description)},
                {"Icon", text(first.icon)},
                {"Commandline", text(first.commandline)}};
    }
    if (className == "WIAExtendedTransferInfoZVK")
        return {{"Size", "20"},
                {"MinBufferSize", std::to_string(kMinBufferSize)},
                {"OptimalBufferSize", std::to_string(kDeviceBufferSize)},
                {"MaxBufferSize", std::to_string(kMaxBufferSize)},
                {"NumBuffers", "2"}};
    return {};
}

std::vector<Capability> Capabilities(const wchar_t* deviceId) {
    for (const DevicePtr& device : State().devices) {
        if (deviceId != nullptr && device->id == deviceId) return device->caps;
    }
    return {};
}

PropValue StoredValue(const wchar_t* table, PROPID id) {
    std::shared_ptr<PropertyTable> found = FindTable(table);
    if (found == nullptr) return PropValue();
    auto value = found->values.find(id);
    return value == found->values.end() ? PropValue() : value->second;
}

std::optional<std::wstring> StoredName(const wchar_t* table, PROPID id) {
    std::shared_ptr<PropertyTable> found = FindTable(table);
    if (found == nullptr) return std::nullopt;
    auto name = found->names.find(id);
    return name == found->names.end() ? std::nullopt : std::optional<std::wstring>(name->second);
}

std::wstring TableOf(IUnknown* itemOrStorage) {
    auto* owner = dynamic_cast<PropertyOwner*>(FindObject(itemOrStorage));
    return owner == nullptr ? std::wstring() : owner->Table().label;
}

void SetStoredValue(const wchar_t* table, PROPID id, const PROPVARIANT& value, const wchar_t* name) {
    std::shared_ptr<PropertyTable> found = FindTable(table);
    if (found == nullptr) return;
    found->values[id] = PropValue(value);
    if (name != nullptr) found->names[id] = name;
}

void SetImageSize(const wchar_t* fullItemName, LONG width, LONG height) {
    std::shared_ptr<PropertyTable> found = FindTable(fullItemName);
    if (found == nullptr) return;
    PropertyTable& t = *found;
    t.values[WIA_IPA_PIXELS_PER_LINE] = I4(width);
    t.values[WIA_IPA_NUMBER_OF_LINES] = I4(height);
    if (t.afterWrite != ScannerAfterWrite) return;
    // A scanning item: the extents take the size, on a bed that holds it at every resolution the item offers.
    t.bedWidth = std::max<LONG>(t.bedWidth, static_cast<LONG>(width * 1000LL / 75 + 1));
    t.bedHeight = std::max<LONG>(t.bedHeight, static_cast<LONG>(height * 1000LL / 75 + 1));
    t.values[WIA_IPS_XEXTENT] = I4(width);
    t.values[WIA_IPS_YEXTENT] = I4(height);
    t.afterWrite(t, WIA_IPS_XEXTENT);
}

std::string ArgumentsOf(const char* method) {
    const Call call = LastCall(method);
    std::string text;
    auto add = [&text](const std::string& field) { text += (text.empty() ? "" : " ") + field; };
    auto hex = [](uint64_t value) {
        char digits[24];
        std::snprintf(digits, sizeof digits, "0x%llX", static_cast<unsigned long long>(value));
        return std::string(digits);
    };
    auto quoted = [](const std::wstring& name) { return "\"" + std::string(name.begin(), name.end()) + "\""; };
    if (call.window != nullptr) add("window " + hex(reinterpret_cast<uintptr_t>(call.window)));
    if (call.deviceType != 0) add("type " + std::to_string(call.deviceType));
    if (call.flags != 0) add("flags " + std::to_string(call.flags));
    if (call.intent != 0) add("intent " + hex(static_cast<ULONG>(call.intent)));
    if (call.creationFlags != 0) add("creation " + std::to_string(call.creationFlags));
    if (call.itemName) add("name " + quoted(*call.itemName));
    if (call.fullItemName) add("full " + quoted(*call.fullItemName));
    if (call.outputsClear) add("clear");
    return text;
}

std::string SpecsOf(const char* method) {
    const Call call = LastCall(method);
    std::string text;
    for (const Spec& spec : call.specs) {
        const std::wstring name = spec.name.value_or(L"(null)");
        text += (text.empty() ? "" : ", ") +
                (spec.kind == PRSPEC_PROPID ? "id " + std::to_string(spec.id) : "name " + std::string(name.begin(), name.end()));
    }
    return call.propidNameFirst == 0 ? text : text + " first " + std::to_string(call.propidNameFirst);
}

Call LastCall(const char* method) {
    const auto& calls = State().calls;
    auto call = calls.find(method);
    return call == calls.end() ? Call{} : call->second;
}

void SetStreamWriteLimit(ULONG bytes) {
    State().writeLimit = bytes;
}

ULONG StreamWriteLimit() {
    return State().writeLimit;
}

void AllowScriptReleases(bool allow) {
    State().scriptReleases = allow;
}

void SetDialogAnswer(const wchar_t* deviceId, HRESULT hr, int files) {
    State().answer = DialogAnswer{deviceId == nullptr ? L"" : deviceId, hr, files};
}

void SetItemDialogAnswer(HRESULT hr, std::vector<bool> picks, int files) {
    State().itemAnswer = ItemDialogAnswer{hr, std::move(picks), files};
}

std::vector<BYTE> SampleImage() {
    // BITMAPFILEHEADER, BITMAPINFOHEADER, then two rows of two BGR pixels padded to 8 bytes, bottom row first.
    // clang-format off
    return {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                            // file header: size 70, bits at 54
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,                          // 2 x 2, one plane, 24 bits
        0, 0, 0, 0, 16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // BI_RGB, 72 dpi
        0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0, 0,                                  // blue, green
        0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0,                                  // red, white
    };
    // clang-format on
}

}  // namespace simwia
