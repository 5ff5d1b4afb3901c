// WIATransferZVK: Wraps IWiaTransfer: WIA 2.0 downloads and uploads.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};
// clang-format on

}  // namespace

ClassDefinition gTransferClass =
    ClassBuilder("WIATransferZVK", sizeof(InterfaceData)).Destructor(TransferDestructor).Properties(kProperties);

}  // namespace zvk
