// WIAFormatInfoEnumeratorZVK: Wraps IEnumWIA_FORMAT_INFO.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};

}  // namespace

ClassDefinition gFormatInfoEnumeratorClass = ClassBuilder("WIAFormatInfoEnumeratorZVK", sizeof(InterfaceData))
                                                 .Destructor(FormatInfoEnumeratorDestructor)
                                                 .Properties(kProperties);

}  // namespace zvk
