// The host side of our two COM callback classes: each host object makes one callback object in its class
// constructor and keeps its address twice, in Handle (which scripts can assign) and in a copy of its own.
// The destructor disowns the callback, so that a call the platform makes later raises nothing, and gives up
// the host object's one reference. All of it runs on the host's thread.
#pragma once

#include <new>

#include "plugin/HostApi.h"
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

// The log labels of one callback class's IUnknown steps.
struct CallbackLabels {
    const char* queryInterface;
    const char* addRef;
    const char* release;
    const char* freed;
};

// The IUnknown part of our callback objects, in Wine's plain shape: IUnknown and the one interface are answered,
// the count is interlocked, the object is deleted at zero. The owner link holds no host reference: the owner's
// destructor clears it (Disown) before it gives up its COM reference, so a platform that keeps its own reference
// past the transfer reaches an object that raises no event and touches nothing of the host object.
template <typename Derived, typename Interface>
class CallbackObject : public Interface {
public:
    CallbackObject(const CallbackObject&) = delete;
    CallbackObject& operator=(const CallbackObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (DebugLoggingEnabled) DebugLog(Derived::kLabels.queryInterface);
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, Derived::kIID)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        if (DebugLoggingEnabled) {
            LPOLESTR text = nullptr;
            if (SUCCEEDED(StringFromIID(iid, &text))) DebugLogWide("unhandled interface IID", text);
            CoTaskMemFree(text);
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        if (DebugLoggingEnabled) DebugLog(Derived::kLabels.addRef);
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }

    ULONG STDMETHODCALLTYPE Release() noexcept override {
        if (DebugLoggingEnabled) DebugLog(Derived::kLabels.release);
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) {
            if (DebugLoggingEnabled && Derived::kLabels.freed != nullptr) DebugLog(Derived::kLabels.freed);
            delete static_cast<Derived*>(this);
        }
        return static_cast<ULONG>(left);
    }

    // The owner is being destroyed: no event is raised any more.
    void Disown() { owner_ = nullptr; }

protected:
    explicit CallbackObject(REALobject owner) : owner_(owner) {}
    ~CallbackObject() = default;

    // The owner's handler of the event, logged under the label; null without an owner or a handler.
    template <typename Handler>
    Handler HandlerOf(const EventDefinition& event, const char* label) const {
        if (owner_ == nullptr) return nullptr;
        auto handler = reinterpret_cast<Handler>(host::EventInstance(owner_, event));
        if (DebugLoggingEnabled) DebugLogPointer(label, reinterpret_cast<const void*>(handler));
        return handler;
    }

    // A handler's integer as the platform's result code: its low 32 bits, logged.
    static HRESULT ResultCode(int64_t result) {
        const auto code = static_cast<HRESULT>(static_cast<uint32_t>(result));
        if (DebugLoggingEnabled) DebugLogLong("hr", code);
        return code;
    }

    REALobject owner_;

private:
    volatile LONG refs_ = 1;
};

}  // namespace zvk
