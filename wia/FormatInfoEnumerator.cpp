// WIAFormatInfoEnumeratorZVK: Wraps IEnumWIA_FORMAT_INFO.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};

}  // namespace

ClassDefinition gFormatInfoEnumeratorClass = ClassBuilder("WIAFormatInfoEnumeratorZVK", sizeof(InterfaceData)).Properties(kProperties);

}  // namespace zvk
