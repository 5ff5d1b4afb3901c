// SimPlatform.h - the simulated WIA platform that the Windows test programs run the library against.
//
// Install() puts the WIA 1.0 and 2.0 device managers and the WIA video object in place, so the library's own
// CoCreateInstance calls (routed here by SimulatedClasses, tests/host/PlatformHooks.h) reach simulated objects. Every simulated
// object is counted, every simulated method is logged by its name "Interface::Method" and can be told to fail. All functions run
// on the test thread, which has initialised COM (apartment-threaded) before Install().
//
// Behind both device managers stand three installed devices (below): a flatbed scanner with a document feeder, a
// digital camera and a streaming-video device, each with a device-information property storage and a tree of items
// whose property storages behave as the platform's: by id or by name, a missing property reads as VT_EMPTY with
// S_FALSE, a new name gets an id from propidNameFirst on. Every enumerator answers S_FALSE at its end, and its
// clone starts where the original stands. Tests read back what the library wrote with StoredValue() and
// LastCall(), and decide every dialog with SetDialogAnswer().
//
// The platform holds its caller to the documented rules of memory and references: every block it hands out must be
// freed exactly once with the matching function; a destroyed object keeps its memory until ResetAll(), so a call
// that still reaches it is seen; the interfaces a transfer receives must end it with the count they began it with;
// file streams the plug-in opens are counted like simulated objects (CountedFileStream). Every rule broken is
// recorded, and Leftovers() names it with the blocks not freed for the check at the end of each test
// (docs/ARCHITECTURE.md lists the rules and the pages they come from).
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <objidl.h>
#include <propidl.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace simwia {

// Puts the simulated classes in place (CLSID_WiaDevMgr and CLSID_WiaDevMgr2 as local servers only, WiaVideo in-process
// only); Uninstall() takes them away again (objects already made stay alive until released), so that the system's own
// classes answer. A second call of either does nothing.
void Install();
void Uninstall();
// CoCreateInstance of the simulated platform: false when the class is not one of the installed simulated ones (the
// system's CoCreateInstance answers then); otherwise *hr is the call's result: REGDB_E_CLASSNOTREG for a context
// without the class's own, else the class object's CreateInstance ("ClassFactory::CreateInstance").
bool CreateSimulated(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out, HRESULT* hr);
// Clears failure plans, call counts and call records, the dialog answer, and rebuilds the devices in their
// initial state (objects still alive keep the state they were made from). Really frees the handed-out blocks the
// caller freed and the memory of the objects destroyed so far; Leftovers() stay until ForgetLeftovers().
void ResetAll();

// Simulated objects currently alive (class objects not included), and the sum of their reference counts.
long LiveObjects();
long OutstandingReferences();
// Each live simulated object by its first interface and count, for messages: "IStream 2".
std::vector<std::string> LiveObjectNames();

// Reference count of a live simulated object, read without changing it; 0 for anything else.
ULONG RefCount(IUnknown* object);

// The next `times` calls of `method` ("IWiaDevMgr2::CreateDevice", "ClassFactory::CreateInstance") return `hr`
// at once, touching no argument (QueryInterface and CreateInstance still clear their out-pointer); times < 0
// means every call until ResetFailures(). A success code such as S_FALSE may be planned too. AddRef and Release
// are counted but never fail. Method names are the interface's documented ones, logged under the interface the
// call came through: "IWiaItem::GetRootItem", "IWiaPropertyStorage::ReadMultiple", "IEnumWIA_DEV_INFO::Next",
// "IWiaDataTransfer::idtEnumWIA_FORMAT_INFO", "IWiaTransfer::EnumWIA_FORMAT_INFO", "IEnumSTATPROPSTG::Skip" ...
void FailNext(const char* method, HRESULT hr, int times = 1);
void ResetFailures();

// How often `method` was entered since the last ResetCounts(), failed calls included.
int CallCount(const char* method);
// Every call since the last ResetCounts() that could fail, in order (AddRef and Release are only counted).
std::vector<std::string> CallSequence();
void ResetCounts();

// --- what the caller gives back ------------------------------------------------------------------------------------

