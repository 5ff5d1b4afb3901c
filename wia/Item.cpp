// WIAItemZVK: Wraps a WIA 1.0 item (IWiaItem) or a WIA 2.0 item (IWiaItem2).
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {
namespace {

PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Handle1",   "Integer",    1),
    BoundProperty("Handle2",   "Integer",    2),
    BoundProperty("Lasterror", "Integer",    3),
};

}  // namespace

ClassDefinition gItemClass = ClassBuilder("WIAItemZVK", sizeof(TwoGenerationData)).Properties(kProperties);

}  // namespace zvk
