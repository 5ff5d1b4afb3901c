// WIAItemEnumeratorZVK: Wraps IEnumWiaItem or IEnumWiaItem2.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Handle1",   "Integer",    1),
    BoundProperty("Handle2",   "Integer",    2),
    BoundProperty("Lasterror", "Integer",    3),
};
// clang-format on

}  // namespace

ClassDefinition gItemEnumeratorClass =
    ClassBuilder("WIAItemEnumeratorZVK", sizeof(TwoGenerationData)).Destructor(ItemEnumeratorDestructor).Properties(kProperties);

}  // namespace zvk
