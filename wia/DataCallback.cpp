// WIADataCallbackZVK: Scripts implement the event BandedDataCallback; each object owns one CDataCallback.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle", "Integer",    0),
};
// clang-format on

}  // namespace

ClassDefinition gDataCallbackClass = ClassBuilder("WIADataCallbackZVK", sizeof(CallbackData)).Properties(kProperties);

}  // namespace zvk
