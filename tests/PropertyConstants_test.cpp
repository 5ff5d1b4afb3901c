// The property vocabulary of WIAPropertyStorageZVK against the platform's own ids and names (wiadef.h).
#include "wia/WiaInterfaces.h"  // lets <wiadef.h> stand alone

#include <wiadef.h>

#include <string>

#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

struct PropertyRow {
    const char* constant;
    PROPID id;
    const wchar_t* name;
};

// Declaration order; the camera's focus metering property carries the name the platform gives it.
const PropertyRow kPropertyRows[] = {
    {"kDevicePropertyDevId", WIA_DIP_DEV_ID, WIA_DIP_DEV_ID_STR},
    {"kDevicePropertyVendDesc", WIA_DIP_VEND_DESC, WIA_DIP_VEND_DESC_STR},
    {"kDevicePropertyDevDesc", WIA_DIP_DEV_DESC, WIA_DIP_DEV_DESC_STR},
    {"kDevicePropertyDevType", WIA_DIP_DEV_TYPE, WIA_DIP_DEV_TYPE_STR},
    {"kDevicePropertyPortName", WIA_DIP_PORT_NAME, WIA_DIP_PORT_NAME_STR},
    {"kDevicePropertyDevName", WIA_DIP_DEV_NAME, WIA_DIP_DEV_NAME_STR},
    {"kDevicePropertyServerName", WIA_DIP_SERVER_NAME, WIA_DIP_SERVER_NAME_STR},
    {"kDevicePropertyRemoteDevId", WIA_DIP_REMOTE_DEV_ID, WIA_DIP_REMOTE_DEV_ID_STR},
    {"kDevicePropertyUiClsid", WIA_DIP_UI_CLSID, WIA_DIP_UI_CLSID_STR},
    {"kDevicePropertyHwConfig", WIA_DIP_HW_CONFIG, WIA_DIP_HW_CONFIG_STR},
    {"kDevicePropertyBaudrate", WIA_DIP_BAUDRATE, WIA_DIP_BAUDRATE_STR},
    {"kDevicePropertyStiGenCapabilities", WIA_DIP_STI_GEN_CAPABILITIES, WIA_DIP_STI_GEN_CAPABILITIES_STR},
    {"kDevicePropertyWiaVersion", WIA_DIP_WIA_VERSION, WIA_DIP_WIA_VERSION_STR},
    {"kDevicePropertyDriverVersion", WIA_DIP_DRIVER_VERSION, WIA_DIP_DRIVER_VERSION_STR},
    {"kDevicePropertyFirmwareVersion", WIA_DPA_FIRMWARE_VERSION, WIA_DPA_FIRMWARE_VERSION_STR},
    {"kDevicePropertyConnectStatus", WIA_DPA_CONNECT_STATUS, WIA_DPA_CONNECT_STATUS_STR},
    {"kDevicePropertyDeviceTime", WIA_DPA_DEVICE_TIME, WIA_DPA_DEVICE_TIME_STR},
    {"kCameraDevicePropertyPicturesTaken", WIA_DPC_PICTURES_TAKEN, WIA_DPC_PICTURES_TAKEN_STR},
    {"kCameraDevicePropertyPicturesRemaining", WIA_DPC_PICTURES_REMAINING, WIA_DPC_PICTURES_REMAINING_STR},
    {"kCameraDevicePropertyExposureMode", WIA_DPC_EXPOSURE_MODE, WIA_DPC_EXPOSURE_MODE_STR},
    {"kCameraDevicePropertyExposureComp", WIA_DPC_EXPOSURE_COMP, WIA_DPC_EXPOSURE_COMP_STR},
    {"kCameraDevicePropertyExposureTime", WIA_DPC_EXPOSURE_TIME, WIA_DPC_EXPOSURE_TIME_STR},
    {"kCameraDevicePropertyFnumber", WIA_DPC_FNUMBER, WIA_DPC_FNUMBER_STR},
    {"kCameraDevicePropertyFlashMode", WIA_DPC_FLASH_MODE, WIA_DPC_FLASH_MODE_STR},
    {"kCameraDevicePropertyFocusMode", WIA_DPC_FOCUS_MODE, WIA_DPC_FOCUS_MODE_STR},
    {"kCameraDevicePropertyFocusManualDist", WIA_DPC_FOCUS_MANUAL_DIST, WIA_DPC_FOCUS_MANUAL_DIST_STR},
    {"kCameraDevicePropertyZoomPosition", WIA_DPC_ZOOM_POSITION, WIA_DPC_ZOOM_POSITION_STR},
    {"kCameraDevicePropertyPanPosition", WIA_DPC_PAN_POSITION, WIA_DPC_PAN_POSITION_STR},
    {"kCameraDevicePropertyTiltPosition", WIA_DPC_TILT_POSITION, WIA_DPC_TILT_POSITION_STR},
    {"kCameraDevicePropertyTimerMode", WIA_DPC_TIMER_MODE, WIA_DPC_TIMER_MODE_STR},
    {"kCameraDevicePropertyTimerValue", WIA_DPC_TIMER_VALUE, WIA_DPC_TIMER_VALUE_STR},
    {"kCameraDevicePropertyPowerMode", WIA_DPC_POWER_MODE, WIA_DPC_POWER_MODE_STR},
    {"kCameraDevicePropertyBatteryStatus", WIA_DPC_BATTERY_STATUS, WIA_DPC_BATTERY_STATUS_STR},
    {"kCameraDevicePropertyThumbWidth", WIA_DPC_THUMB_WIDTH, WIA_DPC_THUMB_WIDTH_STR},
    {"kCameraDevicePropertyThumbHeight", WIA_DPC_THUMB_HEIGHT, WIA_DPC_THUMB_HEIGHT_STR},
    {"kCameraDevicePropertyPictWidth", WIA_DPC_PICT_WIDTH, WIA_DPC_PICT_WIDTH_STR},
    {"kCameraDevicePropertyPictHeight", WIA_DPC_PICT_HEIGHT, WIA_DPC_PICT_HEIGHT_STR},
    {"kCameraDevicePropertyDimension", WIA_DPC_DIMENSION, WIA_DPC_DIMENSION_STR},
    {"kCameraDevicePropertyCompressionSetting", WIA_DPC_COMPRESSION_SETTING, WIA_DPC_COMPRESSION_SETTING_STR},
    {"kCameraDevicePropertyFocusMeteringMode", WIA_DPC_FOCUS_METERING, L"Focus Metering Mode"},
    {"kCameraDevicePropertyTimelapseInterval", WIA_DPC_TIMELAPSE_INTERVAL, WIA_DPC_TIMELAPSE_INTERVAL_STR},
    {"kCameraDevicePropertyTimelapseNumber", WIA_DPC_TIMELAPSE_NUMBER, WIA_DPC_TIMELAPSE_NUMBER_STR},
    {"kCameraDevicePropertyBurstInterval", WIA_DPC_BURST_INTERVAL, WIA_DPC_BURST_INTERVAL_STR},
    {"kCameraDevicePropertyBurstNumber", WIA_DPC_BURST_NUMBER, WIA_DPC_BURST_NUMBER_STR},
    {"kCameraDevicePropertyEffectMode", WIA_DPC_EFFECT_MODE, WIA_DPC_EFFECT_MODE_STR},
    {"kCameraDevicePropertyDigitalZoom", WIA_DPC_DIGITAL_ZOOM, WIA_DPC_DIGITAL_ZOOM_STR},
    {"kCameraDevicePropertySharpness", WIA_DPC_SHARPNESS, WIA_DPC_SHARPNESS_STR},
    {"kCameraDevicePropertyContrast", WIA_DPC_CONTRAST, WIA_DPC_CONTRAST_STR},
    {"kCameraDevicePropertyCaptureMode", WIA_DPC_CAPTURE_MODE, WIA_DPC_CAPTURE_MODE_STR},
    {"kCameraDevicePropertyCaptureDelay", WIA_DPC_CAPTURE_DELAY, WIA_DPC_CAPTURE_DELAY_STR},
    {"kCameraDevicePropertyExposureIndex", WIA_DPC_EXPOSURE_INDEX, WIA_DPC_EXPOSURE_INDEX_STR},
    {"kCameraDevicePropertyExposureMeteringMode", WIA_DPC_EXPOSURE_METERING_MODE, WIA_DPC_EXPOSURE_METERING_MODE_STR},
    {"kCameraDevicePropertyFocusDistance", WIA_DPC_FOCUS_DISTANCE, WIA_DPC_FOCUS_DISTANCE_STR},
    {"kCameraDevicePropertyFocalLength", WIA_DPC_FOCAL_LENGTH, WIA_DPC_FOCAL_LENGTH_STR},
    {"kCameraDevicePropertyRgbGain", WIA_DPC_RGB_GAIN, WIA_DPC_RGB_GAIN_STR},
    {"kCameraDevicePropertyWhiteBalance", WIA_DPC_WHITE_BALANCE, WIA_DPC_WHITE_BALANCE_STR},
    {"kCameraDevicePropertyUploadUrl", WIA_DPC_UPLOAD_URL, WIA_DPC_UPLOAD_URL_STR},
    {"kCameraDevicePropertyArtist", WIA_DPC_ARTIST, WIA_DPC_ARTIST_STR},
    {"kCameraDevicePropertyCopyrightInfo", WIA_DPC_COPYRIGHT_INFO, WIA_DPC_COPYRIGHT_INFO_STR},
    {"kScannerDevicePropertyHorizontalBedSize", WIA_DPS_HORIZONTAL_BED_SIZE, WIA_DPS_HORIZONTAL_BED_SIZE_STR},
    {"kScannerDevicePropertyVerticalBedSize", WIA_DPS_VERTICAL_BED_SIZE, WIA_DPS_VERTICAL_BED_SIZE_STR},
    {"kScannerDevicePropertyHorizontalSheetFeedSize", WIA_DPS_HORIZONTAL_SHEET_FEED_SIZE, WIA_DPS_HORIZONTAL_SHEET_FEED_SIZE_STR},
    {"kScannerDevicePropertyVerticalSheetFeedSize", WIA_DPS_VERTICAL_SHEET_FEED_SIZE, WIA_DPS_VERTICAL_SHEET_FEED_SIZE_STR},
    {"kScannerDevicePropertySheetFeederRegistration", WIA_DPS_SHEET_FEEDER_REGISTRATION, WIA_DPS_SHEET_FEEDER_REGISTRATION_STR},
    {"kScannerDevicePropertyHorizontalBedRegistration", WIA_DPS_HORIZONTAL_BED_REGISTRATION, WIA_DPS_HORIZONTAL_BED_REGISTRATION_STR},
    {"kScannerDevicePropertyVerticalBedRegistration", WIA_DPS_VERTICAL_BED_REGISTRATION, WIA_DPS_VERTICAL_BED_REGISTRATION_STR},
    {"kScannerDevicePropertyPlatenColor", WIA_DPS_PLATEN_COLOR, WIA_DPS_PLATEN_COLOR_STR},
    {"kScannerDevicePropertyPadColor", WIA_DPS_PAD_COLOR, WIA_DPS_PAD_COLOR_STR},
    {"kScannerDevicePropertyFilterSelect", WIA_DPS_FILTER_SELECT, WIA_DPS_FILTER_SELECT_STR},
    {"kScannerDevicePropertyDitherSelect", WIA_DPS_DITHER_SELECT, WIA_DPS_DITHER_SELECT_STR},
    {"kScannerDevicePropertyDitherPatternData", WIA_DPS_DITHER_PATTERN_DATA, WIA_DPS_DITHER_PATTERN_DATA_STR},
    {"kScannerDevicePropertyDocumentHandlingCapabilities", WIA_DPS_DOCUMENT_HANDLING_CAPABILITIES, WIA_DPS_DOCUMENT_HANDLING_CAPABILITIES_STR},
    {"kScannerDevicePropertyDocumentHandlingStatus", WIA_DPS_DOCUMENT_HANDLING_STATUS, WIA_DPS_DOCUMENT_HANDLING_STATUS_STR},
    {"kScannerDevicePropertyDocumentHandlingSelect", WIA_DPS_DOCUMENT_HANDLING_SELECT, WIA_DPS_DOCUMENT_HANDLING_SELECT_STR},
    {"kScannerDevicePropertyDocumentHandlingCapacity", WIA_DPS_DOCUMENT_HANDLING_CAPACITY, WIA_DPS_DOCUMENT_HANDLING_CAPACITY_STR},
    {"kScannerDevicePropertyOpticalXres", WIA_DPS_OPTICAL_XRES, WIA_DPS_OPTICAL_XRES_STR},
    {"kScannerDevicePropertyOpticalYres", WIA_DPS_OPTICAL_YRES, WIA_DPS_OPTICAL_YRES_STR},
    {"kScannerDevicePropertyEndorserCharacters", WIA_DPS_ENDORSER_CHARACTERS, WIA_DPS_ENDORSER_CHARACTERS_STR},
    {"kScannerDevicePropertyEndorserString", WIA_DPS_ENDORSER_STRING, WIA_DPS_ENDORSER_STRING_STR},
    {"kScannerDevicePropertyScanAheadPages", WIA_DPS_SCAN_AHEAD_PAGES, WIA_DPS_SCAN_AHEAD_PAGES_STR},
    {"kScannerDevicePropertyMaxScanTime", WIA_DPS_MAX_SCAN_TIME, WIA_DPS_MAX_SCAN_TIME_STR},
    {"kScannerDevicePropertyPages", WIA_DPS_PAGES, WIA_DPS_PAGES_STR},
    {"kScannerDevicePropertyPageSize", WIA_DPS_PAGE_SIZE, WIA_DPS_PAGE_SIZE_STR},
    {"kScannerDevicePropertyPageWidth", WIA_DPS_PAGE_WIDTH, WIA_DPS_PAGE_WIDTH_STR},
    {"kScannerDevicePropertyPageHeight", WIA_DPS_PAGE_HEIGHT, WIA_DPS_PAGE_HEIGHT_STR},
    {"kScannerDevicePropertyPreview", WIA_DPS_PREVIEW, WIA_DPS_PREVIEW_STR},
    {"kScannerDevicePropertyTransparency", WIA_DPS_TRANSPARENCY, WIA_DPS_TRANSPARENCY_STR},
    {"kScannerDevicePropertyTransparencySelect", WIA_DPS_TRANSPARENCY_SELECT, WIA_DPS_TRANSPARENCY_SELECT_STR},
    {"kScannerDevicePropertyShowPreviewControl", WIA_DPS_SHOW_PREVIEW_CONTROL, WIA_DPS_SHOW_PREVIEW_CONTROL_STR},
    {"kScannerDevicePropertyMinHorizontalSheetFeedSize", WIA_DPS_MIN_HORIZONTAL_SHEET_FEED_SIZE, WIA_DPS_MIN_HORIZONTAL_SHEET_FEED_SIZE_STR},
    {"kScannerDevicePropertyMinVerticalSheetFeedSize", WIA_DPS_MIN_VERTICAL_SHEET_FEED_SIZE, WIA_DPS_MIN_VERTICAL_SHEET_FEED_SIZE_STR},
    {"kFileSystemPropertyMountPoint", WIA_DPF_MOUNT_POINT, WIA_DPF_MOUNT_POINT_STR},
    {"kVideoCameraPropertyLastPictureTaken", WIA_DPV_LAST_PICTURE_TAKEN, WIA_DPV_LAST_PICTURE_TAKEN_STR},
    {"kVideoCameraPropertyImagesDirectory", WIA_DPV_IMAGES_DIRECTORY, WIA_DPV_IMAGES_DIRECTORY_STR},
    {"kVideoCameraPropertyDShowDevicePath", WIA_DPV_DSHOW_DEVICE_PATH, WIA_DPV_DSHOW_DEVICE_PATH_STR},
    {"kItemPropertyItemName", WIA_IPA_ITEM_NAME, WIA_IPA_ITEM_NAME_STR},
    {"kItemPropertyFullItemName", WIA_IPA_FULL_ITEM_NAME, WIA_IPA_FULL_ITEM_NAME_STR},
    {"kItemPropertyItemTime", WIA_IPA_ITEM_TIME, WIA_IPA_ITEM_TIME_STR},
    {"kItemPropertyItemFlags", WIA_IPA_ITEM_FLAGS, WIA_IPA_ITEM_FLAGS_STR},
    {"kItemPropertyAccessRights", WIA_IPA_ACCESS_RIGHTS, WIA_IPA_ACCESS_RIGHTS_STR},
    {"kItemPropertyDatatype", WIA_IPA_DATATYPE, WIA_IPA_DATATYPE_STR},
    {"kItemPropertyDepth", WIA_IPA_DEPTH, WIA_IPA_DEPTH_STR},
    {"kItemPropertyPreferredFormat", WIA_IPA_PREFERRED_FORMAT, WIA_IPA_PREFERRED_FORMAT_STR},
    {"kItemPropertyFormat", WIA_IPA_FORMAT, WIA_IPA_FORMAT_STR},
    {"kItemPropertyCompression", WIA_IPA_COMPRESSION, WIA_IPA_COMPRESSION_STR},
    {"kItemPropertyTymed", WIA_IPA_TYMED, WIA_IPA_TYMED_STR},
    {"kItemPropertyChannelsPerPixel", WIA_IPA_CHANNELS_PER_PIXEL, WIA_IPA_CHANNELS_PER_PIXEL_STR},
    {"kItemPropertyBitsPerChannel", WIA_IPA_BITS_PER_CHANNEL, WIA_IPA_BITS_PER_CHANNEL_STR},
    {"kItemPropertyPlanar", WIA_IPA_PLANAR, WIA_IPA_PLANAR_STR},
    {"kItemPropertyPixelsPerLine", WIA_IPA_PIXELS_PER_LINE, WIA_IPA_PIXELS_PER_LINE_STR},
    {"kItemPropertyBytesPerLine", WIA_IPA_BYTES_PER_LINE, WIA_IPA_BYTES_PER_LINE_STR},
    {"kItemPropertyNumberOfLines", WIA_IPA_NUMBER_OF_LINES, WIA_IPA_NUMBER_OF_LINES_STR},
    {"kItemPropertyGammaCurves", WIA_IPA_GAMMA_CURVES, WIA_IPA_GAMMA_CURVES_STR},
    {"kItemPropertyItemSize", WIA_IPA_ITEM_SIZE, WIA_IPA_ITEM_SIZE_STR},
    {"kItemPropertyColorProfile", WIA_IPA_COLOR_PROFILE, WIA_IPA_COLOR_PROFILE_STR},
    {"kItemPropertyMinBufferSize", WIA_IPA_MIN_BUFFER_SIZE, WIA_IPA_MIN_BUFFER_SIZE_STR},
    {"kItemPropertyRegionType", WIA_IPA_REGION_TYPE, WIA_IPA_REGION_TYPE_STR},
    {"kItemPropertyIcmProfileName", WIA_IPA_ICM_PROFILE_NAME, WIA_IPA_ICM_PROFILE_NAME_STR},
    {"kItemPropertyAppColorMapping", WIA_IPA_APP_COLOR_MAPPING, WIA_IPA_APP_COLOR_MAPPING_STR},
    {"kItemPropertyPropStreamCompatId", WIA_IPA_PROP_STREAM_COMPAT_ID, WIA_IPA_PROP_STREAM_COMPAT_ID_STR},
    {"kItemPropertyFilenameExtension", WIA_IPA_FILENAME_EXTENSION, WIA_IPA_FILENAME_EXTENSION_STR},
    {"kItemPropertySuppressPropertyPage", WIA_IPA_SUPPRESS_PROPERTY_PAGE, WIA_IPA_SUPPRESS_PROPERTY_PAGE_STR},
    {"kCameraItemPropertyThumbnail", WIA_IPC_THUMBNAIL, WIA_IPC_THUMBNAIL_STR},
    {"kCameraItemPropertyThumbWidth", WIA_IPC_THUMB_WIDTH, WIA_IPC_THUMB_WIDTH_STR},
    {"kCameraItemPropertyThumbHeight", WIA_IPC_THUMB_HEIGHT, WIA_IPC_THUMB_HEIGHT_STR},
    {"kCameraItemPropertyAudioAvailable", WIA_IPC_AUDIO_AVAILABLE, WIA_IPC_AUDIO_AVAILABLE_STR},
    {"kCameraItemPropertyAudioDataFormat", WIA_IPC_AUDIO_DATA_FORMAT, WIA_IPC_AUDIO_DATA_FORMAT_STR},
    {"kCameraItemPropertyAudioData", WIA_IPC_AUDIO_DATA, WIA_IPC_AUDIO_DATA_STR},
    {"kCameraItemPropertyNumPictPerRow", WIA_IPC_NUM_PICT_PER_ROW, WIA_IPC_NUM_PICT_PER_ROW_STR},
    {"kCameraItemPropertySequence", WIA_IPC_SEQUENCE, WIA_IPC_SEQUENCE_STR},
    {"kCameraItemPropertyTimedelay", WIA_IPC_TIMEDELAY, WIA_IPC_TIMEDELAY_STR},
    {"kScannerItemPropertyCurIntent", WIA_IPS_CUR_INTENT, WIA_IPS_CUR_INTENT_STR},
    {"kScannerItemPropertyXres", WIA_IPS_XRES, WIA_IPS_XRES_STR},
    {"kScannerItemPropertyYres", WIA_IPS_YRES, WIA_IPS_YRES_STR},
    {"kScannerItemPropertyXpos", WIA_IPS_XPOS, WIA_IPS_XPOS_STR},
    {"kScannerItemPropertyYpos", WIA_IPS_YPOS, WIA_IPS_YPOS_STR},
    {"kScannerItemPropertyXextent", WIA_IPS_XEXTENT, WIA_IPS_XEXTENT_STR},
    {"kScannerItemPropertyYextent", WIA_IPS_YEXTENT, WIA_IPS_YEXTENT_STR},
    {"kScannerItemPropertyPhotometricInterp", WIA_IPS_PHOTOMETRIC_INTERP, WIA_IPS_PHOTOMETRIC_INTERP_STR},
    {"kScannerItemPropertyBrightness", WIA_IPS_BRIGHTNESS, WIA_IPS_BRIGHTNESS_STR},
    {"kScannerItemPropertyContrast", WIA_IPS_CONTRAST, WIA_IPS_CONTRAST_STR},
    {"kScannerItemPropertyOrientation", WIA_IPS_ORIENTATION, WIA_IPS_ORIENTATION_STR},
    {"kScannerItemPropertyRotation", WIA_IPS_ROTATION, WIA_IPS_ROTATION_STR},
    {"kScannerItemPropertyMirror", WIA_IPS_MIRROR, WIA_IPS_MIRROR_STR},
    {"kScannerItemPropertyThreshold", WIA_IPS_THRESHOLD, WIA_IPS_THRESHOLD_STR},
    {"kScannerItemPropertyInvert", WIA_IPS_INVERT, WIA_IPS_INVERT_STR},
    {"kScannerItemPropertyWarmUpTime", WIA_IPS_WARM_UP_TIME, WIA_IPS_WARM_UP_TIME_STR},
};

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text != 0; ++text) out += static_cast<char>(*text);  // the platform's names are ASCII
    return out;
}

