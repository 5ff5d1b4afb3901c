// WIAVideoZVK: Wraps the WIA video object, IWiaVideo.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};
// clang-format on

}  // namespace

ClassDefinition gVideoClass =
    ClassBuilder("WIAVideoZVK", sizeof(InterfaceData)).Destructor(VideoDestructor).Properties(kProperties);

}  // namespace zvk
