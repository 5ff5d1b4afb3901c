// WIATransferParamsZVK: a copy of one WiaTransferParams record, handed to the TransferCallback event; a change a
// script makes reaches nobody. The message constants carry the codes the platform sends, since Message is passed on
// unchanged and scripts compare it with them.
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

// clang-format off
ConstantDefinition kConstants[] = {
    Constant("kMessageStatus = 1"),
    Constant("kMessageEndOfStream = 2"),
    Constant("kMessageEndOfTransfer = 3"),
    Constant("kMessageDeviceStatus = 5"),
    Constant("kMessageNewPage = 6"),
};
// clang-format on

}  // namespace

ClassDefinition gTransferParamsClass =
    ClassBuilder("WIATransferParamsZVK", sizeof(TransferParamsData)).Properties(kProperties).Constants(kConstants);

}  // namespace zvk