class PropertyConstants : public PluginTest {};

TEST_F(PropertyConstants, NamesAndIdsAreThePlatformsOwn) {
    const std::vector<std::string>& constants = host().Class("WIAPropertyStorageZVK").constants;
    const size_t properties = std::size(kPropertyRows);
    ASSERT_EQ(properties, 147u);
    ASSERT_EQ(constants.size(), 5 + 2 * properties + 4);
    for (size_t i = 0; i < properties; ++i) {
        const PropertyRow& row = kPropertyRows[i];
        EXPECT_EQ(constants[5 + i], std::string(row.constant) + "String = \"" + Narrow(row.name) + "\"") << "row " << i;
        EXPECT_EQ(constants[5 + properties + i], std::string(row.constant) + " = " + std::to_string(row.id)) << "row " << i;
    }
}

TEST_F(PropertyConstants, CommitFlagsAndMediumTypesFrameTheTable) {
    const std::vector<std::string>& constants = host().Class("WIAPropertyStorageZVK").constants;
    ASSERT_EQ(constants.size(), 303u);
    const std::vector<std::string> head(constants.begin(), constants.begin() + 5);
    const std::vector<std::string> tail(constants.end() - 4, constants.end());
    EXPECT_EQ(head, (std::vector<std::string>{"kCommitFlagsDefault = 0", "kCommitFlagsOverwrite = 1",
                                              "kCommitFlagsOnlyIfCurrent = 2",
                                              "kCommitFlagsDangeroulyCommitMeRelyToDiskCache = 4",
                                              "kCommitFlagsConsolidate = 8"}));
    EXPECT_EQ(tail, (std::vector<std::string>{"kTymedFile = " + std::to_string(TYMED_FILE),
                                              "kTymedCallback = " + std::to_string(TYMED_CALLBACK),
                                              "kTymedMultiPageFile = " + std::to_string(TYMED_MULTIPAGE_FILE),
                                              "kTymedMultiPageCallback = " + std::to_string(TYMED_MULTIPAGE_CALLBACK)}));
}

}  // namespace
}  // namespace simhost
