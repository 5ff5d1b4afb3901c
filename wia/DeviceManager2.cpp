// WIADeviceManager2ZVK: Wraps the WIA 2.0 device manager, IWiaDevMgr2.
#include <iterator>

#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"
#include "support/Log.h"

namespace zvk {
namespace {

PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};

AttributeDefinition kHidden[] = {
    {"Hidden", ""},
};

PropertyDefinition kSharedProperties[] = {
    {nullptr, "Debugging", "Boolean", kSharedPropertyFlags, 0, Fn(DebuggingGetter), Fn(DebuggingSetter), 0, 0, 0, 0,
     std::size(kHidden), kHidden},
};

}  // namespace

ClassDefinition gDeviceManager2Class = ClassBuilder("WIADeviceManager2ZVK", sizeof(InterfaceData))
                                           .Destructor(DeviceManager2Destructor)
                                           .Properties(kProperties)
                                           .SharedProperties(kSharedProperties);

}  // namespace zvk
