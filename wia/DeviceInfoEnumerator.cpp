// WIADeviceInfoEnumeratorZVK: wraps IEnumWIA_DEV_INFO; each element is one installed device's
// information property storage.
#include "wia/Enumerators.h"

namespace zvk {
namespace {

struct DeviceInfos {
    using Interface = IEnumWIA_DEV_INFO;
    using Element = IWiaPropertyStorage*;
    static constexpr bool kLogResults = false;
    static constexpr const char* kResetLabel = nullptr;
    static constexpr const char* kSkipLabel = "rbSkip";
    static constexpr const char* kCloneLabel = "rbClone";
    static constexpr const char* kNextLabel = "rbNext";
    static ClassDefinition& Class() { return gDeviceInfoEnumeratorClass; }
    static REALobject Wrap(IEnumWIA_DEV_INFO* clone) { return NewDeviceInfoEnumeratorObject(clone); }
    // Any fetched storage is wrapped, whatever the code; the new object takes over its reference.
    static REALobject Convert(HRESULT, ULONG, IWiaPropertyStorage* storage) { return NewPropertyStorageObject(storage); }
};

using Devices = Enumerator<DeviceInfos>;

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer", 0),
    BoundProperty("Lasterror", "Integer", 1),
};
// clang-format on

// clang-format off
MethodDefinition kMethods[] = {
    Method(Devices::Clone,    "Clone as WIADeviceInfoEnumeratorZVK"),
    Method(Devices::Reset,    "Reset"),
    Method(Devices::Count,    "Count as integer"),
    Method(Devices::Skip,     "Skip(celt as integer)"),
    Method(Devices::NextItem, "NextItem as WIAPropertyStorageZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gDeviceInfoEnumeratorClass = ClassBuilder("WIADeviceInfoEnumeratorZVK", sizeof(InterfaceData))
                                                 .Destructor(DeviceInfoEnumeratorDestructor)
                                                 .Properties(kProperties)
                                                 .Methods(kMethods);

}  // namespace zvk
