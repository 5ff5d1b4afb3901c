// WIADataTransferZVK: Wraps IWiaDataTransfer: WIA 1.0 file and banded transfers.
// A file transfer leaves the platform's medium in the object: the file it names lives until the next
// file transfer on the same object returns, or the object's end, when ReleaseStgMedium deletes a file that the
// platform handed over. Banded data reach the script only through the WIADataCallbackZVK's event.
#include "plugin/HostApi.h"
#include "support/FolderItem.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "wia/Classes.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

DataTransferData* Begin(REALobject self, const char* label) {
    return BeginMethod<DataTransferData>(gDataTransferClass, self, label);
}

IWiaDataTransfer* TransferOf(const DataTransferData* data) {
    return data == nullptr ? nullptr : InterfaceOf<IWiaDataTransfer>(data->Handle);
}

STGMEDIUM* MediumOf(DataTransferData* data) {
    return reinterpret_cast<STGMEDIUM*>(&data->medium);
}

// Lets the platform name a new file in a medium of this call's own, which replaces (and releases) the one kept
// from the last file transfer only when the platform returns: a transfer that a script starts again from inside
// this one's events keeps its own file meanwhile. Returns the path as a host string (nil when the platform names
// none, also after a failure).
REALstring TransferToFile(DataTransferData* data, REALobject dataCallback) {
    com_ptr<IWiaDataTransfer> transfer = HeldFor(TransferOf(data));
    com_ptr<IWiaDataCallback> callback = HeldFor(DataCallbackOf(dataCallback));
    STGMEDIUM medium{};
    medium.tymed = TYMED_FILE;
    if (DebugLoggingEnabled) DebugLogPointer("callback", callback.get());
    StoreResult(data->Lasterror, transfer->idtGetData(&medium, callback.get()), "idtGetData");
    if (DebugLoggingEnabled && medium.lpszFileName != nullptr) DebugLogWide("file", medium.lpszFileName);
    ReleaseStgMedium(MediumOf(data));
    *MediumOf(data) = medium;
    return WString2RB(medium.lpszFileName);
}

// GetDataPath(DataCallback as WIADataCallbackZVK) as string
REALstring GetDataPath(REALobject self, REALobject dataCallback) {
    DataTransferData* data = Begin(self, "rbGetDataPath");
    if (TransferOf(data) == nullptr) return nullptr;
    return TransferToFile(data, dataCallback);
}

// GetDataFile(DataCallback as WIADataCallbackZVK) as folderitem
REALobject GetDataFile(REALobject self, REALobject dataCallback) {
    DataTransferData* data = Begin(self, "rbGetDataFile");
    if (TransferOf(data) == nullptr) return nullptr;
    unique_host_string path(TransferToFile(data, dataCallback));
    return rbGetTrueFolderItem(path.get(), kNativePathMode);
}

// GetBandedData(DataTransInfo as WIADataTransferInfoZVK, DataCallback as WIADataCallbackZVK)
void GetBandedData(REALobject self, REALobject dataTransInfo, REALobject dataCallback) {
    DataTransferData* data = Begin(self, "rbGetBandedData");
    com_ptr<IWiaDataTransfer> transfer = HeldFor(TransferOf(data));
    if (!transfer) return;
    WIA_DATA_TRANSFER_INFO record{};
    WIA_DATA_TRANSFER_INFO* info = FillDataTransferInfo(dataTransInfo, &record);
    com_ptr<IWiaDataCallback> callback = HeldFor(DataCallbackOf(dataCallback));
    if (DebugLoggingEnabled) {
        DebugLogPointer("info", info);
        DebugLogPointer("callback", callback.get());
    }
    StoreResult(data->Lasterror, transfer->idtGetBandedData(info, callback.get()), "idtGetBandedData");
}

// GetExtendedTransferInfo as WIAExtendedTransferInfoZVK
REALobject GetExtendedTransferInfo(REALobject self) {
    DataTransferData* data = Begin(self, "rbGetExtendedTransferInfo");
    IWiaDataTransfer* transfer = TransferOf(data);
    if (transfer == nullptr) return nullptr;
    WIA_EXTENDED_TRANSFER_INFO info{};
    HRESULT hr = transfer->idtGetExtendedTransferInfo(&info);
    StoreResult(data->Lasterror, hr, "idtGetExtendedTransferInfo");
    return hr == S_OK ? NewExtendedTransferInfoObject(&info) : nullptr;
}

// QueryGetData as WIAFormatInfoZVK: the platform gets a zero-filled record and, when it answers 0, the
// record as it left it comes back.
REALobject QueryGetData(REALobject self) {
    DataTransferData* data = Begin(self, "rbQueryGetData");
    IWiaDataTransfer* transfer = TransferOf(data);
    if (transfer == nullptr) return nullptr;
    WIA_FORMAT_INFO format{};
    HRESULT hr = transfer->idtQueryGetData(&format);
    StoreResult(data->Lasterror, hr, "idtQueryGetData");
    return hr == S_OK ? NewFormatInfoObject(&format) : nullptr;
}

// EnumerateFormatInfo as WIAFormatInfoEnumeratorZVK
REALobject EnumerateFormatInfo(REALobject self) {
    DataTransferData* data = Begin(self, "rbEnumerateFormatInfo");
    IWiaDataTransfer* transfer = TransferOf(data);
    if (transfer == nullptr) return nullptr;
    com_ptr<IEnumWIA_FORMAT_INFO> formats;
    HRESULT hr = transfer->idtEnumWIA_FORMAT_INFO(formats.put());
    StoreResult(data->Lasterror, hr, "idtEnumWIA_FORMAT_INFO");
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
    Method(GetDataPath,             "GetDataPath(DataCallback as WIADataCallbackZVK) as string"),
    Method(GetDataFile,             "GetDataFile(DataCallback as WIADataCallbackZVK) as folderitem"),
    Method(GetBandedData,           "GetBandedData(DataTransInfo as WIADataTransferInfoZVK, DataCallback as WIADataCallbackZVK)"),
    Method(GetExtendedTransferInfo, "GetExtendedTransferInfo as WIAExtendedTransferInfoZVK"),
    Method(QueryGetData,            "QueryGetData as WIAFormatInfoZVK"),
    Method(EnumerateFormatInfo,     "EnumerateFormatInfo as WIAFormatInfoEnumeratorZVK"),
};
// clang-format on

}  // namespace

ClassDefinition gDataTransferClass = ClassBuilder("WIADataTransferZVK", sizeof(DataTransferData))
                                         .Destructor(DataTransferDestructor)
                                         .Properties(kProperties)
                                         .Methods(kMethods);

}  // namespace zvk
