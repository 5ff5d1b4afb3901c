// WIATransferCallbackZVK: Scripts implement TransferCallback and GetNextStream; each object owns one CTransferCallback.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle", "Integer",    0),
};
// clang-format on

}  // namespace

ClassDefinition gTransferCallbackClass = ClassBuilder("WIATransferCallbackZVK", sizeof(CallbackData)).Properties(kProperties);

}  // namespace zvk
