// WIADeviceInfoEnumeratorZVK: Wraps IEnumWIA_DEV_INFO: one property storage per installed device.
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

ClassDefinition gDeviceInfoEnumeratorClass = ClassBuilder("WIADeviceInfoEnumeratorZVK", sizeof(InterfaceData))
                                                 .Destructor(DeviceInfoEnumeratorDestructor)
                                                 .Properties(kProperties);

}  // namespace zvk
