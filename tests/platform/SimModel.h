// SimModel.h - the state of the simulated devices and the factories of the simulated WIA objects (for files under
// tests/platform only). Everything here runs on the test thread.
//
// Interface ids and layouts are written from Microsoft's documentation, independently of the library's own
// declarations; property ids and names come from mingw's <wiadef.h>.
#pragma once

#include "tests/platform/SimObject.h"

// <wiadef.h> refuses to be included without <wia.h>, which the simulation does not use; it only needs the type of
// its (unused) name table.
#ifndef __wia_h__
#define __wia_h__
#endif
typedef struct SimPropIdToName {
    PROPID propid;
    LPOLESTR pszName;
} WIA_PROPID_TO_NAME;
#include <wiadef.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace simwia {

inline constexpr IID kSimIID_IWiaItem = {0x4db1ad10, 0x3391, 0x11d2, {0x9a, 0x33, 0x00, 0xc0, 0x4f, 0xa3, 0x61, 0x45}};
inline constexpr IID kSimIID_IWiaItem2 = {0x6cba0075, 0x1287, 0x407d, {0x9b, 0x77, 0xcf, 0x0e, 0x03, 0x04, 0x35, 0xcc}};
inline constexpr IID kSimIID_IWiaPropertyStorage = {0x98b5e8a0, 0x29cc, 0x491a, {0xaa, 0xc0, 0xe6, 0xdb, 0x4f, 0xdc, 0xce, 0xb6}};
inline constexpr IID kSimIID_IWiaDataTransfer = {0xa6cef998, 0xa5b0, 0x11d2, {0xa0, 0x8f, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c}};
inline constexpr IID kSimIID_IWiaTransfer = {0xc39d6942, 0x2f4e, 0x4d04, {0x92, 0xfe, 0x4e, 0xf4, 0xd3, 0xa1, 0xde, 0x5a}};
inline constexpr IID kSimIID_IEnumWiaItem = {0x5e8383fc, 0x3391, 0x11d2, {0x9a, 0x33, 0x00, 0xc0, 0x4f, 0xa3, 0x61, 0x45}};
inline constexpr IID kSimIID_IEnumWiaItem2 = {0x59970af4, 0xcd0d, 0x44d9, {0xab, 0x24, 0x52, 0x29, 0x56, 0x30, 0xe5, 0x82}};
inline constexpr IID kSimIID_IEnumWIA_DEV_INFO = {0x5e38b83c, 0x8cf1, 0x11d1, {0xbf, 0x92, 0x00, 0x60, 0x08, 0x1e, 0xd8, 0x11}};
inline constexpr IID kSimIID_IEnumWIA_DEV_CAPS = {0x1fcc4287, 0xaca6, 0x11d2, {0xa0, 0x93, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c}};
inline constexpr IID kSimIID_IEnumWIA_FORMAT_INFO = {
    0x81befc5b, 0x656d, 0x44f1, {0xb2, 0x4c, 0xd4, 0x1d, 0x51, 0xb4, 0xdc, 0x81}};