// The frees of the test program and of the plug-in, routed here by the fixture's import hooks (tests/host/
// PlatformHooks.h). Each answers false for memory the platform did not hand out, which the hook then frees as usual.
// A block it handed out is marked freed but kept until ResetAll(), so that its address is not reused and a second
// free is seen; a second free, or one with the other function, is a rule broken.
bool FreeHandedBstr(BSTR text);     // SysFreeString
bool FreeHandedBlock(void* block);  // CoTaskMemFree
// PropVariantClear: the blocks inside the value (strings, GUID, vector elements and array, blob) are freed and the
// value zeroed ("PropVariantClear function"); false, and nothing done, when none of them was handed out.
bool ClearHandedValue(PROPVARIANT* value);
// ReleaseStgMedium, before the system's own: a TYMED_FILE medium whose file name the platform handed out has its file
// deleted when it has no release object, its name freed and set to null ("ReleaseStgMedium function").
void ReleaseHandedFileName(STGMEDIUM* medium);

// A stream SHCreateStreamOnFileW made, behind a counted simulated object that takes over its reference and forwards
// every IStream method to it: the stream counts among LiveObjects(), a call after its last Release is a rule broken,
// and its methods are logged and can be failed as "IStream::Read" ... LastCall("IStream::Seek") holds the move
// (position) and origin (flags) as received, LastCall("IStream::CopyTo") the destination (item) and byte count
// (position): the system's own stream keeps only the low 32 bits of a move. Null stays null.
IStream* CountedFileStream(IStream* stream);
// Until ResetAll(), every write through a counted file stream takes at most `bytes` (and says so): a full medium.
void SetStreamWriteLimit(ULONG bytes);

// What the caller left behind, each named: every block handed out and not freed ("not freed: BSTR from
// IWiaDevMgr2::GetImageDlg"), then every rule broken since ForgetLeftovers() ("BSTR from IWiaDevMgr2::GetImageDlg
// freed twice (SysFreeString)").
std::vector<std::string> Leftovers();
// Forgets the above, for the end of a test: blocks freed meanwhile are really freed, blocks never freed stay leaked.
void ForgetLeftovers();

// --- devices and items ------------------------------------------------------------------------------------------

// Device identifiers (WIA_DIP_DEV_ID), in enumeration order. WIA_DIP_DEV_TYPE is a VT_I4 with the STI device type
// in its high word: 0x00010000 scanner, 0x00020000 camera, 0x00030000 video.
inline constexpr wchar_t kScannerId[] = L"{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0000";
inline constexpr wchar_t kCameraId[] = L"{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0001";
inline constexpr wchar_t kVideoId[] = L"{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0002";

// Full item names (WIA_IPA_FULL_ITEM_NAME) of every item. Roots are folders; Flatbed, Feeder and the pictures are
// transfer items without children (EnumChildItems on them answers E_INVALIDARG); the video root has no children.
// Every call that returns items makes new objects of the caller's generation. Simulated item methods: GetItemType,
// EnumChildItems (WIA 2.0: a null category lists all children, otherwise those of that category), FindItemByName
// (S_FALSE and no item for a name not below the item), GetRootItem, GetParentItem (S_FALSE and no item on a root),
// GetItemCategory, EnumDeviceCapabilities (flags WIA_DEVICE_COMMANDS 1 / WIA_DEVICE_EVENTS 2; neither: E_INVALIDARG),
// QueryInterface for IWiaPropertyStorage and IWiaDataTransfer (WIA 1.0) or IWiaTransfer (WIA 2.0), whose format
// enumerations are simulated; WIA 1.0 and 2.0 transfers follow SimTransfer.h. The others (tree changes) answer
// E_NOTIMPL for now; all record their arguments. Item dialogs follow SetItemDialogAnswer(); DeviceCommand with
// WIA_CMD_TAKE_PICTURE on a camera or video root adds a picture below the root and returns it (other commands answer
// E_NOTIMPL). A null out-pointer is E_POINTER throughout.
inline constexpr wchar_t kScannerRoot[] = L"0000\\Root";
inline constexpr wchar_t kScannerFlatbed[] = L"0000\\Root\\Flatbed";
inline constexpr wchar_t kScannerFeeder[] = L"0000\\Root\\Feeder";
inline constexpr wchar_t kCameraRoot[] = L"0001\\Root";
inline constexpr wchar_t kCameraPicture1[] = L"0001\\Root\\IMG_0001";
inline constexpr wchar_t kCameraPicture2[] = L"0001\\Root\\IMG_0002";

// One capability as IEnumWIA_DEV_CAP hands it out (each text copied with SysAllocString; null stays null).
// Commands have flags 0, events WIA_NOTIFICATION_EVENT and/or WIA_ACTION_EVENT. The scanner has a command with an
// empty name; the video device has no events.
struct Capability {
    GUID guid;
    ULONG flags;
    const wchar_t* name;
    const wchar_t* description;
    const wchar_t* icon;
    const wchar_t* commandline;
    bool event;  // listed for WIA_DEVICE_EVENTS (2), otherwise for WIA_DEVICE_COMMANDS (1)
};

