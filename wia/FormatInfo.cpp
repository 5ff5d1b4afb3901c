// WIAFormatInfoZVK: One transfer format, copied from a WIA_FORMAT_INFO.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("FormatID", "WIAGUIDZVK", 0),
    BoundProperty("Tymed",    "Integer",    1),
};
// clang-format on

}  // namespace

ClassDefinition gFormatInfoClass =
    ClassBuilder("WIAFormatInfoZVK", sizeof(FormatInfoData)).Destructor(FormatInfoDestructor).Properties(kProperties);

}  // namespace zvk
