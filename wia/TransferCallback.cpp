// WIATransferCallbackZVK: scripts implement the events TransferCallback and GetNextStream; each object owns one
// CTransferCallback. The platform calls it on the host's thread while "Download" or "Upload" runs: progress raises
// TransferCallback with a WIATransferParamsZVK copy of the record, and each destination request raises GetNextStream,
// whose WIAStreamZVK answer goes to the platform with a reference of its own.
#include <new>

#include "plugin/HostApi.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "support/Log.h"
#include "wia/CallbackHost.h"
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
EventDefinition kEvents[] = {
    Event("TransferCallback(w as WIATransferParamsZVK) as integer"),
    Event("GetNextStream(ItemName as string, FullItemName as string) as WIAStreamZVK"),
};
// clang-format on

using ProgressHandler = int64_t (*)(REALobject self, REALobject params);
using StreamHandler = REALobject (*)(REALobject self, REALstring itemName, REALstring fullItemName);

// The IWiaTransferCallback of one WIATransferCallbackZVK. The owner link holds no host reference: the owner's
// destructor clears it and gives up the owner's COM reference, so a platform that keeps its own reference past the
// transfer reaches an object that answers its defaults and touches nothing of the host object.
class CTransferCallback final : public IWiaTransferCallback {
public:
    explicit CTransferCallback(REALobject owner) : owner_(owner) {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::CTransferCallback");
    }
    CTransferCallback(const CTransferCallback&) = delete;
    CTransferCallback& operator=(const CTransferCallback&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::QueryInterface");
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIID_IWiaTransferCallback)) {
            *out = static_cast<IWiaTransferCallback*>(this);
            AddRef();
            return S_OK;
        }
        LogUnhandledInterface(iid);
        *out = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::AddRef");
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }

    ULONG STDMETHODCALLTYPE Release() noexcept override {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::Release");
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // Progress: the handler's integer by its low 32 bits; 0 (go on) without an owner or a handler.
    HRESULT STDMETHODCALLTYPE TransferCallback(LONG /*flags*/, WiaTransferParams* params) noexcept override {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::TransferCallback");
        int64_t result = 0;
        if (owner_ != nullptr) {
            auto handler = reinterpret_cast<ProgressHandler>(host::EventInstance(owner_, kEvents[0]));
            if (DebugLoggingEnabled) DebugLogPointer("Event TransferCallback", reinterpret_cast<const void*>(handler));
            if (handler != nullptr) {
                unique_host_object record(NewTransferParamsObject(params));
                result = handler(owner_, record.get());
            }
        }
        const auto code = static_cast<HRESULT>(static_cast<uint32_t>(result));
        if (DebugLoggingEnabled) DebugLogLong("hr", code);
        return code;
    }

    // A destination: the answered object's stream with one added reference, and S_OK. Without an owner or a
    // handler, and for a nil answer or one without a stream, S_FALSE and the out-pointer left alone.
    HRESULT STDMETHODCALLTYPE GetNextStream(LONG /*flags*/, BSTR itemName, BSTR fullItemName,
                                            IStream** destination) noexcept override {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::GetNextStream");
        HRESULT result = S_FALSE;
        if (owner_ != nullptr) {
            auto handler = reinterpret_cast<StreamHandler>(host::EventInstance(owner_, kEvents[1]));
            if (DebugLoggingEnabled) DebugLogPointer("Event GetNextStream", reinterpret_cast<const void*>(handler));
            if (handler != nullptr) {
                unique_host_string name(WString2RB(itemName));
                unique_host_string fullName(WString2RB(fullItemName));
                unique_host_object answer(handler(owner_, name.get(), fullName.get()));
                IStream* stream = StreamHandleOf(answer.get());
                if (stream != nullptr && destination != nullptr) {
                    stream->AddRef();
                    *destination = stream;
                    result = S_OK;
                }
            }
        }
        if (DebugLoggingEnabled) DebugLogLong("hr", result);
        return result;
    }

    // The owner is being destroyed: no event is raised any more.
    void Disown() { owner_ = nullptr; }

private:
    ~CTransferCallback() = default;

    volatile LONG refs_ = 1;
    REALobject owner_;
};

void TransferCallbackConstructor(REALobject self) noexcept {
    if (DebugLoggingEnabled) DebugLog("WIATransferCallbackConstructor");
    ConstructCallback<CTransferCallback>(gTransferCallbackClass, self);
}

// Gives up the host object's reference; a reference the platform still holds keeps an ownerless object alive.
void TransferCallbackDestructor(REALobject self) noexcept {
    if (DebugLoggingEnabled) DebugLog("WIATransferCallbackDestructor");
    DestroyCallback<CTransferCallback>(gTransferCallbackClass, self);
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle", "Integer",    0),
};
// clang-format on

}  // namespace

IWiaTransferCallback* TransferCallbackOf(REALobject callback) {
    return CallbackArgument<CTransferCallback>(gTransferCallbackClass, callback);
}

ClassDefinition gTransferCallbackClass = ClassBuilder("WIATransferCallbackZVK", sizeof(CallbackData))
                                             .Callbacks(TransferCallbackConstructor, TransferCallbackDestructor)
                                             .Properties(kProperties)
                                             .Events(kEvents);

}  // namespace zvk
