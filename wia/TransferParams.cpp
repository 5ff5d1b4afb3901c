// WIATransferParamsZVK: A copy of one WiaTransferParams record.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

uint64_t TransferredBytesGetter(REALobject self, int64_t) {
    auto* data = InstanceData<TransferParamsData>(gTransferParamsClass, self);
    return data == nullptr ? 0 : data->TransferredBytes;
}

void TransferredBytesSetter(REALobject self, int64_t, uint64_t value) {
    if (auto* data = InstanceData<TransferParamsData>(gTransferParamsClass, self)) data->TransferredBytes = value;
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Message", "Integer", 1),
    BoundProperty("PercentComplete", "Integer", 2),
    ComputedProperty("TransferredBytes", "UInt64", TransferredBytesGetter, TransferredBytesSetter),
    BoundProperty("ErrorStatus", "Integer", 3),
};
// clang-format on

}  // namespace

ClassDefinition gTransferParamsClass = ClassBuilder("WIATransferParamsZVK", sizeof(TransferParamsData)).Properties(kProperties);

}  // namespace zvk
