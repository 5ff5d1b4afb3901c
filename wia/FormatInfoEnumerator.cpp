// WIAFormatInfoEnumeratorZVK: wraps IEnumWIA_FORMAT_INFO, the transfer formats an item supports.
#include "wia/Enumerators.h"

namespace zvk {
namespace {

struct FormatInfos {
    using Interface = IEnumWIA_FORMAT_INFO;
    using Element = WIA_FORMAT_INFO;
    static constexpr bool kLogResults = false;
    static constexpr const char* kResetLabel = nullptr;
    static constexpr const char* kSkipLabel = nullptr;
    static constexpr const char* kCloneLabel = nullptr;
    static constexpr const char* kNextLabel = nullptr;
    static ClassDefinition& Class() { return gFormatInfoEnumeratorClass; }
    static REALobject Wrap(IEnumWIA_FORMAT_INFO* clone) { return NewFormatInfoEnumeratorObject(clone); }
    static REALobject Convert(HRESULT hr, ULONG, const WIA_FORMAT_INFO& format) {
        return hr == S_OK ? NewFormatInfoObject(&format) : nullptr;
    }
};

using Formats = Enumerator<FormatInfos>;

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer", 0),
    BoundProperty("Lasterror", "Integer", 1),
};
// clang-format on

// clang-format off
MethodDefinition kMethods[] = {
    Method(Formats::Clone,    "Clone as WIAFormatInfoEnumeratorZVK"),
    Method(Formats::Reset,    "Reset"),
    Method(Formats::Count,    "Count as integer"),
    Method(Formats::Skip,     "Skip(celt as integer)"),
    Method(Formats::NextItem, "NextItem as WIAFormatInfoZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gFormatInfoEnumeratorClass = ClassBuilder("WIAFormatInfoEnumeratorZVK", sizeof(InterfaceData))
                                                 .Destructor(FormatInfoEnumeratorDestructor)
                                                 .Properties(kProperties)
                                                 .Methods(kMethods);

}  // namespace zvk
