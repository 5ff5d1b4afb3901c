// WIAGUIDZVK: A 16-byte GUID value in the Windows memory layout.
#include "wia/Classes.h"
#include "wia/InstanceData.h"

namespace zvk {

ClassDefinition gGUIDClass = ClassBuilder("WIAGUIDZVK", sizeof(GUIDData));

}  // namespace zvk
