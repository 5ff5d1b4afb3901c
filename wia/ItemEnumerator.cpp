// WIAItemEnumeratorZVK: wraps IEnumWiaItem or IEnumWiaItem2, the children of one item. The position
// belongs to the system enumerator; items and clones it gives have its generation. Reset and Skip act
// on each generation whose handle is set; Count, Clone and NextItem on Handle1, else on Handle2.
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

TwoGenerationData* Begin(REALobject self) {
    return BeginMethod<TwoGenerationData>(gItemEnumeratorClass, self, nullptr);
}

IEnumWiaItem* Enum1Of(const TwoGenerationData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IEnumWiaItem>(data->Handle1);
}

IEnumWiaItem2* Enum2Of(const TwoGenerationData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IEnumWiaItem2>(data->Handle2);
}

// Clone as WIAItemEnumeratorZVK: a new enumerator that starts where this one stands, or nil.
template <typename Interface>
REALobject CloneOf(TwoGenerationData* data, Interface* enumerator) {
    Interface* clone = nullptr;
    StoreResult(data->Lasterror, enumerator->Clone(&clone), nullptr);
    return NewItemEnumeratorObject(clone);
}

// NextItem as WIAItemZVK: nil when no item came (the end of the sequence leaves S_FALSE, 1).
template <typename Interface, typename Item>
REALobject NextOf(TwoGenerationData* data, Interface* enumerator) {
    Item* item = nullptr;
    ULONG fetched = 0;
    StoreResult(data->Lasterror, enumerator->Next(1, &item, &fetched), nullptr);
    return NewItemObject(item);
}

// Reset
void Reset(REALobject self) {
    TwoGenerationData* data = Begin(self);
    if (IEnumWiaItem* enumerator = Enum1Of(data)) StoreResult(data->Lasterror, enumerator->Reset(), nullptr);
    if (IEnumWiaItem2* enumerator = Enum2Of(data)) StoreResult(data->Lasterror, enumerator->Reset(), nullptr);
}

// Count as integer: the count widened without sign; 0 without a handle.
int64_t Count(REALobject self) {
    TwoGenerationData* data = Begin(self);
    ULONG count = 0;
    if (IEnumWiaItem* enumerator = Enum1Of(data)) {
        StoreResult(data->Lasterror, enumerator->GetCount(&count), nullptr);
    } else if (IEnumWiaItem2* enumerator2 = Enum2Of(data)) {
        StoreResult(data->Lasterror, enumerator2->GetCount(&count), nullptr);
    }
    return static_cast<int64_t>(count);
}

// Skip(celt as integer)
void Skip(REALobject self, int64_t count) {
    TwoGenerationData* data = Begin(self);
    const ULONG celt = static_cast<ULONG>(count);
    if (IEnumWiaItem* enumerator = Enum1Of(data)) StoreResult(data->Lasterror, enumerator->Skip(celt), nullptr);
    if (IEnumWiaItem2* enumerator = Enum2Of(data)) StoreResult(data->Lasterror, enumerator->Skip(celt), nullptr);
}

REALobject Clone(REALobject self) {
    TwoGenerationData* data = Begin(self);
    if (IEnumWiaItem* enumerator = Enum1Of(data)) return CloneOf(data, enumerator);
    if (IEnumWiaItem2* enumerator = Enum2Of(data)) return CloneOf(data, enumerator);
    return nullptr;
}

REALobject NextItem(REALobject self) {
    TwoGenerationData* data = Begin(self);
    if (IEnumWiaItem* enumerator = Enum1Of(data)) return NextOf<IEnumWiaItem, IWiaItem>(data, enumerator);
    if (IEnumWiaItem2* enumerator = Enum2Of(data)) return NextOf<IEnumWiaItem2, IWiaItem2>(data, enumerator);
    return nullptr;
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Handle1",   "Integer",    1),
    BoundProperty("Handle2",   "Integer",    2),
    BoundProperty("Lasterror", "Integer",    3),
};
// clang-format on

// clang-format off
MethodDefinition kMethods[] = {
    Method(Clone,    "Clone as WIAItemEnumeratorZVK"),
    Method(Reset,    "Reset"),
    Method(Count,    "Count as integer"),
    Method(Skip,     "Skip(celt as integer)"),
    Method(NextItem, "NextItem as WIAItemZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gItemEnumeratorClass = ClassBuilder("WIAItemEnumeratorZVK", sizeof(TwoGenerationData))
                                           .Destructor(ItemEnumeratorDestructor)
                                           .Properties(kProperties)
                                           .Methods(kMethods);

}  // namespace zvk
