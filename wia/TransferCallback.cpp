// WIATransferCallbackZVK: scripts implement the events TransferCallback and GetNextStream; each object owns one
// CTransferCallback. The platform calls it on the host's thread while "Download" or "Upload" runs: progress raises
// TransferCallback with a WIATransferParamsZVK copy of the record, and each destination request raises GetNextStream,
// whose WIAStreamZVK answer goes to the platform with a reference of its own.
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

// The IWiaTransferCallback of one WIATransferCallbackZVK; without an owner it answers its defaults.
class CTransferCallback final : public CallbackObject<CTransferCallback, IWiaTransferCallback> {
public:
    static constexpr CallbackLabels kLabels = {"CTransferCallback::QueryInterface", "CTransferCallback::AddRef",
                                               "CTransferCallback::Release", nullptr};
    static constexpr const IID& kIID = kIID_IWiaTransferCallback;

    explicit CTransferCallback(REALobject owner) : CallbackObject(owner) {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::CTransferCallback");
    }

    // Progress: the handler's integer by its low 32 bits; 0 (go on) without an owner or a handler.
    HRESULT STDMETHODCALLTYPE TransferCallback(LONG /*flags*/, WiaTransferParams* params) noexcept override {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::TransferCallback");
        int64_t result = 0;
        if (auto handler = HandlerOf<ProgressHandler>(kEvents[0], "Event TransferCallback")) {
            unique_host_object record(NewTransferParamsObject(params));
            result = handler(owner_, record.get());
        }
        return ResultCode(result);
    }

    // A destination: the answered object's stream with one added reference, and S_OK. Without an owner or a
    // handler, and for a nil answer or one without a stream, S_FALSE and the out-pointer left alone.
    HRESULT STDMETHODCALLTYPE GetNextStream(LONG /*flags*/, BSTR itemName, BSTR fullItemName,
                                            IStream** destination) noexcept override {
        if (DebugLoggingEnabled) DebugLog("CTransferCallback::GetNextStream");
        HRESULT result = S_FALSE;
        if (auto handler = HandlerOf<StreamHandler>(kEvents[1], "Event GetNextStream")) {
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
        return ResultCode(result);
    }

private:
    friend CallbackObject;
    ~CTransferCallback() = default;
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
