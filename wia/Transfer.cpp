// WIATransferZVK: Wraps IWiaTransfer: WIA 2.0 downloads and uploads.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};

}  // namespace

ClassDefinition gTransferClass = ClassBuilder("WIATransferZVK", sizeof(InterfaceData)).Properties(kProperties);

}  // namespace zvk