// One transfer format as IEnumWIA_FORMAT_INFO hands it out (the 20-byte WIA_FORMAT_INFO).
struct FormatInfo {
    GUID format;
    LONG tymed;
};

// What the simulated tree holds for one item.
struct ItemInfo {
    LONG type = 0;                       // GetItemType, also WIA_IPA_ITEM_FLAGS
    std::vector<std::wstring> children;  // full names, in enumeration order
};

// The installed devices' identifiers, in enumeration order.
std::vector<std::wstring> InstalledDevices();
// Adds `count` plain image items "Extra_00001" ... below the item of that full name, until ResetAll() (for
// measuring long walks).
void SetExtraChildren(const wchar_t* fullItemName, int count);
// The item of that full name (type 0 and no children when there is none); the device's capabilities, all kinds, in
// order.
ItemInfo Item(const wchar_t* fullItemName);
std::vector<Capability> Capabilities(const wchar_t* deviceId);

// --- property values ----------------------------------------------------------------------------------------------

// An owned deep copy of a PROPVARIANT, cleared on destruction. VT_BSTR keeps its length (embedded zeros included).
class PropValue {
public:
    PropValue();  // VT_EMPTY
    explicit PropValue(const PROPVARIANT& value);
    PropValue(const PropValue& other);
    PropValue(PropValue&& other) noexcept;
    PropValue& operator=(PropValue other) noexcept;
    ~PropValue();

    const PROPVARIANT& get() const { return value_; }
    VARTYPE vt() const { return value_.vt; }
    // Copies the value into *out (a zeroed or cleared PROPVARIANT the caller clears with PropVariantClear).
    void CopyTo(PROPVARIANT* out) const;

private:
    PROPVARIANT value_;
};

// Property tables are named by the device identifier (device-information storage) or by the full item name (item
// storage). An item's storage is shared by all its simulated objects and both generations; writes land at once.
//
// The value of property `id` in a table (VT_EMPTY when absent), its name (nullopt when it has none), and the
// table that a simulated item or property storage pointer (any of its interfaces) works on ("" when none).
PropValue StoredValue(const wchar_t* table, PROPID id);
std::optional<std::wstring> StoredName(const wchar_t* table, PROPID id);
std::wstring TableOf(IUnknown* itemOrStorage);
// Puts a value (and, when given, a name) into a table before the library reads it.
void SetStoredValue(const wchar_t* table, PROPID id, const PROPVARIANT& value, const wchar_t* name = nullptr);

// Every item has WIA_IPA_ITEM_NAME, WIA_IPA_FULL_ITEM_NAME, WIA_IPA_ITEM_FLAGS; roots also carry the
// device-information properties; transfer items WIA_IPA_FORMAT / WIA_IPA_PREFERRED_FORMAT (VT_CLSID), WIA_IPA_TYMED.

// ReadMultiple answers S_FALSE when none of the properties exists (each missing one reads as VT_EMPTY); WriteMultiple
// replaces the value with whatever type is written, refuses a VT_EMPTY value with E_INVALIDARG (the device accepts no
// empty value), an id outside [2, 0x80000000) and a new name with propidNameFirst outside it with
// STG_E_INVALIDPARAMETER, and checks everything before it writes anything; DeleteMultiple keeps the name;
// ReadPropertyNames answers S_FALSE when no id has a name. A PROPSPEC by name with a null or empty name is
// STG_E_INVALIDPARAMETER, null arrays STG_E_INVALIDPOINTER. Commit and Revert only answer S_OK (writes land at once).
// Arguments are recorded (LastCall) whatever the answer.

// --- call records -------------------------------------------------------------------------------------------------

using Text = std::optional<std::wstring>;  // a string argument as received; nullopt for a null pointer

// One PROPSPEC as received.
struct Spec {
    ULONG kind = PRSPEC_PROPID;  // PRSPEC_PROPID (1) or PRSPEC_LPWSTR (0)
    PROPID id = 0;               // kind PRSPEC_PROPID
    Text name;                   // kind PRSPEC_LPWSTR
};

