// WIAPropertyZVK: Describes one property: name, id and value type.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Name", "String",     0),
    BoundProperty("ID",   "Integer",    1),
    BoundProperty("Type", "Integer",    2),
};
// clang-format on

}  // namespace

ClassDefinition gPropertyClass =
    ClassBuilder("WIAPropertyZVK", sizeof(PropertyData)).Destructor(PropertyDestructor).Properties(kProperties);

}  // namespace zvk
