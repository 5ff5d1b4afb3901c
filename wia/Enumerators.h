// The pattern the four enumerator classes share: "NextItem" turns one platform element into a new host
// object, "Reset", "Skip", "Clone" and "Count" map one to one onto the platform enumerator. Each class
// file instantiates Enumerator<E> with a traits type E that names its interface, class record,
// element conversion and log labels. Included only by the enumerator class files.
#pragma once

#include "plugin/HostApi.h"
#include "support/Log.h"
#include "wia/Classes.h"
#include "wia/Wrapper.h"

namespace zvk {

template <typename E>
struct Enumerator {
    using Interface = typename E::Interface;

    static InterfaceData* Begin(REALobject self, const char* label) {
        return BeginMethod<InterfaceData>(E::Class(), self, label);
    }

    static Interface* EnumeratorOf(const InterfaceData* data) {
        return data == nullptr ? nullptr : InterfaceOf<Interface>(data->Handle);
    }

    static void Store(InterfaceData* data, HRESULT hr, const char* label) {
        StoreResult(data->Lasterror, hr, E::kLogResults ? label : nullptr);
    }

    // Reset
    static void Reset(REALobject self) {
        InterfaceData* data = Begin(self, E::kResetLabel);
        Interface* enumerator = EnumeratorOf(data);
        if (enumerator == nullptr) return;
        Store(data, enumerator->Reset(), "Reset");
    }

    // Count as integer: the counter, also after a failed call.
    static int64_t Count(REALobject self) {
        InterfaceData* data = Begin(self, nullptr);
        Interface* enumerator = EnumeratorOf(data);
        if (enumerator == nullptr) return 0;
        ULONG count = 0;
        data->Lasterror = WidenResult(enumerator->GetCount(&count));
        return static_cast<int64_t>(count);
    }

    // Skip(celt as integer)
    static void Skip(REALobject self, int64_t count) {
        InterfaceData* data = Begin(self, E::kSkipLabel);
        Interface* enumerator = EnumeratorOf(data);
        if (enumerator == nullptr) return;
        Store(data, enumerator->Skip(static_cast<ULONG>(count)), "Skip");
    }

    // Clone as <same class>: the clone starts where this enumerator stands and owns its reference.
    static REALobject Clone(REALobject self) {
        InterfaceData* data = Begin(self, E::kCloneLabel);
        Interface* enumerator = EnumeratorOf(data);
        if (enumerator == nullptr) return nullptr;
        Interface* clone = nullptr;
        Store(data, enumerator->Clone(&clone), "Clone");
        return E::Wrap(clone);
    }

    // NextItem as <element class>: nil at the end of the sequence (Lasterror 1) and on failure.
    static REALobject NextItem(REALobject self) {
        InterfaceData* data = Begin(self, E::kNextLabel);
        Interface* enumerator = EnumeratorOf(data);
        if (enumerator == nullptr) return nullptr;
        typename E::Element element{};
        ULONG fetched = 0;
        HRESULT hr = enumerator->Next(1, &element, &fetched);
        Store(data, hr, "Next");
        if (E::kLogResults && DebugLoggingEnabled) DebugLogULong("count", fetched);
        return E::Convert(hr, fetched, element);
    }
};

}  // namespace zvk
