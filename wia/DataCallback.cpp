// WIADataCallbackZVK: Scripts implement the event BandedDataCallback; each object owns one CDataCallback.
// The platform calls the CDataCallback on the host's thread while a WIA 1.0 transfer runs, and each call
// raises the event on the owner with the band's bytes as a memoryblock over the platform's buffer.
#include "plugin/HostApi.h"
#include "support/Holders.h"
#include "support/Log.h"
#include "wia/CallbackHost.h"
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// clang-format off
EventDefinition kEvents[] = {
    Event("BandedDataCallback(message as integer, Status as integer, PercentComplete as integer, Offset as integer, Length as integer, Buffer as memoryblock) as integer"),
};
// clang-format on

using BandedDataHandler = int64_t (*)(REALobject self, int64_t message, int64_t status, int64_t percentComplete, int64_t offset,
                                      int64_t length, REALobject buffer);

// The IWiaDataCallback of one WIADataCallbackZVK; without an owner it answers 0.
class CDataCallback final : public CallbackObject<CDataCallback, IWiaDataCallback> {
public:
    static constexpr CallbackLabels kLabels = {"CDataCallback::QueryInterface", "CDataCallback::AddRef", "CDataCallback::Release",
                                               "CDataCallback freed"};
    static constexpr const IID& kIID = kIID_IWiaDataCallback;

    explicit CDataCallback(REALobject owner) : CallbackObject(owner) {
        if (DebugLoggingEnabled) DebugLog("CDataCallback::CDataCallback");
    }

    HRESULT STDMETHODCALLTYPE BandedDataCallback(LONG message, LONG status, LONG percentComplete, LONG offset, LONG length,
                                                 LONG /*reserved*/, LONG /*reservedLength*/, BYTE* buffer) noexcept override {
        if (DebugLoggingEnabled) DebugLog("CDataCallback::BandedDataCallback");
        int64_t result = 0;
        auto handler = HandlerOf<BandedDataHandler>(kEvents[0], "Event BandedDataCallback");
        if (DebugLoggingEnabled && owner_ != nullptr) DebugLogPointer("e", reinterpret_cast<const void*>(handler));
        if (handler != nullptr) {
            // A view of the platform's bytes, valid only while the event runs.
            unique_host_object block(buffer == nullptr ? nullptr : host::PtrToMemoryBlock(buffer));
            result = handler(owner_, message, status, percentComplete, offset, length, block.get());
        }
        return ResultCode(result);
    }

private:
    friend CallbackObject;
    ~CDataCallback() = default;
};

void DataCallbackConstructor(REALobject self) noexcept {
    if (DebugLoggingEnabled) DebugLog("WIADataCallbackConstructor");
    ConstructCallback<CDataCallback>(gDataCallbackClass, self);
}

// Gives up the host object's reference; a reference the platform still holds keeps an ownerless object alive.
void DataCallbackDestructor(REALobject self) noexcept {
    if (DebugLoggingEnabled) DebugLog("WIADataCallbackDestructor");
    DestroyCallback<CDataCallback>(gDataCallbackClass, self);
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle", "Integer",    0),
};
// clang-format on

// clang-format off
ConstantDefinition kConstants[] = {
    Constant("kMessageDataHeader = 1"),
    Constant("kMessageData = 2"),
    Constant("kMessageStatus = 3"),
    Constant("kMessageTermination = 4"),
    Constant("kMessageNewPage = 5"),
    Constant("kMessageFilePreviewData = 6"),
    Constant("kMessageFilePreviewDataHeader = 7"),
    Constant("kStatusTransferFromDevice = 1"),
    Constant("kStatusProcessingData = 2"),
    Constant("kStatusTransferToClient = 4"),
};
// clang-format on

}  // namespace

IWiaDataCallback* DataCallbackOf(REALobject callback) {
    return CallbackArgument<CDataCallback>(gDataCallbackClass, callback);
}

ClassDefinition gDataCallbackClass = ClassBuilder("WIADataCallbackZVK", sizeof(CallbackData))
                                         .Callbacks(DataCallbackConstructor, DataCallbackDestructor)
                                         .Properties(kProperties)
                                         .Events(kEvents)
                                         .Constants(kConstants);

}  // namespace zvk