inline constexpr GUID kSimFormatBmp = {0xb96b3cab, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// WIA_DEV_CAP as the platform hands it out: 56 bytes on x64, the texts at offset 24.
struct SimDevCap {
    GUID guid;
    ULONG ulFlags;
    BSTR bstrName;
    BSTR bstrDescription;
    BSTR bstrIcon;
    BSTR bstrCommandline;
};

enum Generation { kWia1 = 1, kWia2 = 2 };

inline constexpr GUID kSimFormatMemoryBmp = {0xb96b3caa, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID kSimFormatJpeg = {0xb96b3cae, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// WIA 2.0 additions to <wiadef.h> ("WIA_IPA_ITEM_CATEGORY", "Item Type Flags" in Microsoft's documentation).
inline constexpr PROPID kSimItemCategory = 4125;  // WIA_IPA_ITEM_CATEGORY, VT_CLSID, read-only
inline constexpr LONG kSimItemTypeProgrammableDataSource = 0x00080000;

// What a device declares about one of its properties, as IWiaPropertyStorage::GetPropertyAttributes hands it out:
// access (WIA_PROP_READ, WIA_PROP_WRITE) and the kind of its valid values (WIA_PROP_NONE, _RANGE, _LIST, _FLAG).
struct Attributes {
    ULONG flags = WIA_PROP_READ | WIA_PROP_NONE;
    std::vector<LONG> values;  // RANGE: min, nominal, max, step; LIST: nominal, then each value; FLAG: nominal, valid bits
    std::vector<GUID> guids;   // a LIST of VT_CLSID values: nominal, then each value
};

// One storage's properties: values by id and the names of ids. A property the device defines has attributes, and a
// write of it must match its type, access and valid values; properties a caller adds have none and take any value.
struct PropertyTable {
    std::wstring label;  // device id or full item name
    std::map<PROPID, PropValue> values;
    std::map<PROPID, std::wstring> names;
    std::map<PROPID, Attributes> attributes;
    // The device's own reaction to a write of `id` (the properties the documentation says it updates); may be null.
    void (*afterWrite)(PropertyTable& table, PROPID id) = nullptr;
    std::vector<FormatInfo> formats;   // an item's transfer formats (WIA_IPA_FORMAT's valid values follow its tymed)
    LONG bedWidth = 0, bedHeight = 0;  // a scanning item's area in thousandths of an inch (extents follow it)

    // The id carrying `name`, or 0 (never a property id here) when none does.
    PROPID IdOf(const wchar_t* name) const;
    // The VT_I4 value of `id`, or `fallback` when it has none.
    LONG Long(PROPID id, LONG fallback) const;
    // The VT_CLSID value of `id`, or GUID_NULL.
    GUID Guid(PROPID id) const;
};

// The code a write of `value` to property `id` of `table` gets from the device: S_OK, or E_ACCESSDENIED for a
// read-only property, E_INVALIDARG for another type or a value outside the valid values (SimProperties.cpp).
HRESULT CheckWrite(const PropertyTable& table, PROPID id, const PROPVARIANT& value);
// The valid values of `id` as GetPropertyAttributes hands them out, into a zeroed *out; its flags (0: no attributes).
ULONG AttributesOf(const PropertyTable& table, PROPID id, PROPVARIANT* out);
// The device's reaction to a write of `id` on a scanning item: intent, data type, resolution, extents, tymed, format.
void ScannerAfterWrite(PropertyTable& table, PROPID id);
void CameraAfterWrite(PropertyTable& table, PROPID id);

struct ItemNode {
    std::wstring name;
    std::wstring fullName;
    LONG type = 0;
    GUID category{};
    std::shared_ptr<PropertyTable> props;  // also the item's formats
    ItemNode* parent = nullptr;
    std::vector<std::unique_ptr<ItemNode>> children;
    int feederSheets = -1;  // sheets left in a feeder's tray; -1 for other items
    int feederLoaded = -1;  // sheets last loaded into the tray

    // The number of the next page the item gives: the tray's pages count from 0 at each loading, others are page 0.
    int NextPage() const { return feederSheets < 0 ? 0 : feederLoaded - feederSheets; }
};

struct Device {
    std::wstring id;
    LONG stiType = 0;  // StiDeviceTypeScanner 1, DigitalCamera 2, StreamingVideo 3
    std::shared_ptr<PropertyTable> info;
    std::unique_ptr<ItemNode> root;
    std::vector<Capability> caps;
};
using DevicePtr = std::shared_ptr<Device>;

// Property values as the devices hold them (SimModel.cpp).
PropValue I4(LONG value);
PropValue Bstr(const wchar_t* text, UINT length);
PropValue Bstr(const wchar_t* text);
PropValue Clsid(const GUID& guid);

// --- model state (SimModel.cpp) ---------------------------------------------------------------------------------

// Rebuilds the devices, forgets call records and the dialog answer.
void ResetModel();
// The most bytes one write through a counted file stream takes (SetStreamWriteLimit).
ULONG StreamWriteLimit();
std::vector<DevicePtr> InstalledList();
// The installed device of that id; nullptr for a null or unknown id.
DevicePtr FindInstalled(const wchar_t* id);

struct DialogAnswer {
    std::wstring deviceId;
    HRESULT hr = S_OK;
    int files = 1;
};
const DialogAnswer& CurrentDialogAnswer();
struct ItemDialogAnswer {
    HRESULT hr = S_OK;
    std::vector<bool> picks{true};
    int files = 1;
};
const ItemDialogAnswer& CurrentItemDialogAnswer();
// A new picture "IMG_<n>" below the device's root, as a camera's TakePicture command makes it.
ItemNode* AddTakenPicture(Device& device);
// The device a dialog of `deviceType` picks under the current answer; the answer's failure or cancel code, or
// WIA_S_NO_DEVICE_AVAILABLE, when it picks none.
HRESULT PickDevice(LONG deviceType, DevicePtr* device);
// Writes SampleImage() to `path`; the Win32 error as an HRESULT when that fails.
HRESULT WriteSampleImage(const std::wstring& path);

// A fresh record for this call of "<face name>::<method>"; valid until the next Record of the same method.
Call& Record(const Interface* self, const char* method);
Text TextOf(const wchar_t* text);
// Deep copy of a property value into a zeroed *out (VT_BSTR keeps its length).
void CopyValue(PROPVARIANT* out, const PROPVARIANT& in);

// --- memory handed out (SimMemory.cpp) ---------------------------------------------------------------------------

// Really frees the blocks the caller freed (ResetAll); names the blocks not freed; forgets every block.
void FreeQuarantinedBlocks();
std::vector<std::string> BlocksNotFreed();
void ForgetBlocks();

// --- objects (returned with one reference, as the first interface) -----------------------------------------------

// Base of the objects that answer IWiaPropertyStorage on `props`.
class PropertyOwner : public SimObject {
public:
    explicit PropertyOwner(std::shared_ptr<PropertyTable> props) : props_(std::move(props)) {}
    PropertyTable& Table() { return *props_; }

protected:
    void AddStorageInterface(Interface* face);

private:
    std::shared_ptr<PropertyTable> props_;
};

IUnknown* NewInfoStorage(const DevicePtr& device);                                  // SimPropertyStorage.cpp
SimObject* NewVideoObject();                                                        // SimVideo.cpp
IUnknown* NewItem(Generation generation, const DevicePtr& device, ItemNode* node);  // SimItems.cpp
// The device of a live simulated item (any interface); nullptr for anything else.
DevicePtr DeviceOfItem(const void* item);

struct ItemRef {
    DevicePtr device;
    ItemNode* node;
};
struct StatEntry {
    Text name;
    PROPID id;
    VARTYPE vt;
};
// SimEnumerators.cpp: each enumerator holds its own copy of the sequence.
IUnknown* NewItemEnum(Generation generation, std::vector<ItemRef> items);
IUnknown* NewDeviceInfoEnum(std::vector<DevicePtr> devices);
IUnknown* NewCapsEnum(std::vector<Capability> caps);
IUnknown* NewFormatEnum(std::vector<FormatInfo> formats);
IUnknown* NewStatEnum(std::vector<StatEntry> entries);

// done of total in whole percent (100 for nothing to do), as the transfers report it.
inline LONG Percent(size_t done, size_t total) {
    return total == 0 ? 100 : static_cast<LONG>(done * 100 / total);
}

// The caller's callback for the length of one transfer `call` ("IWiaTransfer::Download"): the device's own reference
// (QueryInterface for `iid`; none for a null callback) and, when `keep` is set, one more left in *kept after the
// transfer (one kept before is released). When the device lets its reference go, the callback's count must be what
// it was when the device took it, less that one: the caller holds its own references across the call and the
// callback neither keeps nor drops any ("Rules for Managing Reference Counts").
class HeldCallback {
public:
    HeldCallback(IUnknown* callback, const IID& iid, bool keep, IUnknown** kept, std::string call);
    ~HeldCallback();
    HeldCallback(const HeldCallback&) = delete;
    HeldCallback& operator=(const HeldCallback&) = delete;

    HRESULT status() const { return hr_; }

protected:
    // True when the transfer goes on after the callback's answer; otherwise (S_FALSE or a failure) the answer is the
    // transfer's result.
    static bool GoesOn(HRESULT answer, HRESULT* result);

    IUnknown* callback_ = nullptr;

private:
    HRESULT hr_ = S_OK;
    ULONG held_ = 0;  // the count while the device holds its reference
    std::string call_;
};

// The interfaces the platform receives during one of its calls ("IWiaTransfer::Upload"): arguments, and interfaces a
// callback answers whose reference the platform takes over and gives back ("IWiaTransferCallback::GetNextStream").
// When the call returns, each simulated object among them must have the count it had when the call began (made during
// the call: gone), and one that had references must still be alive: the caller holds its arguments across the call
// and the platform keeps nothing ("Rules for Managing Reference Counts"). Objects that are not simulated are not checked.
// (A test script that takes or drops references of its own on them during the call breaks the rule as well.)
class Received {
public:
    explicit Received(std::string call);
    ~Received();
    Received(const Received&) = delete;
    Received& operator=(const Received&) = delete;

    // `what` names it in a message: "the stream argument".
    void Add(IUnknown* object, const char* what);

private:
    std::string call_;
    std::map<const SimObject*, ULONG> before_;
    std::vector<std::pair<const SimObject*, const char*>> received_;
};
// Releases the callback kept in *kept, if any.
ULONG ReleaseKept(IUnknown** kept);  // the references left (0 when none was kept)

// SimDataTransfer.cpp: IWiaDataTransfer of a WIA 1.0 item (SimTransfer.h describes them). The pointers are the
// documented argument types (STGMEDIUM, WIA_DATA_TRANSFER_INFO, WIA_FORMAT_INFO, WIA_EXTENDED_TRANSFER_INFO).
HRESULT DataTransferGetData(const Interface* self, ItemNode& node, STGMEDIUM* medium, IUnknown* callback);
HRESULT DataTransferGetBandedData(const Interface* self, ItemNode& node, const void* info, IUnknown* callback);
HRESULT DataTransferQueryGetData(const Interface* self, ItemNode& node, FormatInfo* format);
HRESULT DataTransferGetExtendedTransferInfo(const Interface* self, void* info);
// Forgets the last transfer and a kept callback (without releasing it).
void ResetTransfers();
// What a transfer of page `page` of the item delivers in the item's current format into *out; false (nothing made)
// beyond kMaxPageBytes.
bool ImageBytes(const ItemNode& node, int page, std::vector<BYTE>* out);

// SimTransfer2.cpp: IWiaTransfer of a WIA 2.0 item (SimTransfer.h describes them).
HRESULT TransferDownload(const Interface* self, const DevicePtr& device, ItemNode& node, IUnknown* callback);
HRESULT TransferUpload(const Interface* self, IUnknown* stream, IUnknown* callback);
HRESULT TransferCancel(const Interface* self);
// Forgets the last WIA 2.0 transfer, the test switches and a kept callback (without releasing it).
void ResetTransfers2();

}  // namespace simwia
