// WIADeviceManager1ZVK: Wraps the WIA 1.0 device manager, IWiaDevMgr.
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

ClassDefinition gDeviceManager1Class =
    ClassBuilder("WIADeviceManager1ZVK", sizeof(InterfaceData)).Destructor(DeviceManager1Destructor).Properties(kProperties);

}  // namespace zvk
