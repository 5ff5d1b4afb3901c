// WIADeviceCapabilitiesEnumeratorZVK: Wraps IEnumWIA_DEV_CAPS.
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

ClassDefinition gDeviceCapabilitiesEnumeratorClass = ClassBuilder("WIADeviceCapabilitiesEnumeratorZVK", sizeof(InterfaceData))
                                                         .Destructor(DeviceCapabilitiesEnumeratorDestructor)
                                                         .Properties(kProperties);

}  // namespace zvk
