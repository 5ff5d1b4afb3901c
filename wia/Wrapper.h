// What every wrapper class shares: the creators that turn a system interface or record into a new host
// object, the destructors that give it back, the accessors that read a wrapped pointer out of an object
// argument, the window-handle read, and the Lasterror rule. All of it runs on the host's thread.
#pragma once

#include <windows.h>
#include <propidl.h>

#include <cstdint>

#include "plugin/ClassRecords.h"
#include "support/Log.h"
#include "wia/InstanceData.h"
#include "wia/WiaInterfaces.h"

namespace zvk {

// Lasterror of a method that made no system call.
constexpr int64_t kNoCall = -1;

// A 32-bit result code widened with its sign: 0 success, 1 the system's false-but-successful code,
// failures negative (0x8007000E gives -2147024882).
constexpr int64_t WidenResult(HRESULT code) {
    return static_cast<int64_t>(static_cast<int32_t>(code));
}

// Stores the code of a system call into Lasterror and, while logging is on, logs it under the label.
void StoreResult(int64_t& lasterror, HRESULT code, const char* label);
// The same, followed by the system's message text for the code.
void StoreResultWithMessage(int64_t& lasterror, HRESULT code, const char* label);

// Moves a system-allocated array of count BSTR paths into a host string array from index 0 on, and
// frees every path and the array itself (null paths: nothing to do).
void MovePathsInto(REALarray array, BSTR* paths, LONG count);

// Steps 1 to 3 of every method: logs the entry label (when logging is on and the label is not null),
// finds the instance data and sets its Lasterror to -1. Null only for a nil object.
template <typename Data>
Data* BeginMethod(const ClassDefinition& cls, REALobject self, const char* label) {
    if (DebugLoggingEnabled && label != nullptr) DebugLog(label);
    Data* data = InstanceData<Data>(cls, self);
    if (data != nullptr) data->Lasterror = kNoCall;
    return data;
}

// The interface a Handle field holds, or null.
template <typename Interface>
Interface* InterfaceOf(int64_t handle) {
    return reinterpret_cast<Interface*>(static_cast<uintptr_t>(handle));
}

// Creators of interface wrappers. Each takes over the caller's one reference: the new object owns it
// and the caller must not release it. A null pointer gives nil; when the host makes no instance the
// creator releases the reference itself and gives nil.
REALobject NewPropertyStorageObject(IWiaPropertyStorage* storage);
REALobject NewPropertyEnumeratorObject(IEnumSTATPROPSTG* enumerator);
REALobject NewDeviceInfoEnumeratorObject(IEnumWIA_DEV_INFO* enumerator);
REALobject NewDeviceCapabilitiesEnumeratorObject(IEnumWIA_DEV_CAPS* enumerator);
REALobject NewFormatInfoEnumeratorObject(IEnumWIA_FORMAT_INFO* enumerator);
REALobject NewTransferObject(IWiaTransfer* transfer);
REALobject NewStreamObject(IStream* stream);
REALobject NewDataTransferObject(IWiaDataTransfer* transfer);
// Items and item enumerators store the pointer in the field of its generation and repeat it in Handle.
REALobject NewItemObject(IWiaItem* item);
REALobject NewItemObject(IWiaItem2* item);
REALobject NewItemEnumeratorObject(IEnumWiaItem* enumerator);
REALobject NewItemEnumeratorObject(IEnumWiaItem2* enumerator);

// Creators of record objects. They copy the record (texts into host strings, the format GUID into a
// new WIAGUIDZVK owned by the record object) and leave it to the caller; a null record gives nil.
REALobject NewPropertyObject(const STATPROPSTG* description);
REALobject NewFormatInfoObject(const WIA_FORMAT_INFO* format);
REALobject NewDeviceCapabilitiesObject(const WIA_DEV_CAP* capability);
REALobject NewExtendedTransferInfoObject(const WIA_EXTENDED_TRANSFER_INFO* info);
// A WIATransferParamsZVK copy of a progress record: the byte count unchanged, the three 32-bit values widened with
// their sign.
REALobject NewTransferParamsObject(const WiaTransferParams* params);

// Handle accessors for object arguments: the wrapped pointer, borrowed (no reference added), or null
// for nil. An item gives its WIA 1.0 interface (null for a WIA 2.0 item).
IWiaItem* ItemHandleOf(REALobject item);
IStream* StreamHandleOf(REALobject stream);
// The IWiaDataCallback that a WIADataCallbackZVK owns (borrowed), or null for nil.
IWiaDataCallback* DataCallbackOf(REALobject callback);
// The IWiaTransferCallback that a WIATransferCallbackZVK owns (borrowed), or null for nil.
IWiaTransferCallback* TransferCallbackOf(REALobject callback);

// Fills a WIA_DATA_TRANSFER_INFO from a WIADataTransferInfoZVK: the integers by their low 32 bits, the
// Boolean byte widened with its sign. Null for a nil object (nothing written), otherwise record.
WIA_DATA_TRANSFER_INFO* FillDataTransferInfo(REALobject info, WIA_DATA_TRANSFER_INFO* record);

// The native handle of a window or DesktopWindow argument, read from its integer property "Handle";
// 0 (no parent window) for nil or when the host cannot read it.
HWND WindowHandleOf(REALobject window);

// Window overloads continue in the integer-handle overload: the handle as that overload's integer, and
// the integer as the system's window handle.
inline int64_t WindowAsInteger(REALobject window) {
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(WindowHandleOf(window)));
}
inline HWND WindowFromInteger(int64_t window) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(window));
}

// Destructors, registered in the class records; the host calls each when an object of its class dies.
// Interface wrappers release what they own once and clear the fields; record objects give back their
// host strings and objects.
void DataTransferDestructor(REALobject self) noexcept;
void DeviceCapabilitiesDestructor(REALobject self) noexcept;
void DeviceCapabilitiesEnumeratorDestructor(REALobject self) noexcept;
void DeviceInfoEnumeratorDestructor(REALobject self) noexcept;
void DeviceManager1Destructor(REALobject self) noexcept;
void DeviceManager2Destructor(REALobject self) noexcept;
void FormatInfoDestructor(REALobject self) noexcept;
void FormatInfoEnumeratorDestructor(REALobject self) noexcept;
void ItemDestructor(REALobject self) noexcept;
void ItemEnumeratorDestructor(REALobject self) noexcept;
void PropertyDestructor(REALobject self) noexcept;
void PropertyEnumeratorDestructor(REALobject self) noexcept;
void PropertyStorageDestructor(REALobject self) noexcept;
void StreamDestructor(REALobject self) noexcept;
void TransferDestructor(REALobject self) noexcept;
void VideoDestructor(REALobject self) noexcept;

}  // namespace zvk
