// WIAExtendedTransferInfoZVK: A device's buffer recommendations, copied from a WIA_EXTENDED_TRANSFER_INFO.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Size",              "Integer",    0),
    BoundProperty("MinBufferSize",     "Integer",    1),
    BoundProperty("OptimalBufferSize", "Integer",    2),
    BoundProperty("MaxBufferSize",     "Integer",    3),
    BoundProperty("NumBuffers",        "Integer",    4),
};
// clang-format on

}  // namespace

ClassDefinition gExtendedTransferInfoClass =
    ClassBuilder("WIAExtendedTransferInfoZVK", sizeof(ExtendedTransferInfoData)).Properties(kProperties);

}  // namespace zvk
