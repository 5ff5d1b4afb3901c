#include "wia/Wrapper.h"

#include <cstddef>
#include <utility>

#include "plugin/HostApi.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "wia/Classes.h"
#include "wia/GUIDClass.h"

namespace zvk {

static_assert(sizeof(KeptMedium) == sizeof(STGMEDIUM), "the kept medium is an STGMEDIUM");
static_assert(offsetof(KeptMedium, pointer) == offsetof(STGMEDIUM, lpszFileName), "medium pointer");
static_assert(offsetof(KeptMedium, releaseObject) == offsetof(STGMEDIUM, pUnkForRelease), "medium release object");

namespace {

int64_t HandleValue(const void* pointer) {
    return static_cast<int64_t>(reinterpret_cast<uintptr_t>(pointer));
}

// Takes over one reference: a new object of cls holds it (store writes it into the instance data), or
// the reference is released when the host makes no instance.
template <typename Data, typename Interface, typename Store>
REALobject Wrap(const ClassDefinition& cls, Interface* pointer, Store store) {
    if (pointer == nullptr) return nullptr;
    com_ptr<Interface> owned(pointer);
    REALobject object = host::NewInstance(cls.name);
    if (object == nullptr) return nullptr;
    store(*InstanceData<Data>(cls, object), HandleValue(owned.release()));
    return object;
}

template <typename Data, typename Interface>
REALobject WrapSingle(const ClassDefinition& cls, Interface* pointer) {
    return Wrap<Data>(cls, pointer, [](Data& data, int64_t handle) { data.Handle = handle; });
}

template <typename Interface>
REALobject WrapGeneration1(const ClassDefinition& cls, Interface* pointer) {
    return Wrap<TwoGenerationData>(cls, pointer, [](TwoGenerationData& data, int64_t handle) {
        data.Handle1 = handle;
        data.Handle = handle;
    });
}

template <typename Interface>
REALobject WrapGeneration2(const ClassDefinition& cls, Interface* pointer) {
    return Wrap<TwoGenerationData>(cls, pointer, [](TwoGenerationData& data, int64_t handle) {
        data.Handle2 = handle;
        data.Handle = handle;
    });
}

// A new record object of cls, or nil; its instance data comes back through data.
template <typename Data>
REALobject NewRecord(const ClassDefinition& cls, Data** data) {
    REALobject object = host::NewInstance(cls.name);
    *data = InstanceData<Data>(cls, object);
    return object;
}

void ReleaseHandle(int64_t& handle) {
    if (IUnknown* pointer = InterfaceOf<IUnknown>(std::exchange(handle, 0))) pointer->Release();
}

void GiveBack(REALstring& text) {
    host::UnlockString(std::exchange(text, nullptr));
}

template <typename Data>
void ReleaseSingle(const ClassDefinition& cls, REALobject self, const char* label) {
    if (DebugLoggingEnabled && label != nullptr) DebugLog(label);
    if (Data* data = InstanceData<Data>(cls, self)) ReleaseHandle(data->Handle);
}

// Handle repeats Handle1 or Handle2 and is only cleared, so the one reference goes back once.
void ReleaseTwoGeneration(const ClassDefinition& cls, REALobject self) {
    TwoGenerationData* data = InstanceData<TwoGenerationData>(cls, self);
    if (data == nullptr) return;
    ReleaseHandle(data->Handle1);
    ReleaseHandle(data->Handle2);
    data->Handle = 0;
}

}  // namespace

void StoreResult(int64_t& lasterror, HRESULT code, const char* label) {
    lasterror = WidenResult(code);
    if (DebugLoggingEnabled && label != nullptr) DebugLogLong(label, code);
}

void StoreResultWithMessage(int64_t& lasterror, HRESULT code, const char* label) {
    StoreResult(lasterror, code, label);
    DebugLogSystemMessage(code);
}

void MovePathsInto(REALarray array, BSTR* paths, LONG count) {
    if (paths == nullptr) return;
    for (LONG i = 0; i < count; ++i) {
        unique_host_string path(WString2RB(paths[i]));
        host::InsertIntoArray(array, i, path.get());
        SysFreeString(paths[i]);
    }
    CoTaskMemFree(paths);
}

REALobject NewPropertyStorageObject(IWiaPropertyStorage* storage) {
    return WrapSingle<InterfaceData>(gPropertyStorageClass, storage);
}

REALobject NewPropertyEnumeratorObject(IEnumSTATPROPSTG* enumerator) {
    return WrapSingle<InterfaceData>(gPropertyEnumeratorClass, enumerator);
}

REALobject NewDeviceInfoEnumeratorObject(IEnumWIA_DEV_INFO* enumerator) {
    return WrapSingle<InterfaceData>(gDeviceInfoEnumeratorClass, enumerator);
}

REALobject NewDeviceCapabilitiesEnumeratorObject(IEnumWIA_DEV_CAPS* enumerator) {
    return WrapSingle<InterfaceData>(gDeviceCapabilitiesEnumeratorClass, enumerator);
}

REALobject NewFormatInfoEnumeratorObject(IEnumWIA_FORMAT_INFO* enumerator) {
    return WrapSingle<InterfaceData>(gFormatInfoEnumeratorClass, enumerator);
}

REALobject NewTransferObject(IWiaTransfer* transfer) {
    return WrapSingle<InterfaceData>(gTransferClass, transfer);
}

REALobject NewStreamObject(IStream* stream) {
    return WrapSingle<InterfaceData>(gStreamClass, stream);
}

REALobject NewDataTransferObject(IWiaDataTransfer* transfer) {
    return WrapSingle<DataTransferData>(gDataTransferClass, transfer);
}

REALobject NewItemObject(IWiaItem* item) {
    return WrapGeneration1(gItemClass, item);
}

REALobject NewItemObject(IWiaItem2* item) {
    return WrapGeneration2(gItemClass, item);
}

REALobject NewItemEnumeratorObject(IEnumWiaItem* enumerator) {
    return WrapGeneration1(gItemEnumeratorClass, enumerator);
}

REALobject NewItemEnumeratorObject(IEnumWiaItem2* enumerator) {
    return WrapGeneration2(gItemEnumeratorClass, enumerator);
}

REALobject NewPropertyObject(const STATPROPSTG* description) {
    if (description == nullptr) return nullptr;
    PropertyData* data = nullptr;
    REALobject object = NewRecord(gPropertyClass, &data);
    if (object == nullptr) return nullptr;
    data->Name = WString2RB(description->lpwstrName);
    data->ID = static_cast<int64_t>(static_cast<uint32_t>(description->propid));
    data->Type = static_cast<int64_t>(static_cast<uint16_t>(description->vt));
    return object;
}

REALobject NewFormatInfoObject(const WIA_FORMAT_INFO* format) {
    if (format == nullptr) return nullptr;
    FormatInfoData* data = nullptr;
    REALobject object = NewRecord(gFormatInfoClass, &data);
    if (object == nullptr) return nullptr;
    data->FormatID = NewGUIDObject(format->guidFormatID);
    data->Tymed = static_cast<int64_t>(static_cast<int32_t>(format->lTymed));
    return object;
}

REALobject NewDeviceCapabilitiesObject(const WIA_DEV_CAP* capability) {
    if (capability == nullptr) return nullptr;
    DeviceCapabilitiesData* data = nullptr;
    REALobject object = NewRecord(gDeviceCapabilitiesClass, &data);
    if (object == nullptr) return nullptr;
    data->GUID = REALBuildUnicodeString(&capability->guid, sizeof capability->guid, encoding::kUnknown);
    data->Flags = static_cast<int64_t>(static_cast<uint32_t>(capability->ulFlags));
    data->Name = WString2RB(capability->bstrName);
    data->Description = WString2RB(capability->bstrDescription);
    data->Icon = WString2RB(capability->bstrIcon);
    data->Commandline = WString2RB(capability->bstrCommandline);
    return object;
}

REALobject NewExtendedTransferInfoObject(const WIA_EXTENDED_TRANSFER_INFO* info) {
    if (info == nullptr) return nullptr;
    ExtendedTransferInfoData* data = nullptr;
    REALobject object = NewRecord(gExtendedTransferInfoClass, &data);
    if (object == nullptr) return nullptr;
    data->Size = static_cast<int64_t>(static_cast<uint32_t>(info->ulSize));
    data->MinBufferSize = static_cast<int64_t>(static_cast<uint32_t>(info->ulMinBufferSize));
    data->OptimalBufferSize = static_cast<int64_t>(static_cast<uint32_t>(info->ulOptimalBufferSize));
    data->MaxBufferSize = static_cast<int64_t>(static_cast<uint32_t>(info->ulMaxBufferSize));
    data->NumBuffers = static_cast<int64_t>(static_cast<uint32_t>(info->ulNumBuffers));
    return object;
}

REALobject NewTransferParamsObject(const WiaTransferParams* params) {
    if (params == nullptr) return nullptr;
    TransferParamsData* data = nullptr;
    REALobject object = NewRecord(gTransferParamsClass, &data);
    if (object == nullptr) return nullptr;
    data->TransferredBytes = params->ulTransferredBytes;
    data->Message = static_cast<int64_t>(static_cast<int32_t>(params->lMessage));
    data->PercentComplete = static_cast<int64_t>(static_cast<int32_t>(params->lPercentComplete));
    data->ErrorStatus = WidenResult(params->hrErrorStatus);
    return object;
}

IWiaItem* ItemHandleOf(REALobject item) {
    TwoGenerationData* data = InstanceData<TwoGenerationData>(gItemClass, item);
    return data == nullptr ? nullptr : InterfaceOf<IWiaItem>(data->Handle1);
}

IStream* StreamHandleOf(REALobject stream) {
    InterfaceData* data = InstanceData<InterfaceData>(gStreamClass, stream);
    return data == nullptr ? nullptr : InterfaceOf<IStream>(data->Handle);
}

HWND WindowHandleOf(REALobject window) {
    int64_t handle = 0;
    if (window == nullptr || !host::GetPropValueInteger(window, "Handle", &handle)) return nullptr;
    return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

void DataTransferDestructor(REALobject self) noexcept {
    DataTransferData* data = InstanceData<DataTransferData>(gDataTransferClass, self);
    if (data == nullptr) return;
    ReleaseHandle(data->Handle);
    ReleaseStgMedium(reinterpret_cast<STGMEDIUM*>(&data->medium));
    data->medium = KeptMedium{};
}

void DeviceCapabilitiesDestructor(REALobject self) noexcept {
    DeviceCapabilitiesData* data = InstanceData<DeviceCapabilitiesData>(gDeviceCapabilitiesClass, self);
    if (data == nullptr) return;
    GiveBack(data->GUID);
    GiveBack(data->Name);
    GiveBack(data->Description);
    GiveBack(data->Icon);
    GiveBack(data->Commandline);
}

void DeviceCapabilitiesEnumeratorDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gDeviceCapabilitiesEnumeratorClass, self, nullptr);
}

void DeviceInfoEnumeratorDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gDeviceInfoEnumeratorClass, self, nullptr);
}

void DeviceManager1Destructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gDeviceManager1Class, self, "WIADeviceManager1Destructor");
}

void DeviceManager2Destructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gDeviceManager2Class, self, "WIADeviceManager2Destructor");
}

void FormatInfoDestructor(REALobject self) noexcept {
    FormatInfoData* data = InstanceData<FormatInfoData>(gFormatInfoClass, self);
    if (data != nullptr) host::UnlockObject(std::exchange(data->FormatID, nullptr));
}

void FormatInfoEnumeratorDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gFormatInfoEnumeratorClass, self, nullptr);
}

void ItemDestructor(REALobject self) noexcept {
    ReleaseTwoGeneration(gItemClass, self);
}

void ItemEnumeratorDestructor(REALobject self) noexcept {
    ReleaseTwoGeneration(gItemEnumeratorClass, self);
}

void PropertyDestructor(REALobject self) noexcept {
    PropertyData* data = InstanceData<PropertyData>(gPropertyClass, self);
    if (data != nullptr) GiveBack(data->Name);
}

void PropertyEnumeratorDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gPropertyEnumeratorClass, self, "WIAPropertyEnumeratorDestructor");
}

void PropertyStorageDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gPropertyStorageClass, self, "WIAPropertyStorageDestructor");
}

void StreamDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gStreamClass, self, nullptr);
}

void TransferDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gTransferClass, self, nullptr);
}

void VideoDestructor(REALobject self) noexcept {
    ReleaseSingle<InterfaceData>(gVideoClass, self, nullptr);
}

}  // namespace zvk
