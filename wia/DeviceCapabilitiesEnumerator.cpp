// WIADeviceCapabilitiesEnumeratorZVK: wraps IEnumWIA_DEV_CAPS, a device's commands and events.
#include "wia/Enumerators.h"

namespace zvk {
namespace {

struct Capabilities {
    using Interface = IEnumWIA_DEV_CAPS;
    using Element = WIA_DEV_CAP;
    static constexpr bool kLogResults = false;
    static constexpr const char* kResetLabel = nullptr;
    static constexpr const char* kSkipLabel = nullptr;
    static constexpr const char* kCloneLabel = nullptr;
    static constexpr const char* kNextLabel = nullptr;
    static ClassDefinition& Class() { return gDeviceCapabilitiesEnumeratorClass; }
    static REALobject Wrap(IEnumWIA_DEV_CAPS* clone) { return NewDeviceCapabilitiesEnumeratorObject(clone); }
    // The four texts of a fetched capability are ours by COM's rules: copied, then freed.
    static REALobject Convert(HRESULT hr, ULONG, WIA_DEV_CAP& capability) {
        REALobject record = hr == S_OK ? NewDeviceCapabilitiesObject(&capability) : nullptr;
        SysFreeString(capability.bstrName);
        SysFreeString(capability.bstrDescription);
        SysFreeString(capability.bstrIcon);
        SysFreeString(capability.bstrCommandline);
        return record;
    }
};

using Caps = Enumerator<Capabilities>;

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer", 0),
    BoundProperty("Lasterror", "Integer", 1),
};
// clang-format on

// clang-format off
MethodDefinition kMethods[] = {
    Method(Caps::Clone,    "Clone as WIADeviceCapabilitiesEnumeratorZVK"),
    Method(Caps::Reset,    "Reset"),
    Method(Caps::Count,    "Count as integer"),
    Method(Caps::Skip,     "Skip(celt as integer)"),
    Method(Caps::NextItem, "NextItem as WIADeviceCapabilitiesZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gDeviceCapabilitiesEnumeratorClass = ClassBuilder("WIADeviceCapabilitiesEnumeratorZVK", sizeof(InterfaceData))
                                                         .Destructor(DeviceCapabilitiesEnumeratorDestructor)
                                                         .Properties(kProperties)
                                                         .Methods(kMethods);

}  // namespace zvk
