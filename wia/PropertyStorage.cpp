// WIAPropertyStorageZVK: wraps IWiaPropertyStorage. Scripts read, write and delete single properties by
// id, by name or through a WIAPropertyZVK descriptor, manage property names, count, enumerate, commit
// and revert; values cross as host variants.
#include "wia/Classes.h"
#include "wia/GUIDClass.h"
#include "wia/InstanceData.h"

#include "plugin/HostApi.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "support/Log.h"
#include "support/Text.h"
#include "support/Variant.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// The published image and audio format identifiers, offered as shared methods.
constexpr GUID kImageFormatUndefined = {0xB96B3CA9, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatRawRGB = {0xBCA48B55, 0xF272, 0x4371, {0xB0, 0xF1, 0x4A, 0x15, 0x0D, 0x05, 0x7B, 0xB4}};
constexpr GUID kImageFormatMemoryBMP = {0xB96B3CAA, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatBMP = {0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatEMF = {0xB96B3CAC, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatWMF = {0xB96B3CAD, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatJPEG = {0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatPNG = {0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatGIF = {0xB96B3CB0, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatTIFF = {0xB96B3CB1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatEXIF = {0xB96B3CB2, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatPhotoCD = {0xB96B3CB3, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatFlashPix = {0xB96B3CB4, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatICO = {0xB96B3CB5, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatCIFF = {0x9821A8AB, 0x3A7E, 0x4215, {0x94, 0xE0, 0xD2, 0x7A, 0x46, 0x0C, 0x03, 0xB2}};
constexpr GUID kImageFormatPICT = {0xA6BC85D8, 0x6B3E, 0x40EE, {0xA9, 0x5C, 0x25, 0xD4, 0x82, 0xE4, 0x1A, 0xDC}};
constexpr GUID kImageFormatJPEG2K = {0x344EE2B2, 0x39DB, 0x4DDE, {0x81, 0x73, 0xC4, 0xB7, 0x5F, 0x8F, 0x1E, 0x49}};
constexpr GUID kImageFormatJPEG2KX = {0x43E14614, 0xC80A, 0x4850, {0xBA, 0xF3, 0x4B, 0x15, 0x2D, 0xC8, 0xDA, 0x27}};
constexpr GUID kImageFormatRTF = {0x573DD6A3, 0x4834, 0x432D, {0xA9, 0xB5, 0xE1, 0x98, 0xDD, 0x9E, 0x89, 0x0D}};
constexpr GUID kImageFormatXML = {0xB9171457, 0xDAC8, 0x4884, {0xB3, 0x93, 0x15, 0xB4, 0x71, 0xD5, 0xF0, 0x7E}};
constexpr GUID kImageFormatHTML = {0xC99A4E62, 0x99DE, 0x4A94, {0xAC, 0xCA, 0x71, 0x95, 0x6A, 0xC2, 0x97, 0x7D}};
constexpr GUID kImageFormatTXT = {0xFAFD4D82, 0x723F, 0x421F, {0x93, 0x18, 0x30, 0x50, 0x1A, 0xC4, 0x4B, 0x59}};
constexpr GUID kImageFormatMPG = {0xECD757E4, 0xD2EC, 0x4F57, {0x95, 0x5D, 0xBC, 0xF8, 0xA9, 0x7C, 0x4E, 0x52}};
constexpr GUID kImageFormatAVI = {0x32F8CA14, 0x087C, 0x4908, {0xB7, 0xC4, 0x67, 0x57, 0xFE, 0x7E, 0x90, 0xAB}};
constexpr GUID kImageFormatASF = {0x8D948EE9, 0xD0AA, 0x4A12, {0x9D, 0x9A, 0x9C, 0xC5, 0xDE, 0x36, 0x19, 0x9B}};
constexpr GUID kImageFormatScript = {0xFE7D6C53, 0x2DAC, 0x446A, {0xB0, 0xBD, 0xD7, 0x3E, 0x21, 0xE9, 0x24, 0xC9}};
constexpr GUID kImageFormatExec = {0x485DA097, 0x141E, 0x4AA5, {0xBB, 0x3B, 0xA5, 0x61, 0x8D, 0x95, 0xD0, 0x2B}};
constexpr GUID kImageFormatUnicode16 = {0x1B7639B6, 0x6357, 0x47D1, {0x9A, 0x07, 0x12, 0x45, 0x2D, 0xC0, 0x73, 0xE9}};
constexpr GUID kImageFormatDPOF = {0x369EEEAB, 0xA0E8, 0x45CA, {0x86, 0xA6, 0xA8, 0x3C, 0xE5, 0x69, 0x7E, 0x28}};
constexpr GUID kAudioFormatWAV = {0xF818E146, 0x07AF, 0x40FF, {0xAE, 0x55, 0xBE, 0x8F, 0x2C, 0x06, 0x5D, 0xBE}};
constexpr GUID kAudioFormatMP3 = {0x0FBC71FB, 0x43BF, 0x49F2, {0x91, 0x90, 0xE6, 0xFE, 0xCF, 0xF3, 0x7E, 0x54}};
constexpr GUID kAudioFormatAIFF = {0x66E2BF4F, 0xB6FC, 0x443F, {0x94, 0xC8, 0x2F, 0x33, 0xC8, 0xA6, 0x5A, 0xAF}};
constexpr GUID kAudioFormatWMA = {0xD61D6413, 0x8BC2, 0x438F, {0x93, 0xAD, 0x21, 0xBD, 0x48, 0x4D, 0xB6, 0xA1}};

InterfaceData* Begin(REALobject self, const char* label) {
    return BeginMethod<InterfaceData>(gPropertyStorageClass, self, label);
}

IWiaPropertyStorage* StorageOf(const InterfaceData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IWiaPropertyStorage>(data->Handle);
}

// One PROPSPEC: by id (kind 1) or by name (kind 0, the name's system string).
PROPSPEC ById(int64_t id) {
    PROPSPEC spec = {};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = static_cast<PROPID>(id);
    return spec;
}

PROPSPEC ByName(BSTRHolder& name) {
    PROPSPEC spec = {};
    spec.ulKind = PRSPEC_LPWSTR;
    spec.lpwstr = name.AsBSTR();
    return spec;
}

// The type of the property's current value: VT_EMPTY when it cannot be read (a new name, an unknown id, a failure).
VARTYPE DeviceType(IWiaPropertyStorage* storage, const PROPSPEC& spec) {
    unique_propvariant current;
    const HRESULT hr = storage->ReadMultiple(1, &spec, current.get());
    if (DebugLoggingEnabled) DebugLogLong("ReadMultiple", hr);
    return SUCCEEDED(hr) ? current.get()->vt : static_cast<VARTYPE>(VT_EMPTY);
}

// A number goes in the type the device keeps the property in (drivers validate the type: a script's Integer
// arrives as VT_I8 or VT_INT, scanner properties are VT_I4); anything else goes as the variant makes it. A number
// that does not fit the device's type is not written: Lasterror DISP_E_OVERFLOW.
void WriteValue(InterfaceData* data, const PROPSPEC& spec, REALobject value, int64_t firstNewId) {
    IWiaPropertyStorage* storage = StorageOf(data);
    const VARTYPE deviceType = DeviceType(storage, spec);
    unique_propvariant converted;
    Variant2PROPVARIANT(converted.get(), value);
    if (IsNumberType(deviceType) && IsNumberType(converted.get()->vt) && deviceType != converted.get()->vt) {
        if (DebugLoggingEnabled) DebugLogInt("device vt", deviceType);
        if (FAILED(ConvertNumber(converted.get(), deviceType))) {
            StoreResult(data->Lasterror, DISP_E_OVERFLOW, "value does not fit the device's type");
            return;
        }
    }
    if (DebugLoggingEnabled) DebugLogInt("values.vt", converted.get()->vt);
    HRESULT hr = storage->WriteMultiple(1, &spec, converted.get(), static_cast<PROPID>(firstNewId));
    StoreResult(data->Lasterror, hr, "WriteMultiple");
}

REALobject ReadValue(InterfaceData* data, const PROPSPEC& spec) {
    unique_propvariant value;
    StoreResult(data->Lasterror, StorageOf(data)->ReadMultiple(1, &spec, value.get()), "ReadMultiple");
    return PROPVARIANT2Variant(value.get());
}

void DeleteValue(InterfaceData* data, const PROPSPEC& spec) {
    StoreResult(data->Lasterror, StorageOf(data)->DeleteMultiple(1, &spec), "DeleteMultiple");
}

// Write(id as integer, value as variant)
void WriteById(REALobject self, int64_t id, REALobject value) {
    InterfaceData* data = Begin(self, "rbWriteMultiple");
    if (StorageOf(data) == nullptr) return;
    WriteValue(data, ById(id), value, id);
}

// Write(name as string, value as variant, id as integer = 0)
void WriteByName(REALobject self, REALstring name, REALobject value, int64_t id) {
    InterfaceData* data = Begin(self, "rbWriteMultipleName");
    if (StorageOf(data) == nullptr) return;
    BSTRHolder text(name);
    WriteValue(data, ByName(text), value, id);
}

// Read(id as integer) as variant
REALobject ReadById(REALobject self, int64_t id) {
    InterfaceData* data = Begin(self, "rbReadMultiple");
    if (StorageOf(data) == nullptr) return nullptr;
    return ReadValue(data, ById(id));
}

// Read(name as string) as variant
REALobject ReadByName(REALobject self, REALstring name) {
    InterfaceData* data = Begin(self, "rbReadMultipleName");
    if (StorageOf(data) == nullptr) return nullptr;
    BSTRHolder text(name);
    return ReadValue(data, ByName(text));
}

// The descriptor's name when it holds one, else null; its id either way.
const PropertyData* Descriptor(REALobject property) {
    return InstanceData<PropertyData>(gPropertyClass, property);
}

// Write(p as WIAPropertyZVK, value as variant)
void WriteByDescriptor(REALobject self, REALobject property, REALobject value) {
    InterfaceData* data = Begin(self, "rbWriteMultipleProp");
    const PropertyData* descriptor = Descriptor(property);
    if (descriptor == nullptr || StorageOf(data) == nullptr) return;
    if (descriptor->Name != nullptr) {
        WriteByName(self, descriptor->Name, value, descriptor->ID);
    } else {
        WriteById(self, descriptor->ID, value);
    }
}

// Read(p as WIAPropertyZVK) as variant
REALobject ReadByDescriptor(REALobject self, REALobject property) {
    InterfaceData* data = Begin(self, "rbReadMultipleProp");
    const PropertyData* descriptor = Descriptor(property);
    if (descriptor == nullptr || StorageOf(data) == nullptr) return nullptr;
    return descriptor->Name != nullptr ? ReadByName(self, descriptor->Name) : ReadById(self, descriptor->ID);
}

// Delete(name as string)
void DeleteByName(REALobject self, REALstring name) {
    InterfaceData* data = Begin(self, "rbDeleteMultipleName");
    if (StorageOf(data) == nullptr) return;
    BSTRHolder text(name);
    DeleteValue(data, ByName(text));
}

// Delete(id as integer)
void DeleteById(REALobject self, int64_t id) {
    InterfaceData* data = Begin(self, "rbDeleteMultiple");
    if (StorageOf(data) == nullptr) return;
    DeleteValue(data, ById(id));
}

// DeletePropertyName(id as integer)
void DeletePropertyName(REALobject self, int64_t id) {
    InterfaceData* data = Begin(self, "rbDeletePropertyNames");
    IWiaPropertyStorage* storage = StorageOf(data);
    if (storage == nullptr) return;
    PROPID propid = static_cast<PROPID>(id);
    StoreResult(data->Lasterror, storage->DeletePropertyNames(1, &propid), "DeletePropertyNames");
}

// WritePropertyName(id as integer, name as string)
void WritePropertyName(REALobject self, int64_t id, REALstring name) {
    InterfaceData* data = Begin(self, "rbWritePropertyNames");
    IWiaPropertyStorage* storage = StorageOf(data);
    if (storage == nullptr) return;
    BSTRHolder text(name);
    PROPID propid = static_cast<PROPID>(id);
    LPOLESTR names[] = {text.AsBSTR()};
    StoreResult(data->Lasterror, storage->WritePropertyNames(1, &propid, names), "WritePropertyNames");
}

// ReadPropertyName(id as integer) as string
REALstring ReadPropertyName(REALobject self, int64_t id) {
    InterfaceData* data = Begin(self, "rbReadPropertyNames");
    IWiaPropertyStorage* storage = StorageOf(data);
    if (storage == nullptr) return nullptr;
    PROPID propid = static_cast<PROPID>(id);
    unique_cotaskmem<wchar_t> name;
    StoreResult(data->Lasterror, storage->ReadPropertyNames(1, &propid, name.put()), "ReadPropertyNames");
    return WString2RB(name.get());
}

// Count as integer
int64_t Count(REALobject self) {
    InterfaceData* data = Begin(self, "rbGetCount");
    IWiaPropertyStorage* storage = StorageOf(data);
    if (storage == nullptr) return 0;
    ULONG count = 0;
    StoreResult(data->Lasterror, storage->GetCount(&count), "GetCount");
    if (DebugLoggingEnabled) DebugLogULong("count", count);
    return static_cast<int64_t>(count);
}

// Commit(flags as integer)
void Commit(REALobject self, int64_t flags) {
    InterfaceData* data = Begin(self, "rbCommit");
    IWiaPropertyStorage* storage = StorageOf(data);
    if (storage == nullptr) return;
    StoreResult(data->Lasterror, storage->Commit(static_cast<DWORD>(flags)), "Commit");
}

// Revert
void Revert(REALobject self) {
    InterfaceData* data = Begin(self, "rbRevert");
    IWiaPropertyStorage* storage = StorageOf(data);
    if (storage == nullptr) return;
    StoreResult(data->Lasterror, storage->Revert(), "Revert");
}

// Enumerate as WIAPropertyEnumeratorZVK
REALobject Enumerate(REALobject self) {
    InterfaceData* data = Begin(self, "rbEnum");
    IWiaPropertyStorage* storage = StorageOf(data);
    if (storage == nullptr) return nullptr;
    IEnumSTATPROPSTG* properties = nullptr;
    StoreResult(data->Lasterror, storage->Enum(&properties), "Enum");
    return NewPropertyEnumeratorObject(properties);
}

// clang-format off
MethodDefinition kMethods[] = {
    Method(WriteByDescriptor,  "Write(p as WIAPropertyZVK, value as variant)"),
    Method(WriteByName,        "Write(name as string, value as variant, id as integer = 0)"),
    Method(WriteById,          "Write(id as integer, value as variant)"),
    Method(ReadByName,         "Read(name as string) as variant"),
    Method(ReadById,           "Read(id as integer) as variant"),
    Method(ReadByDescriptor,   "Read(p as WIAPropertyZVK) as variant"),
    Method(DeleteByName,       "Delete(name as string)"),
    Method(DeleteById,         "Delete(id as integer)"),
    Method(DeletePropertyName, "DeletePropertyName(id as integer)"),
    Method(WritePropertyName,  "WritePropertyName(id as integer, name as string)"),
    Method(ReadPropertyName,   "ReadPropertyName(id as integer) as string"),
    Method(Count,              "Count as integer"),
    Method(Commit,             "Commit(flags as integer)"),
    Method(Revert,             "Revert"),
    Method(Enumerate,          "Enumerate as WIAPropertyEnumeratorZVK"),
};
// clang-format on

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};
// clang-format on

// Commit flags, the property names and ids of the platform, group by group, and the medium types.
// clang-format off
ConstantDefinition kConstants[] = {
    Constant("kCommitFlagsDefault = 0"),
    Constant("kCommitFlagsOverwrite = 1"),
    Constant("kCommitFlagsOnlyIfCurrent = 2"),
    Constant("kCommitFlagsDangeroulyCommitMeRelyToDiskCache = 4"),
    Constant("kCommitFlagsConsolidate = 8"),
    // kDeviceProperty
    Constant("kDevicePropertyDevIdString = \"Unique Device ID\""),
    Constant("kDevicePropertyVendDescString = \"Manufacturer\""),
    Constant("kDevicePropertyDevDescString = \"Description\""),
    Constant("kDevicePropertyDevTypeString = \"Type\""),
    Constant("kDevicePropertyPortNameString = \"Port\""),
    Constant("kDevicePropertyDevNameString = \"Name\""),
    Constant("kDevicePropertyServerNameString = \"Server\""),
    Constant("kDevicePropertyRemoteDevIdString = \"Remote Device ID\""),
    Constant("kDevicePropertyUiClsidString = \"UI Class ID\""),
    Constant("kDevicePropertyHwConfigString = \"Hardware Configuration\""),
    Constant("kDevicePropertyBaudrateString = \"BaudRate\""),
    Constant("kDevicePropertyStiGenCapabilitiesString = \"STI Generic Capabilities\""),
    Constant("kDevicePropertyWiaVersionString = \"WIA Version\""),
    Constant("kDevicePropertyDriverVersionString = \"Driver Version\""),
    Constant("kDevicePropertyFirmwareVersionString = \"Firmware Version\""),
    Constant("kDevicePropertyConnectStatusString = \"Connect Status\""),
    Constant("kDevicePropertyDeviceTimeString = \"Device Time\""),
    // kCameraDeviceProperty
    Constant("kCameraDevicePropertyPicturesTakenString = \"Pictures Taken\""),
    Constant("kCameraDevicePropertyPicturesRemainingString = \"Pictures Remaining\""),
    Constant("kCameraDevicePropertyExposureModeString = \"Exposure Mode\""),
    Constant("kCameraDevicePropertyExposureCompString = \"Exposure Compensation\""),
    Constant("kCameraDevicePropertyExposureTimeString = \"Exposure Time\""),
    Constant("kCameraDevicePropertyFnumberString = \"F Number\""),
    Constant("kCameraDevicePropertyFlashModeString = \"Flash Mode\""),
    Constant("kCameraDevicePropertyFocusModeString = \"Focus Mode\""),
    Constant("kCameraDevicePropertyFocusManualDistString = \"Focus Manual Dist\""),
    Constant("kCameraDevicePropertyZoomPositionString = \"Zoom Position\""),
    Constant("kCameraDevicePropertyPanPositionString = \"Pan Position\""),
    Constant("kCameraDevicePropertyTiltPositionString = \"Tilt Position\""),
    Constant("kCameraDevicePropertyTimerModeString = \"Timer Mode\""),
    Constant("kCameraDevicePropertyTimerValueString = \"Timer Value\""),
    Constant("kCameraDevicePropertyPowerModeString = \"Power Mode\""),
    Constant("kCameraDevicePropertyBatteryStatusString = \"Battery Status\""),
    Constant("kCameraDevicePropertyThumbWidthString = \"Thumbnail Width\""),
    Constant("kCameraDevicePropertyThumbHeightString = \"Thumbnail Height\""),
    Constant("kCameraDevicePropertyPictWidthString = \"Picture Width\""),
    Constant("kCameraDevicePropertyPictHeightString = \"Picture Height\""),
    Constant("kCameraDevicePropertyDimensionString = \"Dimension\""),
    Constant("kCameraDevicePropertyCompressionSettingString = \"Compression Setting\""),
    Constant("kCameraDevicePropertyFocusMeteringModeString = \"Focus Metering Mode\""),
    Constant("kCameraDevicePropertyTimelapseIntervalString = \"Timelapse Interval\""),
    Constant("kCameraDevicePropertyTimelapseNumberString = \"Timelapse Number\""),
    Constant("kCameraDevicePropertyBurstIntervalString = \"Burst Interval\""),
    Constant("kCameraDevicePropertyBurstNumberString = \"Burst Number\""),
    Constant("kCameraDevicePropertyEffectModeString = \"Effect Mode\""),
    Constant("kCameraDevicePropertyDigitalZoomString = \"Digital Zoom\""),
    Constant("kCameraDevicePropertySharpnessString = \"Sharpness\""),
    Constant("kCameraDevicePropertyContrastString = \"Contrast\""),
    Constant("kCameraDevicePropertyCaptureModeString = \"Capture Mode\""),
    Constant("kCameraDevicePropertyCaptureDelayString = \"Capture Delay\""),
    Constant("kCameraDevicePropertyExposureIndexString = \"Exposure Index\""),
    Constant("kCameraDevicePropertyExposureMeteringModeString = \"Exposure Metering Mode\""),
    Constant("kCameraDevicePropertyFocusDistanceString = \"Focus Distance\""),
    Constant("kCameraDevicePropertyFocalLengthString = \"Focus Length\""),
    Constant("kCameraDevicePropertyRgbGainString = \"RGB Gain\""),
    Constant("kCameraDevicePropertyWhiteBalanceString = \"White Balance\""),
    Constant("kCameraDevicePropertyUploadUrlString = \"Upload URL\""),
    Constant("kCameraDevicePropertyArtistString = \"Artist\""),
    Constant("kCameraDevicePropertyCopyrightInfoString = \"Copyright Info\""),
    // kScannerDeviceProperty
    Constant("kScannerDevicePropertyHorizontalBedSizeString = \"Horizontal Bed Size\""),
    Constant("kScannerDevicePropertyVerticalBedSizeString = \"Vertical Bed Size\""),
    Constant("kScannerDevicePropertyHorizontalSheetFeedSizeString = \"Horizontal Sheet Feed Size\""),
    Constant("kScannerDevicePropertyVerticalSheetFeedSizeString = \"Vertical Sheet Feed Size\""),
    Constant("kScannerDevicePropertySheetFeederRegistrationString = \"Sheet Feeder Registration\""),
    Constant("kScannerDevicePropertyHorizontalBedRegistrationString = \"Horizontal Bed Registration\""),
    Constant("kScannerDevicePropertyVerticalBedRegistrationString = \"Vertical Bed Registration\""),
    Constant("kScannerDevicePropertyPlatenColorString = \"Platen Color\""),
    Constant("kScannerDevicePropertyPadColorString = \"Pad Color\""),
    Constant("kScannerDevicePropertyFilterSelectString = \"Filter Select\""),
    Constant("kScannerDevicePropertyDitherSelectString = \"Dither Select\""),
    Constant("kScannerDevicePropertyDitherPatternDataString = \"Dither Pattern Data\""),
    Constant("kScannerDevicePropertyDocumentHandlingCapabilitiesString = \"Document Handling Capabilities\""),
    Constant("kScannerDevicePropertyDocumentHandlingStatusString = \"Document Handling Status\""),
    Constant("kScannerDevicePropertyDocumentHandlingSelectString = \"Document Handling Select\""),
    Constant("kScannerDevicePropertyDocumentHandlingCapacityString = \"Document Handling Capacity\""),
    Constant("kScannerDevicePropertyOpticalXresString = \"Horizontal Optical Resolution\""),
    Constant("kScannerDevicePropertyOpticalYresString = \"Vertical Optical Resolution\""),
    Constant("kScannerDevicePropertyEndorserCharactersString = \"Endorser Characters\""),
    Constant("kScannerDevicePropertyEndorserStringString = \"Endorser String\""),
    Constant("kScannerDevicePropertyScanAheadPagesString = \"Scan Ahead Pages\""),
    Constant("kScannerDevicePropertyMaxScanTimeString = \"Max Scan Time\""),
    Constant("kScannerDevicePropertyPagesString = \"Pages\""),
    Constant("kScannerDevicePropertyPageSizeString = \"Page Size\""),
    Constant("kScannerDevicePropertyPageWidthString = \"Page Width\""),
    Constant("kScannerDevicePropertyPageHeightString = \"Page Height\""),
    Constant("kScannerDevicePropertyPreviewString = \"Preview\""),
    Constant("kScannerDevicePropertyTransparencyString = \"Transparency Adapter\""),
    Constant("kScannerDevicePropertyTransparencySelectString = \"Transparency Adapter Select\""),
    Constant("kScannerDevicePropertyShowPreviewControlString = \"Show preview control\""),
    Constant("kScannerDevicePropertyMinHorizontalSheetFeedSizeString = \"Minimum Horizontal Sheet Feed Size\""),
    Constant("kScannerDevicePropertyMinVerticalSheetFeedSizeString = \"Minimum Vertical Sheet Feed Size\""),
    // kFileSystemProperty
    Constant("kFileSystemPropertyMountPointString = \"Directory mount point\""),
    // kVideoCameraProperty
    Constant("kVideoCameraPropertyLastPictureTakenString = \"Last Picture Taken\""),
    Constant("kVideoCameraPropertyImagesDirectoryString = \"Images Directory\""),
    Constant("kVideoCameraPropertyDShowDevicePathString = \"Directshow Device Path\""),
    // kItemProperty
    Constant("kItemPropertyItemNameString = \"Item Name\""),
    Constant("kItemPropertyFullItemNameString = \"Full Item Name\""),
    Constant("kItemPropertyItemTimeString = \"Item Time Stamp\""),
    Constant("kItemPropertyItemFlagsString = \"Item Flags\""),
    Constant("kItemPropertyAccessRightsString = \"Access Rights\""),
    Constant("kItemPropertyDatatypeString = \"Data Type\""),
    Constant("kItemPropertyDepthString = \"Bits Per Pixel\""),
    Constant("kItemPropertyPreferredFormatString = \"Preferred Format\""),
    Constant("kItemPropertyFormatString = \"Format\""),
    Constant("kItemPropertyCompressionString = \"Compression\""),
    Constant("kItemPropertyTymedString = \"Media Type\""),
    Constant("kItemPropertyChannelsPerPixelString = \"Channels Per Pixel\""),
    Constant("kItemPropertyBitsPerChannelString = \"Bits Per Channel\""),
    Constant("kItemPropertyPlanarString = \"Planar\""),
    Constant("kItemPropertyPixelsPerLineString = \"Pixels Per Line\""),
    Constant("kItemPropertyBytesPerLineString = \"Bytes Per Line\""),
    Constant("kItemPropertyNumberOfLinesString = \"Number of Lines\""),
    Constant("kItemPropertyGammaCurvesString = \"Gamma Curves\""),
    Constant("kItemPropertyItemSizeString = \"Item Size\""),
    Constant("kItemPropertyColorProfileString = \"Color Profiles\""),
    Constant("kItemPropertyMinBufferSizeString = \"Buffer Size\""),
    Constant("kItemPropertyRegionTypeString = \"Region Type\""),
    Constant("kItemPropertyIcmProfileNameString = \"Color Profile Name\""),
    Constant("kItemPropertyAppColorMappingString = \"Application Applies Color Mapping\""),
    Constant("kItemPropertyPropStreamCompatIdString = \"Stream Compatibility ID\""),
    Constant("kItemPropertyFilenameExtensionString = \"Filename extension\""),
    Constant("kItemPropertySuppressPropertyPageString = \"Suppress a property page\""),
    // kCameraItemProperty
    Constant("kCameraItemPropertyThumbnailString = \"Thumbnail Data\""),
    Constant("kCameraItemPropertyThumbWidthString = \"Thumbnail Width\""),
    Constant("kCameraItemPropertyThumbHeightString = \"Thumbnail Height\""),
    Constant("kCameraItemPropertyAudioAvailableString = \"Audio Available\""),
    Constant("kCameraItemPropertyAudioDataFormatString = \"Audio Format\""),
    Constant("kCameraItemPropertyAudioDataString = \"Audio Data\""),
    Constant("kCameraItemPropertyNumPictPerRowString = \"Pictures per Row\""),
    Constant("kCameraItemPropertySequenceString = \"Sequence Number\""),
    Constant("kCameraItemPropertyTimedelayString = \"Time Delay\""),
    // kScannerItemProperty
    Constant("kScannerItemPropertyCurIntentString = \"Current Intent\""),
    Constant("kScannerItemPropertyXresString = \"Horizontal Resolution\""),
    Constant("kScannerItemPropertyYresString = \"Vertical Resolution\""),
    Constant("kScannerItemPropertyXposString = \"Horizontal Start Position\""),
    Constant("kScannerItemPropertyYposString = \"Vertical Start Position\""),
    Constant("kScannerItemPropertyXextentString = \"Horizontal Extent\""),
    Constant("kScannerItemPropertyYextentString = \"Vertical Extent\""),
    Constant("kScannerItemPropertyPhotometricInterpString = \"Photometric Interpretation\""),
    Constant("kScannerItemPropertyBrightnessString = \"Brightness\""),
    Constant("kScannerItemPropertyContrastString = \"Contrast\""),
    Constant("kScannerItemPropertyOrientationString = \"Orientation\""),
    Constant("kScannerItemPropertyRotationString = \"Rotation\""),
    Constant("kScannerItemPropertyMirrorString = \"Mirror\""),
    Constant("kScannerItemPropertyThresholdString = \"Threshold\""),
    Constant("kScannerItemPropertyInvertString = \"Invert\""),
    Constant("kScannerItemPropertyWarmUpTimeString = \"Lamp Warm up Time\""),
    // kDeviceProperty
    Constant("kDevicePropertyDevId = 2"),
    Constant("kDevicePropertyVendDesc = 3"),
    Constant("kDevicePropertyDevDesc = 4"),
    Constant("kDevicePropertyDevType = 5"),
    Constant("kDevicePropertyPortName = 6"),
    Constant("kDevicePropertyDevName = 7"),
    Constant("kDevicePropertyServerName = 8"),
    Constant("kDevicePropertyRemoteDevId = 9"),
    Constant("kDevicePropertyUiClsid = 10"),
    Constant("kDevicePropertyHwConfig = 11"),
    Constant("kDevicePropertyBaudrate = 12"),
    Constant("kDevicePropertyStiGenCapabilities = 13"),
    Constant("kDevicePropertyWiaVersion = 14"),
    Constant("kDevicePropertyDriverVersion = 15"),
    Constant("kDevicePropertyFirmwareVersion = 1026"),
    Constant("kDevicePropertyConnectStatus = 1027"),
    Constant("kDevicePropertyDeviceTime = 1028"),
    // kCameraDeviceProperty
    Constant("kCameraDevicePropertyPicturesTaken = 2050"),
    Constant("kCameraDevicePropertyPicturesRemaining = 2051"),
    Constant("kCameraDevicePropertyExposureMode = 2052"),
    Constant("kCameraDevicePropertyExposureComp = 2053"),
    Constant("kCameraDevicePropertyExposureTime = 2054"),
    Constant("kCameraDevicePropertyFnumber = 2055"),
    Constant("kCameraDevicePropertyFlashMode = 2056"),
    Constant("kCameraDevicePropertyFocusMode = 2057"),
    Constant("kCameraDevicePropertyFocusManualDist = 2058"),
    Constant("kCameraDevicePropertyZoomPosition = 2059"),
    Constant("kCameraDevicePropertyPanPosition = 2060"),
    Constant("kCameraDevicePropertyTiltPosition = 2061"),
    Constant("kCameraDevicePropertyTimerMode = 2062"),
    Constant("kCameraDevicePropertyTimerValue = 2063"),
    Constant("kCameraDevicePropertyPowerMode = 2064"),
    Constant("kCameraDevicePropertyBatteryStatus = 2065"),
    Constant("kCameraDevicePropertyThumbWidth = 2066"),
    Constant("kCameraDevicePropertyThumbHeight = 2067"),
    Constant("kCameraDevicePropertyPictWidth = 2068"),
    Constant("kCameraDevicePropertyPictHeight = 2069"),
    Constant("kCameraDevicePropertyDimension = 2070"),
    Constant("kCameraDevicePropertyCompressionSetting = 2071"),
    Constant("kCameraDevicePropertyFocusMeteringMode = 2072"),
    Constant("kCameraDevicePropertyTimelapseInterval = 2073"),
    Constant("kCameraDevicePropertyTimelapseNumber = 2074"),
    Constant("kCameraDevicePropertyBurstInterval = 2075"),
    Constant("kCameraDevicePropertyBurstNumber = 2076"),
    Constant("kCameraDevicePropertyEffectMode = 2077"),
    Constant("kCameraDevicePropertyDigitalZoom = 2078"),
    Constant("kCameraDevicePropertySharpness = 2079"),
    Constant("kCameraDevicePropertyContrast = 2080"),
    Constant("kCameraDevicePropertyCaptureMode = 2081"),
    Constant("kCameraDevicePropertyCaptureDelay = 2082"),
    Constant("kCameraDevicePropertyExposureIndex = 2083"),
    Constant("kCameraDevicePropertyExposureMeteringMode = 2084"),
    Constant("kCameraDevicePropertyFocusDistance = 2086"),
    Constant("kCameraDevicePropertyFocalLength = 2087"),
    Constant("kCameraDevicePropertyRgbGain = 2088"),
    Constant("kCameraDevicePropertyWhiteBalance = 2089"),
    Constant("kCameraDevicePropertyUploadUrl = 2090"),
    Constant("kCameraDevicePropertyArtist = 2091"),
    Constant("kCameraDevicePropertyCopyrightInfo = 2092"),
    // kScannerDeviceProperty
    Constant("kScannerDevicePropertyHorizontalBedSize = 3074"),
    Constant("kScannerDevicePropertyVerticalBedSize = 3075"),
    Constant("kScannerDevicePropertyHorizontalSheetFeedSize = 3076"),
    Constant("kScannerDevicePropertyVerticalSheetFeedSize = 3077"),
    Constant("kScannerDevicePropertySheetFeederRegistration = 3078"),
    Constant("kScannerDevicePropertyHorizontalBedRegistration = 3079"),
    Constant("kScannerDevicePropertyVerticalBedRegistration = 3080"),
    Constant("kScannerDevicePropertyPlatenColor = 3081"),
    Constant("kScannerDevicePropertyPadColor = 3082"),
    Constant("kScannerDevicePropertyFilterSelect = 3083"),
    Constant("kScannerDevicePropertyDitherSelect = 3084"),
    Constant("kScannerDevicePropertyDitherPatternData = 3085"),
    Constant("kScannerDevicePropertyDocumentHandlingCapabilities = 3086"),
    Constant("kScannerDevicePropertyDocumentHandlingStatus = 3087"),
    Constant("kScannerDevicePropertyDocumentHandlingSelect = 3088"),
    Constant("kScannerDevicePropertyDocumentHandlingCapacity = 3089"),
    Constant("kScannerDevicePropertyOpticalXres = 3090"),
    Constant("kScannerDevicePropertyOpticalYres = 3091"),
    Constant("kScannerDevicePropertyEndorserCharacters = 3092"),
    Constant("kScannerDevicePropertyEndorserString = 3093"),
    Constant("kScannerDevicePropertyScanAheadPages = 3094"),
    Constant("kScannerDevicePropertyMaxScanTime = 3095"),
    Constant("kScannerDevicePropertyPages = 3096"),
    Constant("kScannerDevicePropertyPageSize = 3097"),
    Constant("kScannerDevicePropertyPageWidth = 3098"),
    Constant("kScannerDevicePropertyPageHeight = 3099"),
    Constant("kScannerDevicePropertyPreview = 3100"),
    Constant("kScannerDevicePropertyTransparency = 3101"),
    Constant("kScannerDevicePropertyTransparencySelect = 3102"),
    Constant("kScannerDevicePropertyShowPreviewControl = 3103"),
    Constant("kScannerDevicePropertyMinHorizontalSheetFeedSize = 3104"),
    Constant("kScannerDevicePropertyMinVerticalSheetFeedSize = 3105"),
    // kFileSystemProperty
    Constant("kFileSystemPropertyMountPoint = 3330"),
    // kVideoCameraProperty
    Constant("kVideoCameraPropertyLastPictureTaken = 3586"),
    Constant("kVideoCameraPropertyImagesDirectory = 3587"),
    Constant("kVideoCameraPropertyDShowDevicePath = 3588"),
    // kItemProperty
    Constant("kItemPropertyItemName = 4098"),
    Constant("kItemPropertyFullItemName = 4099"),
    Constant("kItemPropertyItemTime = 4100"),
    Constant("kItemPropertyItemFlags = 4101"),
    Constant("kItemPropertyAccessRights = 4102"),
    Constant("kItemPropertyDatatype = 4103"),
    Constant("kItemPropertyDepth = 4104"),
    Constant("kItemPropertyPreferredFormat = 4105"),
    Constant("kItemPropertyFormat = 4106"),
    Constant("kItemPropertyCompression = 4107"),
    Constant("kItemPropertyTymed = 4108"),
    Constant("kItemPropertyChannelsPerPixel = 4109"),
    Constant("kItemPropertyBitsPerChannel = 4110"),
    Constant("kItemPropertyPlanar = 4111"),
    Constant("kItemPropertyPixelsPerLine = 4112"),
    Constant("kItemPropertyBytesPerLine = 4113"),
    Constant("kItemPropertyNumberOfLines = 4114"),
    Constant("kItemPropertyGammaCurves = 4115"),
    Constant("kItemPropertyItemSize = 4116"),
    Constant("kItemPropertyColorProfile = 4117"),
    Constant("kItemPropertyMinBufferSize = 4118"),
    Constant("kItemPropertyRegionType = 4119"),
    Constant("kItemPropertyIcmProfileName = 4120"),
    Constant("kItemPropertyAppColorMapping = 4121"),
    Constant("kItemPropertyPropStreamCompatId = 4122"),
    Constant("kItemPropertyFilenameExtension = 4123"),
    Constant("kItemPropertySuppressPropertyPage = 4124"),
    // kCameraItemProperty
    Constant("kCameraItemPropertyThumbnail = 5122"),
    Constant("kCameraItemPropertyThumbWidth = 5123"),
    Constant("kCameraItemPropertyThumbHeight = 5124"),
    Constant("kCameraItemPropertyAudioAvailable = 5125"),
    Constant("kCameraItemPropertyAudioDataFormat = 5126"),
    Constant("kCameraItemPropertyAudioData = 5127"),
    Constant("kCameraItemPropertyNumPictPerRow = 5128"),
    Constant("kCameraItemPropertySequence = 5129"),
    Constant("kCameraItemPropertyTimedelay = 5130"),
    // kScannerItemProperty
    Constant("kScannerItemPropertyCurIntent = 6146"),
    Constant("kScannerItemPropertyXres = 6147"),
    Constant("kScannerItemPropertyYres = 6148"),
    Constant("kScannerItemPropertyXpos = 6149"),
    Constant("kScannerItemPropertyYpos = 6150"),
    Constant("kScannerItemPropertyXextent = 6151"),
    Constant("kScannerItemPropertyYextent = 6152"),
    Constant("kScannerItemPropertyPhotometricInterp = 6153"),
    Constant("kScannerItemPropertyBrightness = 6154"),
    Constant("kScannerItemPropertyContrast = 6155"),
    Constant("kScannerItemPropertyOrientation = 6156"),
    Constant("kScannerItemPropertyRotation = 6157"),
    Constant("kScannerItemPropertyMirror = 6158"),
    Constant("kScannerItemPropertyThreshold = 6159"),
    Constant("kScannerItemPropertyInvert = 6160"),
    Constant("kScannerItemPropertyWarmUpTime = 6161"),
    Constant("kTymedFile = 2"),
    Constant("kTymedCallback = 128"),
    Constant("kTymedMultiPageFile = 256"),
    Constant("kTymedMultiPageCallback = 512"),
};
// clang-format on

// clang-format off
MethodDefinition kSharedMethods[] = {
    Method(GUIDConstant<kImageFormatUndefined>, "kImageFormatUndefined as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatRawRGB>,    "kImageFormatRawRGB as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatMemoryBMP>, "kImageFormatMemoryBMP as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatBMP>,       "kImageFormatBMP as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatEMF>,       "kImageFormatEMF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatWMF>,       "kImageFormatWMF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatJPEG>,      "kImageFormatJPEG as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatPNG>,       "kImageFormatPNG as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatGIF>,       "kImageFormatGIF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatTIFF>,      "kImageFormatTIFF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatEXIF>,      "kImageFormatEXIF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatPhotoCD>,   "kImageFormatPhotoCD as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatFlashPix>,  "kImageFormatFlashPix as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatICO>,       "kImageFormatICO as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatCIFF>,      "kImageFormatCIFF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatPICT>,      "kImageFormatPICT as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatJPEG2K>,    "kImageFormatJPEG2K as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatJPEG2KX>,   "kImageFormatJPEG2KX as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatRTF>,       "kImageFormatRTF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatXML>,       "kImageFormatXML as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatHTML>,      "kImageFormatHTML as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatTXT>,       "kImageFormatTXT as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatMPG>,       "kImageFormatMPG as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatAVI>,       "kImageFormatAVI as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatASF>,       "kImageFormatASF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatScript>,    "kImageFormatScript as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatExec>,      "kImageFormatExec as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatUnicode16>, "kImageFormatUnicode16 as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatDPOF>,      "kImageFormatDPOF as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatWAV>,       "kAudioFormatWAV as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatMP3>,       "kAudioFormatMP3 as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatAIFF>,      "kAudioFormatAIFF as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatWMA>,       "kAudioFormatWMA as WIAGUIDZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gPropertyStorageClass = ClassBuilder("WIAPropertyStorageZVK", sizeof(InterfaceData))
                                            .Destructor(PropertyStorageDestructor)
                                            .Properties(kProperties)
                                            .Methods(kMethods)
                                            .Constants(kConstants)
                                            .SharedMethods(kSharedMethods);

}  // namespace zvk