// The arguments of one call; each method fills the fields it has, the others keep their defaults.
struct Call {
    HWND window = nullptr;          // hwndParent
    LONG flags = 0;                 // lFlag(s), grfCommitFlags (EnumDeviceInfo, CreateDevice, dialogs, Commit ...)
    LONG deviceType = 0;            // lDeviceType
    LONG intent = 0;                // lIntent
    Text filename;                  // bstrFilename
    Text itemName;                  // bstrItemName of CreateChildItem
    Text fullItemName;              // bstrFullItemName of CreateChildItem (WIA 1.0) and FindItemByName
    LONG creationFlags = 0;         // lCreationFlags of IWiaItem2::CreateChildItem
    IUnknown* item = nullptr;       // pItemRoot of IWiaDevMgr::GetImageDlg, pstm of IStream::CopyTo (not referenced;
                                    // compare only)
    int64_t position = 0;           // dlibMove of IStream::Seek, cb of IStream::CopyTo
    std::optional<GUID> guid;       // category of EnumChildItems, command of DeviceCommand, format of GetImageDlg on
                                    // entry; nullopt for a null pointer
    std::vector<Spec> specs;        // ReadMultiple, WriteMultiple, DeleteMultiple
    std::vector<PropValue> values;  // WriteMultiple
    PROPID propidNameFirst = 0;     // WriteMultiple
    std::vector<Text> names;        // WritePropertyNames
    bool outputsClear = false;      // dialogs: every out-pointer was given and pointed at null / 0 on entry
};

// The arguments of the last call of `method` ("IWiaDevMgr::EnumDeviceInfo"), recorded before any planned failure;
// a default Call when it was not called since ResetAll() (CallCount() tells).
Call LastCall(const char* method);
// The last call's window, device type, flags, intent, creation flags and item names as text, the ones it was not
// given left out, and "clear" when its out-pointers were: "window 0x42 type 2 flags 4 intent 0x10000 clear",
// "flags 4 creation 7 name \"Album\"".
std::string ArgumentsOf(const char* method);
// The last call's property specs as text, and the first new id a write was given: "id 5000 first 5000", "name Custom".
std::string SpecsOf(const char* method);

// --- dialogs ------------------------------------------------------------------------------------------------------

// Decides every later dialog (SelectDeviceDlg, SelectDeviceDlgID, GetImageDlg of both managers): `hr` is returned;
// with S_OK the dialog picks `deviceId`, or, when it is null or empty, the first installed device of the requested
// type (any type for 0); none gives WIA_S_NO_DEVICE_AVAILABLE. The cancel code is S_FALSE: nothing is returned.
// The WIA 2.0 image dialog writes `files` files "<folder>\<filename>.bmp", "<folder>\<filename> (2).bmp" ... and
// returns the device's first child item (its root when it has none); the WIA 1.0 image dialog writes its file name
// (a null name: E_INVALIDARG) and sets the format to WiaImgFmt_BMP. A root item passed to it names the device.
// Default answer: S_OK, first matching device, 1 file.
void SetDialogAnswer(const wchar_t* deviceId, HRESULT hr = S_OK, int files = 1);
// Decides every later item dialog (IWiaItem::DeviceDlg, IWiaItem2::DeviceDlg); `hr` is returned, and with a
// failure or S_FALSE nothing else. WIA 1.0: a CoTaskMemAlloc array with one entry per element of `picks`, a new item
// for true (the dialog item's children in turn, the item itself when it has none), null for false; an empty `picks`
// gives no array. WIA 2.0: writes `files` files as the image dialog does (a null folder or file name: E_INVALIDARG)
// and returns the item's first child (the item itself when it has none) when picks is non-empty and picks[0] is
// true. Default answer: S_OK, one item, 1 file.
void SetItemDialogAnswer(HRESULT hr, std::vector<bool> picks = {true}, int files = 1);
// The bytes of every image file the dialogs write: a 2 x 2 pixel, 24-bit BMP.
std::vector<BYTE> SampleImage();

// The fields of the first record of each kind a script reaches, as the platform handed them out, by the field's name
// (integers in decimal, texts as UTF-8, GUID objects in registry form, a GUID text as its 16 bytes): the flatbed's first format
// ("WIAFormatInfoZVK"), the scanner's first capability ("WIADeviceCapabilitiesZVK"), a WIA 1.0 item's extended transfer
// information
// ("WIAExtendedTransferInfoZVK"); empty for other classes.
std::map<std::string, std::string> RecordFields(const std::string& className);

// Until ResetAll(), the script is re-entrant: its event handlers let go of their own references to what the platform
// received (a stream constructed again, a callback dropped), so an interface may end a call with fewer references than
// it began it with, or gone once the platform was done with it; calls after the last Release still fail the test.
void AllowScriptReleases(bool allow);

// The platform's value of each number a class of the plug-in declares as a constant, by "<class>.<constant>"
// (SimConstants.cpp; the property ids and names are <wiadef.h>'s g_wiaPropIdToName).
std::map<std::string, int64_t> PlatformConstants();

}  // namespace simwia
