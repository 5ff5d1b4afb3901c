// The instance data of every class: the block of 64-bit fields that the host reserves inside each
// object, at the offset it wrote into the class definition when the class was registered.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstdint>

#include "plugin/ClassRecords.h"

namespace zvk {

// Found afresh on every access: the host writes the offset at registration.
template <typename T>
T* InstanceData(const ClassDefinition& cls, REALobject object) {
    return object == nullptr ? nullptr : reinterpret_cast<T*>(reinterpret_cast<char*>(object) + cls.dataOffset);
}

// Device managers, property storages, enumerators, streams, transfers, video.
struct InterfaceData {
    int64_t Handle;  // the wrapped interface; one owned reference
    int64_t Lasterror;
};

// Items and item enumerators: Handle repeats whichever generation is set and is never released.
struct TwoGenerationData {
    int64_t Handle;
    int64_t Handle1;  // WIA 1.0 interface
    int64_t Handle2;  // WIA 2.0 interface
    int64_t Lasterror;
};

// The medium of the last file transfer, kept until the next one or the object's end.
struct KeptMedium {
    uint32_t tymed;
    uint32_t reserved;
    void* pointer;
    IUnknown* releaseObject;
};

struct DataTransferData {
    int64_t Handle;
    int64_t Lasterror;
    KeptMedium medium;
    int64_t spare;
};

struct DataTransferInfoData {
    int64_t Size;
    int64_t Section;
    int64_t BufferSize;
    int64_t DoubleBuffer;  // a Boolean: the host uses the first byte
    int64_t Reserved1;
    int64_t Reserved2;
    int64_t Reserved3;
};

struct DeviceCapabilitiesData {
    REALstring GUID;  // the 16 GUID bytes as a raw host string
    int64_t Flags;
    REALstring Name;
    REALstring Description;
    REALstring Icon;
    REALstring Commandline;
};

struct ExtendedTransferInfoData {
    int64_t Size;
    int64_t MinBufferSize;
    int64_t OptimalBufferSize;
    int64_t MaxBufferSize;
    int64_t NumBuffers;
};

struct FormatInfoData {
    REALobject FormatID;  // a WIAGUIDZVK; one owned reference
    int64_t Tymed;
    int64_t spare;
};

struct GUIDData {
    ::GUID value;
};

struct PropertyData {
    REALstring Name;  // one owned reference, nil when the property has no name
    int64_t ID;
    int64_t Type;
};

struct TransferParamsData {
    uint64_t TransferredBytes;
    int64_t Message;
    int64_t PercentComplete;
    int64_t ErrorStatus;
    int64_t spare;
};

// The two callback classes: the address of their COM object in Handle, and the same address kept where
// scripts cannot reach it (Handle is assignable), so that the object owns exactly what it made.
struct CallbackData {
    int64_t Handle;
    int64_t owned;
};

static_assert(sizeof(DataTransferData) == 48, "WIADataTransferZVK size");
static_assert(sizeof(DataTransferInfoData) == 56, "WIADataTransferInfoZVK size");
static_assert(sizeof(DeviceCapabilitiesData) == 48, "WIADeviceCapabilitiesZVK size");
static_assert(sizeof(ExtendedTransferInfoData) == 40, "WIAExtendedTransferInfoZVK size");
static_assert(sizeof(FormatInfoData) == 24, "WIAFormatInfoZVK size");
static_assert(sizeof(GUIDData) == 16, "WIAGUIDZVK size");
static_assert(sizeof(TwoGenerationData) == 32, "WIAItemZVK size");
static_assert(sizeof(PropertyData) == 24, "WIAPropertyZVK size");
static_assert(sizeof(TransferParamsData) == 40, "WIATransferParamsZVK size");

}  // namespace zvk
