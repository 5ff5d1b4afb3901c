// WIAPropertyEnumeratorZVK: Wraps IEnumSTATPROPSTG.
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

ClassDefinition gPropertyEnumeratorClass = ClassBuilder("WIAPropertyEnumeratorZVK", sizeof(InterfaceData))
                                               .Destructor(PropertyEnumeratorDestructor)
                                               .Properties(kProperties);

}  // namespace zvk
