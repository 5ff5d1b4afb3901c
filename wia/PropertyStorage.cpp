// WIAPropertyStorageZVK: Wraps IWiaPropertyStorage.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};

}  // namespace

ClassDefinition gPropertyStorageClass = ClassBuilder("WIAPropertyStorageZVK", sizeof(InterfaceData)).Properties(kProperties);

}  // namespace zvk
