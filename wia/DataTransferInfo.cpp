// WIADataTransferInfoZVK: The parameters of a banded transfer, filled by the script.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Size",         "Integer",    0),
    BoundProperty("Section",      "Integer",    1),
    BoundProperty("BufferSize",   "Integer",    2),
    BoundProperty("DoubleBuffer", "Boolean",    3),
};
// clang-format on

}  // namespace

ClassDefinition gDataTransferInfoClass =
    ClassBuilder("WIADataTransferInfoZVK", sizeof(DataTransferInfoData)).Properties(kProperties);

}  // namespace zvk
