// WIAPropertyEnumeratorZVK: wraps IEnumSTATPROPSTG, the descriptions of a storage's properties. The
// platform interface has no count.
#include "wia/Enumerators.h"

#include <objbase.h>

namespace zvk {
namespace {

struct Properties {
    using Interface = IEnumSTATPROPSTG;
    using Element = STATPROPSTG;
    static constexpr bool kLogResults = true;
    static constexpr const char* kResetLabel = "rbReset";
    static constexpr const char* kSkipLabel = "rbSkip";
    static constexpr const char* kCloneLabel = "rbClone";
    static constexpr const char* kNextLabel = "rbNext";
    static ClassDefinition& Class() { return gPropertyEnumeratorClass; }
    static REALobject Wrap(IEnumSTATPROPSTG* clone) { return NewPropertyEnumeratorObject(clone); }
    // The fetched name is ours by COM's rules: copied, then freed.
    static REALobject Convert(HRESULT hr, ULONG fetched, STATPROPSTG& description) {
        REALobject record = hr == S_OK && fetched == 1 ? NewPropertyObject(&description) : nullptr;
        CoTaskMemFree(description.lpwstrName);
        return record;
    }
};

using PropertyDescriptions = Enumerator<Properties>;

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer", 0),
    BoundProperty("Lasterror", "Integer", 1),
};
// clang-format on

// clang-format off
MethodDefinition kMethods[] = {
    Method(PropertyDescriptions::Clone,    "Clone as WIAPropertyEnumeratorZVK"),
    Method(PropertyDescriptions::Reset,    "Reset"),
    Method(PropertyDescriptions::Skip,     "Skip(celt as integer)"),
    Method(PropertyDescriptions::NextItem, "NextItem as WIAPropertyZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gPropertyEnumeratorClass = ClassBuilder("WIAPropertyEnumeratorZVK", sizeof(InterfaceData))
                                               .Destructor(PropertyEnumeratorDestructor)
                                               .Properties(kProperties)
                                               .Methods(kMethods);

}  // namespace zvk
