// WIATransferZVK: wraps IWiaTransfer: WIA 2.0 downloads into the streams that the callback's GetNextStream event
// supplies, uploads from one stream, and their cancellation. The callback's events run inside "Download" and
// "Upload", on the host's thread; "Cancel" may be called from them.
#include "support/Holders.h"
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

InterfaceData* Begin(REALobject self, const char* label) {
    return BeginMethod<InterfaceData>(gTransferClass, self, label);
}

IWiaTransfer* TransferOf(const InterfaceData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IWiaTransfer>(data->Handle);
}

// Download(TransferCallback as WIATransferCallbackZVK)
void Download(REALobject self, REALobject transferCallback) {
    InterfaceData* data = Begin(self, "rbDownload");
    com_ptr<IWiaTransferCallback> callback = HeldFor(TransferCallbackOf(transferCallback));
    com_ptr<IWiaTransfer> transfer = HeldFor(TransferOf(data));
    if (!callback || !transfer) return;
    if (DebugLoggingEnabled) DebugLogPointer("callback", callback.get());
    StoreResultWithMessage(data->Lasterror, transfer->Download(0, callback.get()), "Download");
}

// Upload(Source as WIAStreamZVK, TransferCallback as WIATransferCallbackZVK)
void Upload(REALobject self, REALobject source, REALobject transferCallback) {
    InterfaceData* data = Begin(self, "rbUpload");
    com_ptr<IStream> stream = HeldFor(StreamHandleOf(source));
    com_ptr<IWiaTransferCallback> callback = HeldFor(TransferCallbackOf(transferCallback));
    com_ptr<IWiaTransfer> transfer = HeldFor(TransferOf(data));
    if (!transfer || !stream || !callback) return;
    if (DebugLoggingEnabled) {
        DebugLogPointer("stream", stream.get());
        DebugLogPointer("callback", callback.get());
    }
    StoreResultWithMessage(data->Lasterror, transfer->Upload(0, stream.get(), callback.get()), "Upload");
}

// Cancel
void Cancel(REALobject self) {
    InterfaceData* data = Begin(self, "rbCancel");
    if (IWiaTransfer* transfer = TransferOf(data)) StoreResultWithMessage(data->Lasterror, transfer->Cancel(), "Cancel");
}

// EnumerateFormatInfo as WIAFormatInfoEnumeratorZVK
REALobject EnumerateFormatInfo(REALobject self) {
    InterfaceData* data = Begin(self, "rbEnumerateFormatInfo");
    IWiaTransfer* transfer = TransferOf(data);
    if (transfer == nullptr) return nullptr;
    com_ptr<IEnumWIA_FORMAT_INFO> formats;
    HRESULT hr = transfer->EnumWIA_FORMAT_INFO(formats.put());
    StoreResult(data->Lasterror, hr, "EnumWIA_FORMAT_INFO");
    return hr == S_OK ? NewFormatInfoEnumeratorObject(formats.release()) : nullptr;
}

// clang-format off
PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};
// clang-format on

// clang-format off
MethodDefinition kMethods[] = {
    Method(Upload,              "Upload(Source as WIAStreamZVK, TransferCallback as WIATransferCallbackZVK)"),
    Method(Download,            "Download(TransferCallback as WIATransferCallbackZVK)"),
    Method(Cancel,              "Cancel"),
    Method(EnumerateFormatInfo, "EnumerateFormatInfo as WIAFormatInfoEnumeratorZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gTransferClass = ClassBuilder("WIATransferZVK", sizeof(InterfaceData))
                                     .Destructor(TransferDestructor)
                                     .Properties(kProperties)
                                     .Methods(kMethods);

}  // namespace zvk
