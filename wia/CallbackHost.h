// The host side of our two COM callback classes: each host object makes one callback object in its class
// constructor and keeps its address twice, in Handle (which scripts can assign) and in a copy of its own.
// The destructor disowns the callback, so that a call the platform makes later raises nothing, and gives up
// the host object's one reference. All of it runs on the host's thread.
#pragma once

#include <new>

#include "support/Log.h"
#include "wia/InstanceData.h"

namespace zvk {

template <typename Callback>
Callback* OwnedCallback(const CallbackData* data) {
    return data == nullptr ? nullptr : reinterpret_cast<Callback*>(static_cast<uintptr_t>(data->owned));
}

template <typename Callback>
void ConstructCallback(const ClassDefinition& cls, REALobject self) noexcept {
    CallbackData* data = InstanceData<CallbackData>(cls, self);
    if (data == nullptr) return;
    data->owned = static_cast<int64_t>(reinterpret_cast<uintptr_t>(new (std::nothrow) Callback(self)));
    data->Handle = data->owned;
}

template <typename Callback>
void DestroyCallback(const ClassDefinition& cls, REALobject self) noexcept {
    CallbackData* data = InstanceData<CallbackData>(cls, self);
    if (Callback* callback = OwnedCallback<Callback>(data)) {
        callback->Disown();
        callback->Release();
    }
    if (data != nullptr) *data = CallbackData{};
}

// The callback of a callback-class argument, borrowed; null for nil and when a script changed its Handle:
// only the address the object made is ever handed on.
template <typename Callback>
Callback* CallbackArgument(const ClassDefinition& cls, REALobject object) {
    const CallbackData* data = InstanceData<CallbackData>(cls, object);
    Callback* owned = OwnedCallback<Callback>(data);
    return owned == nullptr || data->Handle != data->owned ? nullptr : owned;
}

// What QueryInterface logs for an interface it does not answer.
inline void LogUnhandledInterface(REFIID iid) {
    if (!DebugLoggingEnabled) return;
    LPOLESTR text = nullptr;
    if (SUCCEEDED(StringFromIID(iid, &text))) DebugLogWide("unhandled interface IID", text);
    CoTaskMemFree(text);
}

}  // namespace zvk
