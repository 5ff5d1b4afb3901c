// WIADeviceCapabilitiesZVK: One device command or event, copied from a WIA_DEV_CAP.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("GUID",        "String",     0),
    BoundProperty("Flags",       "Integer",    1),
    BoundProperty("Name",        "String",     2),
    BoundProperty("Description", "String",     3),
    BoundProperty("Icon",        "String",     4),
    BoundProperty("Commandline", "String",     5),
};
// clang-format on

}  // namespace

ClassDefinition gDeviceCapabilitiesClass = ClassBuilder("WIADeviceCapabilitiesZVK", sizeof(DeviceCapabilitiesData))
                                               .Destructor(DeviceCapabilitiesDestructor)
                                               .Properties(kProperties);

}  // namespace zvk
