// WIAStreamZVK: Wraps an IStream opened on a file.
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

ClassDefinition gStreamClass =
    ClassBuilder("WIAStreamZVK", sizeof(InterfaceData)).Destructor(StreamDestructor).Properties(kProperties);

}  // namespace zvk
