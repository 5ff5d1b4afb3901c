// WIADataTransferInfoZVK: The parameters of a banded transfer, filled by the script.
// A plain record without constructor or destructor: scripts make it with New and set its properties;
// GetBandedData copies it into the platform's WIA_DATA_TRANSFER_INFO.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

ULONG Low32(int64_t value) {
    return static_cast<ULONG>(static_cast<uint64_t>(value));
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Size",         "Integer",    0),
    BoundProperty("Section",      "Integer",    1),
    BoundProperty("BufferSize",   "Integer",    2),
    BoundProperty("DoubleBuffer", "Boolean",    3),
};
// clang-format on

}  // namespace

WIA_DATA_TRANSFER_INFO* FillDataTransferInfo(REALobject info, WIA_DATA_TRANSFER_INFO* record) {
    const DataTransferInfoData* data = InstanceData<DataTransferInfoData>(gDataTransferInfoClass, info);
    if (data == nullptr) return nullptr;
    const auto doubleBuffer = *reinterpret_cast<const int8_t*>(&data->DoubleBuffer);  // the host's Boolean byte
    record->ulSize = Low32(data->Size);
    record->ulSection = Low32(data->Section);
    record->ulBufferSize = Low32(data->BufferSize);
    record->bDoubleBuffer = static_cast<BOOL>(doubleBuffer);
    record->ulReserved1 = Low32(data->Reserved1);
    record->ulReserved2 = Low32(data->Reserved2);
    record->ulReserved3 = Low32(data->Reserved3);
    return record;
}

ClassDefinition gDataTransferInfoClass =
    ClassBuilder("WIADataTransferInfoZVK", sizeof(DataTransferInfoData)).Properties(kProperties);

}  // namespace zvk
