// SimConstants.cpp - the platform's values of the numbers the plug-in's classes declare as constants, taken from
// mingw's headers (<wiadef.h>, <sti.h>, <objidl.h>, <objbase.h>) and, where mingw has none, written from Microsoft's
// documentation pages named beside them. Tests compare each registered constant with its entry here.
#include "tests/platform/SimModel.h"

#include <sti.h>

#include <map>

namespace simwia {
namespace {

// "WIAVIDEO_STATE enumeration" (wiavideo.h); "WiaTransferParams structure" (wia_lh.h): lMessage values.
enum VideoState : LONG { kNoVideo = 1, kCreatingVideo, kVideoCreated, kVideoPlaying, kVideoPaused, kDestroyingVideo };
// "IWiaDevMgr2::EnumDeviceInfo": WIA_DEVINFO_ENUM_ALL lists every device, those disconnected too.
constexpr LONG kDevInfoEnumAll = 0x0000000F;
enum TransferMessage : LONG { kMsgStatus = 1, kMsgEndOfStream = 2, kMsgEndOfTransfer = 3, kMsgDeviceStatus = 5, kMsgNewPage = 6 };

const std::map<std::string, int64_t>& Table() {
    // clang-format off
    static const std::map<std::string, int64_t> table = {
        {"WIADataCallbackZVK.kMessageDataHeader", IT_MSG_DATA_HEADER}, {"WIADataCallbackZVK.kMessageData", IT_MSG_DATA},
        {"WIADataCallbackZVK.kMessageStatus", IT_MSG_STATUS}, {"WIADataCallbackZVK.kMessageTermination", IT_MSG_TERMINATION},
        {"WIADataCallbackZVK.kMessageNewPage", IT_MSG_NEW_PAGE}, {"WIADataCallbackZVK.kMessageFilePreviewData", IT_MSG_FILE_PREVIEW_DATA},
        {"WIADataCallbackZVK.kMessageFilePreviewDataHeader", IT_MSG_FILE_PREVIEW_DATA_HEADER},
        {"WIADataCallbackZVK.kStatusTransferFromDevice", IT_STATUS_TRANSFER_FROM_DEVICE},
        {"WIADataCallbackZVK.kStatusProcessingData", IT_STATUS_PROCESSING_DATA},
        {"WIADataCallbackZVK.kStatusTransferToClient", IT_STATUS_TRANSFER_TO_CLIENT},
        {"WIADeviceManager1ZVK.kEnumLocal", WIA_DEVINFO_ENUM_LOCAL}, {"WIADeviceManager1ZVK.kEnumAll", kDevInfoEnumAll},
        {"WIADeviceManager1ZVK.kDeviceTypeDefault", StiDeviceTypeDefault}, {"WIADeviceManager1ZVK.kDeviceTypeScanner", StiDeviceTypeScanner},
        {"WIADeviceManager1ZVK.kDeviceTypeDigitalCamera", StiDeviceTypeDigitalCamera},
        {"WIADeviceManager1ZVK.kDeviceTypeStreamingVideo", StiDeviceTypeStreamingVideo},
        {"WIAItemZVK.kDeviceCommands", WIA_DEVICE_COMMANDS}, {"WIAItemZVK.kDeviceEvents", WIA_DEVICE_EVENTS},
        {"WIAItemZVK.kTypeFree", WiaItemTypeFree}, {"WIAItemZVK.kTypeImage", WiaItemTypeImage}, {"WIAItemZVK.kTypeFile", WiaItemTypeFile},
        {"WIAItemZVK.kTypeFolder", WiaItemTypeFolder}, {"WIAItemZVK.kTypeRoot", WiaItemTypeRoot}, {"WIAItemZVK.kTypeAnalyze", WiaItemTypeAnalyze},
        {"WIAItemZVK.kTypeAudio", WiaItemTypeAudio}, {"WIAItemZVK.kTypeDevice", WiaItemTypeDevice}, {"WIAItemZVK.kTypeDeleted", WiaItemTypeDeleted},
        {"WIAItemZVK.kTypeDisconnected", WiaItemTypeDisconnected}, {"WIAItemZVK.kTypeHPanorama", WiaItemTypeHPanorama},
        {"WIAItemZVK.kTypeVPanorama", WiaItemTypeVPanorama}, {"WIAItemZVK.kTypeBurst", WiaItemTypeBurst},
        {"WIAItemZVK.kTypeStorage", WiaItemTypeStorage}, {"WIAItemZVK.kTypeTransfer", WiaItemTypeTransfer},
        {"WIAItemZVK.kTypeGenerated", WiaItemTypeGenerated}, {"WIAItemZVK.kTypeHasAttachments", WiaItemTypeHasAttachments},
        {"WIAItemZVK.kTypeVideo", WiaItemTypeVideo},
        {"WIAStreamZVK.kSeekSet", STREAM_SEEK_SET}, {"WIAStreamZVK.kSeekCur", STREAM_SEEK_CUR}, {"WIAStreamZVK.kSeekEnd", STREAM_SEEK_END},
        {"WIAStreamZVK.kCommitDefault", STGC_DEFAULT}, {"WIAStreamZVK.kCommitOverwrite", STGC_OVERWRITE},
        {"WIAStreamZVK.kCommitOnlyIfCurrent", STGC_ONLYIFCURRENT},
        {"WIAStreamZVK.kCommitDangerouslyCommitMerelyToDiskCache", STGC_DANGEROUSLYCOMMITMERELYTODISKCACHE},
        {"WIAStreamZVK.kCommitConsolidate", STGC_CONSOLIDATE}, {"WIAStreamZVK.kModeRead", STGM_READ},
        {"WIAStreamZVK.kModeWrite", STGM_WRITE}, {"WIAStreamZVK.kModeReadWrite", STGM_READWRITE},
        {"WIAStreamZVK.kModeShareDenyNone", STGM_SHARE_DENY_NONE}, {"WIAStreamZVK.kModeShareDenyRead", STGM_SHARE_DENY_READ},
        {"WIAStreamZVK.kModeShareDenyWrite", STGM_SHARE_DENY_WRITE}, {"WIAStreamZVK.kModeShareDenyExclusive", STGM_SHARE_EXCLUSIVE},
        {"WIAStreamZVK.kModeCreate", STGM_CREATE}, {"WIAStreamZVK.kModeConvert", STGM_CONVERT},
        {"WIAStreamZVK.kModeFailIfThere", STGM_FAILIFTHERE}, {"WIAStreamZVK.kModeDeleteOnRelease", STGM_DELETEONRELEASE},
        {"WIATransferParamsZVK.kMessageStatus", kMsgStatus}, {"WIATransferParamsZVK.kMessageEndOfStream", kMsgEndOfStream},
        {"WIATransferParamsZVK.kMessageEndOfTransfer", kMsgEndOfTransfer},
        {"WIATransferParamsZVK.kMessageDeviceStatus", kMsgDeviceStatus}, {"WIATransferParamsZVK.kMessageNewPage", kMsgNewPage},
        {"WIAVideoZVK.kStateNoVideo", kNoVideo}, {"WIAVideoZVK.kStateCreatingVideo", kCreatingVideo},
        {"WIAVideoZVK.kStateVideoCreated", kVideoCreated}, {"WIAVideoZVK.kStateVideoPlaying", kVideoPlaying},
        {"WIAVideoZVK.kStateVideoPaused", kVideoPaused}, {"WIAVideoZVK.kStateDestroyingVideo", kDestroyingVideo},
        {"WIAPropertyStorageZVK.kCommitFlagsDefault", STGC_DEFAULT}, {"WIAPropertyStorageZVK.kCommitFlagsOverwrite", STGC_OVERWRITE},
        {"WIAPropertyStorageZVK.kCommitFlagsOnlyIfCurrent", STGC_ONLYIFCURRENT},
        {"WIAPropertyStorageZVK.kCommitFlagsDangeroulyCommitMeRelyToDiskCache", STGC_DANGEROUSLYCOMMITMERELYTODISKCACHE},
        {"WIAPropertyStorageZVK.kCommitFlagsConsolidate", STGC_CONSOLIDATE}, {"WIAPropertyStorageZVK.kTymedFile", TYMED_FILE},
        {"WIAPropertyStorageZVK.kTymedCallback", TYMED_CALLBACK}, {"WIAPropertyStorageZVK.kTymedMultiPageFile", TYMED_MULTIPAGE_FILE},
        {"WIAPropertyStorageZVK.kTymedMultiPageCallback", TYMED_MULTIPAGE_CALLBACK},
    };
    // clang-format on
    return table;
}

// The selection, dialog and intent flags several classes declare alike.
void AddShared(std::map<std::string, int64_t>& out) {
    const std::pair<const char*, int64_t> shared[] = {
        {"kSelectDeviceNoDefault", WIA_SELECT_DEVICE_NODEFAULT},
        {"kDeviceDialogSingleImage", WIA_DEVICE_DIALOG_SINGLE_IMAGE},
        {"kDeviceDialogUseCommonUI", WIA_DEVICE_DIALOG_USE_COMMON_UI},
        {"kIntentNone", WIA_INTENT_NONE},
        {"kIntentImageTypeColor", WIA_INTENT_IMAGE_TYPE_COLOR},
        {"kIntentImageTypeGrayscale", WIA_INTENT_IMAGE_TYPE_GRAYSCALE},
        {"kIntentImageTypeText", WIA_INTENT_IMAGE_TYPE_TEXT},
        {"kIntentImageTypeMask", WIA_INTENT_IMAGE_TYPE_MASK},
        {"kIntentMinimizeSize", WIA_INTENT_MINIMIZE_SIZE},
        {"kIntentMaximizeQuality", WIA_INTENT_MAXIMIZE_QUALITY},
        {"kIntentBestPreview", WIA_INTENT_BEST_PREVIEW},
        {"kIntentSizeMask", WIA_INTENT_SIZE_MASK},
    };
    for (const char* cls : {"WIADeviceManager1ZVK.", "WIAItemZVK."})
        for (const auto& [name, value] : shared) out[std::string(cls) + name] = value;
}

}  // namespace

std::map<std::string, int64_t> PlatformConstants() {
    std::map<std::string, int64_t> all = Table();
    AddShared(all);
    return all;
}

}  // namespace simwia
