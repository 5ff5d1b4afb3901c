// WIAPropertyStorageZVK: Wraps IWiaPropertyStorage.
#include "wia/Classes.h"
#include "wia/GUIDClass.h"
#include "wia/InstanceData.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

// The published image and audio format identifiers, offered as shared methods.
constexpr GUID kImageFormatUndefined = {0xB96B3CA9, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatRawRGB = {0xBCA48B55, 0xF272, 0x4371, {0xB0, 0xF1, 0x4A, 0x15, 0x0D, 0x05, 0x7B, 0xB4}};
constexpr GUID kImageFormatMemoryBMP = {0xB96B3CAA, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatBMP = {0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatEMF = {0xB96B3CAC, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatWMF = {0xB96B3CAD, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatJPEG = {0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatPNG = {0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatGIF = {0xB96B3CB0, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatTIFF = {0xB96B3CB1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatEXIF = {0xB96B3CB2, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatPhotoCD = {0xB96B3CB3, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatFlashPix = {0xB96B3CB4, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatICO = {0xB96B3CB5, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kImageFormatCIFF = {0x9821A8AB, 0x3A7E, 0x4215, {0x94, 0xE0, 0xD2, 0x7A, 0x46, 0x0C, 0x03, 0xB2}};
constexpr GUID kImageFormatPICT = {0xA6BC85D8, 0x6B3E, 0x40EE, {0xA9, 0x5C, 0x25, 0xD4, 0x82, 0xE4, 0x1A, 0xDC}};
constexpr GUID kImageFormatJPEG2K = {0x344EE2B2, 0x39DB, 0x4DDE, {0x81, 0x73, 0xC4, 0xB7, 0x5F, 0x8F, 0x1E, 0x49}};
constexpr GUID kImageFormatJPEG2KX = {0x43E14614, 0xC80A, 0x4850, {0xBA, 0xF3, 0x4B, 0x15, 0x2D, 0xC8, 0xDA, 0x27}};
constexpr GUID kImageFormatRTF = {0x573DD6A3, 0x4834, 0x432D, {0xA9, 0xB5, 0xE1, 0x98, 0xDD, 0x9E, 0x89, 0x0D}};
constexpr GUID kImageFormatXML = {0xB9171457, 0xDAC8, 0x4884, {0xB3, 0x93, 0x15, 0xB4, 0x71, 0xD5, 0xF0, 0x7E}};
constexpr GUID kImageFormatHTML = {0xC99A4E62, 0x99DE, 0x4A94, {0xAC, 0xCA, 0x71, 0x95, 0x6A, 0xC2, 0x97, 0x7D}};
constexpr GUID kImageFormatTXT = {0xFAFD4D82, 0x723F, 0x421F, {0x93, 0x18, 0x30, 0x50, 0x1A, 0xC4, 0x4B, 0x59}};
constexpr GUID kImageFormatMPG = {0xECD757E4, 0xD2EC, 0x4F57, {0x95, 0x5D, 0xBC, 0xF8, 0xA9, 0x7C, 0x4E, 0x52}};
constexpr GUID kImageFormatAVI = {0x32F8CA14, 0x087C, 0x4908, {0xB7, 0xC4, 0x67, 0x57, 0xFE, 0x7E, 0x90, 0xAB}};
constexpr GUID kImageFormatASF = {0x8D948EE9, 0xD0AA, 0x4A12, {0x9D, 0x9A, 0x9C, 0xC5, 0xDE, 0x36, 0x19, 0x9B}};
constexpr GUID kImageFormatScript = {0xFE7D6C53, 0x2DAC, 0x446A, {0xB0, 0xBD, 0xD7, 0x3E, 0x21, 0xE9, 0x24, 0xC9}};
constexpr GUID kImageFormatExec = {0x485DA097, 0x141E, 0x4AA5, {0xBB, 0x3B, 0xA5, 0x61, 0x8D, 0x95, 0xD0, 0x2B}};
constexpr GUID kImageFormatUnicode16 = {0x1B7639B6, 0x6357, 0x47D1, {0x9A, 0x07, 0x12, 0x45, 0x2D, 0xC0, 0x73, 0xE9}};
constexpr GUID kImageFormatDPOF = {0x369EEEAB, 0xA0E8, 0x45CA, {0x86, 0xA6, 0xA8, 0x3C, 0xE5, 0x69, 0x7E, 0x28}};
constexpr GUID kAudioFormatWAV = {0xF818E146, 0x07AF, 0x40FF, {0xAE, 0x55, 0xBE, 0x8F, 0x2C, 0x06, 0x5D, 0xBE}};
constexpr GUID kAudioFormatMP3 = {0x0FBC71FB, 0x43BF, 0x49F2, {0x91, 0x90, 0xE6, 0xFE, 0xCF, 0xF3, 0x7E, 0x54}};
constexpr GUID kAudioFormatAIFF = {0x66E2BF4F, 0xB6FC, 0x443F, {0x94, 0xC8, 0x2F, 0x33, 0xC8, 0xA6, 0x5A, 0xAF}};
constexpr GUID kAudioFormatWMA = {0xD61D6413, 0x8BC2, 0x438F, {0x93, 0xAD, 0x21, 0xBD, 0x48, 0x4D, 0xB6, 0xA1}};

PropertyDefinition kProperties[] = {
    BoundProperty("Handle",    "Integer",    0),
    BoundProperty("Lasterror", "Integer",    1),
};

MethodDefinition kSharedMethods[] = {
    Method(GUIDConstant<kImageFormatUndefined>, "kImageFormatUndefined as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatRawRGB>,    "kImageFormatRawRGB as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatMemoryBMP>, "kImageFormatMemoryBMP as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatBMP>,       "kImageFormatBMP as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatEMF>,       "kImageFormatEMF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatWMF>,       "kImageFormatWMF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatJPEG>,      "kImageFormatJPEG as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatPNG>,       "kImageFormatPNG as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatGIF>,       "kImageFormatGIF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatTIFF>,      "kImageFormatTIFF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatEXIF>,      "kImageFormatEXIF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatPhotoCD>,   "kImageFormatPhotoCD as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatFlashPix>,  "kImageFormatFlashPix as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatICO>,       "kImageFormatICO as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatCIFF>,      "kImageFormatCIFF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatPICT>,      "kImageFormatPICT as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatJPEG2K>,    "kImageFormatJPEG2K as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatJPEG2KX>,   "kImageFormatJPEG2KX as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatRTF>,       "kImageFormatRTF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatXML>,       "kImageFormatXML as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatHTML>,      "kImageFormatHTML as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatTXT>,       "kImageFormatTXT as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatMPG>,       "kImageFormatMPG as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatAVI>,       "kImageFormatAVI as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatASF>,       "kImageFormatASF as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatScript>,    "kImageFormatScript as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatExec>,      "kImageFormatExec as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatUnicode16>, "kImageFormatUnicode16 as WIAGUIDZVK"),
    Method(GUIDConstant<kImageFormatDPOF>,      "kImageFormatDPOF as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatWAV>,       "kAudioFormatWAV as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatMP3>,       "kAudioFormatMP3 as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatAIFF>,      "kAudioFormatAIFF as WIAGUIDZVK"),
    Method(GUIDConstant<kAudioFormatWMA>,       "kAudioFormatWMA as WIAGUIDZVK"),
};

}  // namespace

ClassDefinition gPropertyStorageClass = ClassBuilder("WIAPropertyStorageZVK", sizeof(InterfaceData))
                                            .Destructor(PropertyStorageDestructor)
                                            .Properties(kProperties)
                                            .SharedMethods(kSharedMethods);

}  // namespace zvk
