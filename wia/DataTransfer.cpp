// WIADataTransferZVK: Wraps IWiaDataTransfer: WIA 1.0 file and banded transfers.
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

ClassDefinition gDataTransferClass =
    ClassBuilder("WIADataTransferZVK", sizeof(DataTransferData)).Destructor(DataTransferDestructor).Properties(kProperties);

}  // namespace zvk
