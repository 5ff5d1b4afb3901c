// WiaInterfaces.h - our own declarations of the Windows Image Acquisition COM interfaces, WIA 1.0 and 2.0.
//
// mingw-w64 ships only the WIA 1.0 half of <wia.h>, so every interface the library calls (and every one their
// signatures mention) is declared here from Microsoft's documentation, with all vtable slots in order, including
// the ones the library never calls. Slot numbers are noted on each method; they are the binary contract.
//
// This header replaces <wia.h> and <wiavideo.h>: it defines their include guards, so either one included later is
// a no-op, and <wiadef.h> (property ids, format GUIDs, flags) may be included after it. Including mingw's <wia.h>
// *before* this header is an error.
//
// Each interface gets a uuid (MIDL_INTERFACE for MSVC, __CRT_UUID_DECL for mingw) so that __uuidof works, and a
// kIID_<Name> constant; the three class ids are kCLSID_WiaDevMgr, kCLSID_WiaDevMgr2 and kCLSID_WiaVideo.
#pragma once

// Slot numbers stand aligned beside each declaration; the formatter would scatter them.
// clang-format off

#include <objbase.h>
#include <oaidl.h>
#include <objidl.h>
#include <propidl.h>

#include <cstddef>

#if defined(__IWiaDevMgr_INTERFACE_DEFINED__) || defined(__IWiaVideo_INTERFACE_DEFINED__)
#error "wia/WiaInterfaces.h replaces <wia.h> and <wiavideo.h>; do not include those before it"
#endif
#ifndef __wia_h__
#define __wia_h__
#endif
#ifndef __wiavideo_h__
#define __wiavideo_h__
#endif

// Declares __uuidof(iface) for mingw and the constant kIID_<iface>, both from one set of numbers.
#ifdef __CRT_UUID_DECL
#define WIA_UUID_DECL_(iface, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    __CRT_UUID_DECL(iface, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)
#else
#define WIA_UUID_DECL_(iface, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)
#endif
#define WIA_DECLARE_IID(iface, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)        \
    WIA_UUID_DECL_(iface, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)             \
    inline constexpr IID kIID_##iface = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};

struct IWiaDevMgr;
struct IWiaDevMgr2;
struct IWiaItem;
struct IWiaItem2;
struct IWiaPropertyStorage;
struct IEnumWiaItem;
struct IEnumWiaItem2;
struct IEnumWIA_DEV_INFO;
struct IEnumWIA_DEV_CAPS;
struct IEnumWIA_FORMAT_INFO;
struct IWiaDataTransfer;
struct IWiaDataCallback;
struct IWiaTransfer;
struct IWiaTransferCallback;
struct IWiaEventCallback;
struct IWiaPreview;
struct IWiaItemExtras;
struct IWiaAppErrorHandler;
struct IWiaVideo;

// ---------------------------------------------------------------------------------------------------------------
// Records

struct WIA_FORMAT_INFO {
    GUID guidFormatID;
    LONG lTymed;
};
typedef WIA_FORMAT_INFO* PWIA_FORMAT_INFO;

// Not used by the library; <wiadef.h> declares its property-name table with it.
struct WIA_PROPID_TO_NAME {
    PROPID propid;
    LPOLESTR pszName;
};
typedef WIA_PROPID_TO_NAME* PWIA_PROPID_TO_NAME;

// The four texts of a capability that the platform hands out belong to the receiver (SysFreeString).
struct WIA_DEV_CAP {
    GUID guid;
    ULONG ulFlags;
    BSTR bstrName;
    BSTR bstrDescription;
    BSTR bstrIcon;
    BSTR bstrCommandline;
};
typedef WIA_DEV_CAP* PWIA_DEV_CAP;
typedef WIA_DEV_CAP WIA_EVENT_HANDLER;
typedef WIA_DEV_CAP* PWIA_EVENT_HANDLER;

struct WIA_DATA_TRANSFER_INFO {
    ULONG ulSize;
    ULONG ulSection;
    ULONG ulBufferSize;
    BOOL bDoubleBuffer;
    ULONG ulReserved1;
    ULONG ulReserved2;
    ULONG ulReserved3;
};
typedef WIA_DATA_TRANSFER_INFO* PWIA_DATA_TRANSFER_INFO;

struct WIA_EXTENDED_TRANSFER_INFO {
    ULONG ulSize;
    ULONG ulMinBufferSize;
    ULONG ulOptimalBufferSize;
    ULONG ulMaxBufferSize;
    ULONG ulNumBuffers;
};
typedef WIA_EXTENDED_TRANSFER_INFO* PWIA_EXTENDED_TRANSFER_INFO;

// First band of a banded transfer (IT_MSG_DATA_HEADER) carries this header.
struct WIA_DATA_CALLBACK_HEADER {
    LONG lSize;
    GUID guidFormatID;
    LONG lBufferSize;
    LONG lPageCount;
};
typedef WIA_DATA_CALLBACK_HEADER* PWIA_DATA_CALLBACK_HEADER;

// Progress record passed to IWiaTransferCallback::TransferCallback; lMessage is one of WIA_TRANSFER_MSG_*.
struct WiaTransferParams {
    LONG lMessage;
    LONG lPercentComplete;
    ULONG64 ulTransferredBytes;
    HRESULT hrErrorStatus;
};

inline constexpr LONG WIA_TRANSFER_MSG_STATUS = 0x00001;
inline constexpr LONG WIA_TRANSFER_MSG_END_OF_STREAM = 0x00002;
inline constexpr LONG WIA_TRANSFER_MSG_END_OF_TRANSFER = 0x00003;
inline constexpr LONG WIA_TRANSFER_MSG_DEVICE_STATUS = 0x00005;
inline constexpr LONG WIA_TRANSFER_MSG_NEW_PAGE = 0x00006;

enum WIAVIDEO_STATE {
    WIAVIDEO_NO_VIDEO = 1,
    WIAVIDEO_CREATING_VIDEO = 2,
    WIAVIDEO_VIDEO_CREATED = 3,
    WIAVIDEO_VIDEO_PLAYING = 4,
    WIAVIDEO_VIDEO_PAUSED = 5,
    WIAVIDEO_DESTROYING_VIDEO = 6,
};

// ---------------------------------------------------------------------------------------------------------------
// WIA 1.0

MIDL_INTERFACE("5EB2502A-8CF1-11D1-BF92-0060081ED811")
IWiaDevMgr : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE EnumDeviceInfo(LONG lFlag, IEnumWIA_DEV_INFO** ppIEnum) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE CreateDevice(BSTR bstrDeviceID, IWiaItem** ppWiaItemRoot) = 0; // 4
    virtual HRESULT STDMETHODCALLTYPE SelectDeviceDlg(HWND hwndParent, LONG lDeviceType, LONG lFlags,
                                                      BSTR* pbstrDeviceID, IWiaItem** ppItemRoot) = 0; // 5
    virtual HRESULT STDMETHODCALLTYPE SelectDeviceDlgID(HWND hwndParent, LONG lDeviceType, LONG lFlags,
                                                        BSTR* pbstrDeviceID) = 0; // 6
    virtual HRESULT STDMETHODCALLTYPE GetImageDlg(HWND hwndParent, LONG lDeviceType, LONG lFlags, LONG lIntent,
                                                  IWiaItem* pItemRoot, BSTR bstrFilename, GUID* pguidFormat) = 0; // 7
    virtual HRESULT STDMETHODCALLTYPE RegisterEventCallbackProgram(LONG lFlags, BSTR bstrDeviceID,
                                                                   const GUID* pEventGUID, BSTR bstrCommandline,
                                                                   BSTR bstrName, BSTR bstrDescription,
                                                                   BSTR bstrIcon) = 0; // 8
    virtual HRESULT STDMETHODCALLTYPE RegisterEventCallbackInterface(LONG lFlags, BSTR bstrDeviceID,
                                                                     const GUID* pEventGUID,
                                                                     IWiaEventCallback* pIWiaEventCallback,
                                                                     IUnknown** pEventObject) = 0; // 9
    virtual HRESULT STDMETHODCALLTYPE RegisterEventCallbackCLSID(LONG lFlags, BSTR bstrDeviceID,
                                                                 const GUID* pEventGUID, const GUID* pClsID,
                                                                 BSTR bstrName, BSTR bstrDescription,
                                                                 BSTR bstrIcon) = 0; // 10
    virtual HRESULT STDMETHODCALLTYPE AddDeviceDlg(HWND hwndParent, LONG lFlags) = 0; // 11
};
WIA_DECLARE_IID(IWiaDevMgr, 0x5eb2502a, 0x8cf1, 0x11d1, 0xbf, 0x92, 0x00, 0x60, 0x08, 0x1e, 0xd8, 0x11)

MIDL_INTERFACE("5E38B83C-8CF1-11D1-BF92-0060081ED811")
IEnumWIA_DEV_INFO : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, IWiaPropertyStorage** rgelt, ULONG* pceltFetched) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;                                                  // 4
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;                                                           // 5
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumWIA_DEV_INFO** ppIEnum) = 0;                                // 6
    virtual HRESULT STDMETHODCALLTYPE GetCount(ULONG* celt) = 0;                                             // 7
};
WIA_DECLARE_IID(IEnumWIA_DEV_INFO, 0x5e38b83c, 0x8cf1, 0x11d1, 0xbf, 0x92, 0x00, 0x60, 0x08, 0x1e, 0xd8, 0x11)

MIDL_INTERFACE("AE6287B0-0084-11D2-973B-00A0C9068F2E")
IWiaEventCallback : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE ImageEventCallback(const GUID* pEventGUID, BSTR bstrEventDescription,
                                                         BSTR bstrDeviceID, BSTR bstrDeviceDescription,
                                                         DWORD dwDeviceType, BSTR bstrFullItemName,
                                                         ULONG* pulEventType, ULONG ulReserved) = 0; // 3
};
WIA_DECLARE_IID(IWiaEventCallback, 0xae6287b0, 0x0084, 0x11d2, 0x97, 0x3b, 0x00, 0xa0, 0xc9, 0x06, 0x8f, 0x2e)

MIDL_INTERFACE("A558A866-A5B0-11D2-A08F-00C04F72DC3C")
IWiaDataCallback : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE BandedDataCallback(LONG lMessage, LONG lStatus, LONG lPercentComplete,
                                                         LONG lOffset, LONG lLength, LONG lReserved,
                                                         LONG lResLength, BYTE* pbBuffer) = 0; // 3
};
WIA_DECLARE_IID(IWiaDataCallback, 0xa558a866, 0xa5b0, 0x11d2, 0xa0, 0x8f, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c)

MIDL_INTERFACE("A6CEF998-A5B0-11D2-A08F-00C04F72DC3C")
IWiaDataTransfer : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE idtGetData(LPSTGMEDIUM pMedium, IWiaDataCallback* pIWiaDataCallback) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE idtGetBandedData(PWIA_DATA_TRANSFER_INFO pWiaDataTransInfo,
                                                       IWiaDataCallback* pIWiaDataCallback) = 0;      // 4
    virtual HRESULT STDMETHODCALLTYPE idtQueryGetData(WIA_FORMAT_INFO* pfe) = 0;                      // 5
    virtual HRESULT STDMETHODCALLTYPE idtEnumWIA_FORMAT_INFO(IEnumWIA_FORMAT_INFO** ppEnum) = 0;     // 6
    virtual HRESULT STDMETHODCALLTYPE idtGetExtendedTransferInfo(PWIA_EXTENDED_TRANSFER_INFO pExtendedTransferInfo) = 0; // 7
};
WIA_DECLARE_IID(IWiaDataTransfer, 0xa6cef998, 0xa5b0, 0x11d2, 0xa0, 0x8f, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c)

MIDL_INTERFACE("4DB1AD10-3391-11D2-9A33-00C04FA36145")
IWiaItem : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetItemType(LONG* pItemType) = 0;                                     // 3
    virtual HRESULT STDMETHODCALLTYPE AnalyzeItem(LONG lFlags) = 0;                                        // 4
    virtual HRESULT STDMETHODCALLTYPE EnumChildItems(IEnumWiaItem** ppIEnumWiaItem) = 0;                   // 5
    virtual HRESULT STDMETHODCALLTYPE DeleteItem(LONG lFlags) = 0;                                         // 6
    virtual HRESULT STDMETHODCALLTYPE CreateChildItem(LONG lFlags, BSTR bstrItemName, BSTR bstrFullItemName,
                                                      IWiaItem** ppIWiaItem) = 0;                          // 7
    virtual HRESULT STDMETHODCALLTYPE EnumRegisterEventInfo(LONG lFlags, const GUID* pEventGUID,
                                                            IEnumWIA_DEV_CAPS** ppIEnum) = 0;              // 8
    virtual HRESULT STDMETHODCALLTYPE FindItemByName(LONG lFlags, BSTR bstrFullItemName, IWiaItem** ppIWiaItem) = 0; // 9
    // Gives a CoTaskMemAlloc array of *plItemCount item pointers, each carrying one reference.
    virtual HRESULT STDMETHODCALLTYPE DeviceDlg(HWND hwndParent, LONG lFlags, LONG lIntent, LONG* plItemCount,
                                                IWiaItem*** ppIWiaItem) = 0;                               // 10
    virtual HRESULT STDMETHODCALLTYPE DeviceCommand(LONG lFlags, const GUID* pCmdGUID, IWiaItem** pIWiaItem) = 0; // 11
    virtual HRESULT STDMETHODCALLTYPE GetRootItem(IWiaItem** ppIWiaItem) = 0;                             // 12
    virtual HRESULT STDMETHODCALLTYPE EnumDeviceCapabilities(LONG lFlags, IEnumWIA_DEV_CAPS** ppIEnumWIA_DEV_CAPS) = 0; // 13
    virtual HRESULT STDMETHODCALLTYPE DumpItemData(BSTR* bstrData) = 0;                                   // 14
    virtual HRESULT STDMETHODCALLTYPE DumpDrvItemData(BSTR* bstrData) = 0;                                // 15
    virtual HRESULT STDMETHODCALLTYPE DumpTreeItemData(BSTR* bstrData) = 0;                               // 16
    virtual HRESULT STDMETHODCALLTYPE Diagnostic(ULONG ulSize, BYTE* pBuffer) = 0;                        // 17
};
WIA_DECLARE_IID(IWiaItem, 0x4db1ad10, 0x3391, 0x11d2, 0x9a, 0x33, 0x00, 0xc0, 0x4f, 0xa3, 0x61, 0x45)

MIDL_INTERFACE("98B5E8A0-29CC-491A-AAC0-E6DB4FDCCEB6")
IWiaPropertyStorage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE ReadMultiple(ULONG cpspec, const PROPSPEC rgpspec[], PROPVARIANT rgpropvar[]) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE WriteMultiple(ULONG cpspec, const PROPSPEC rgpspec[], const PROPVARIANT rgpropvar[],
                                                    PROPID propidNameFirst) = 0;                               // 4
    virtual HRESULT STDMETHODCALLTYPE DeleteMultiple(ULONG cpspec, const PROPSPEC rgpspec[]) = 0;              // 5
    virtual HRESULT STDMETHODCALLTYPE ReadPropertyNames(ULONG cpropid, const PROPID rgpropid[], LPOLESTR rglpwstrName[]) = 0; // 6
    virtual HRESULT STDMETHODCALLTYPE WritePropertyNames(ULONG cpropid, const PROPID rgpropid[],
                                                         const LPOLESTR rglpwstrName[]) = 0;                   // 7
    virtual HRESULT STDMETHODCALLTYPE DeletePropertyNames(ULONG cpropid, const PROPID rgpropid[]) = 0;         // 8
    virtual HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) = 0;                                       // 9
    virtual HRESULT STDMETHODCALLTYPE Revert() = 0;                                                           // 10
    virtual HRESULT STDMETHODCALLTYPE Enum(IEnumSTATPROPSTG** ppenum) = 0;                                    // 11
    virtual HRESULT STDMETHODCALLTYPE SetTimes(const FILETIME* pctime, const FILETIME* patime, const FILETIME* pmtime) = 0; // 12
    virtual HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) = 0;                                           // 13
    virtual HRESULT STDMETHODCALLTYPE Stat(STATPROPSETSTG* pstatpsstg) = 0;                                   // 14
    virtual HRESULT STDMETHODCALLTYPE GetPropertyAttributes(ULONG cpspec, PROPSPEC rgpspec[], ULONG rgflags[],
                                                            PROPVARIANT rgpropvar[]) = 0;                      // 15
    virtual HRESULT STDMETHODCALLTYPE GetCount(ULONG* pulNumProps) = 0;                                        // 16
    virtual HRESULT STDMETHODCALLTYPE GetPropertyStream(GUID* pCompatibilityId, IStream** ppIStream) = 0;      // 17
    virtual HRESULT STDMETHODCALLTYPE SetPropertyStream(GUID* pCompatibilityId, IStream* pIStream) = 0;        // 18
};
WIA_DECLARE_IID(IWiaPropertyStorage, 0x98b5e8a0, 0x29cc, 0x491a, 0xaa, 0xc0, 0xe6, 0xdb, 0x4f, 0xdc, 0xce, 0xb6)

MIDL_INTERFACE("5E8383FC-3391-11D2-9A33-00C04FA36145")
IEnumWiaItem : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, IWiaItem** ppIWiaItem, ULONG* pceltFetched) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;                                            // 4
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;                                                     // 5
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumWiaItem** ppIEnum) = 0;                               // 6
    virtual HRESULT STDMETHODCALLTYPE GetCount(ULONG* celt) = 0;                                       // 7
};
WIA_DECLARE_IID(IEnumWiaItem, 0x5e8383fc, 0x3391, 0x11d2, 0x9a, 0x33, 0x00, 0xc0, 0x4f, 0xa3, 0x61, 0x45)

MIDL_INTERFACE("1FCC4287-ACA6-11D2-A093-00C04F72DC3C")
IEnumWIA_DEV_CAPS : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, WIA_DEV_CAP* rgelt, ULONG* pceltFetched) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;                                         // 4
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;                                                  // 5
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumWIA_DEV_CAPS** ppIEnum) = 0;                       // 6
    virtual HRESULT STDMETHODCALLTYPE GetCount(ULONG* pcelt) = 0;                                   // 7
};
WIA_DECLARE_IID(IEnumWIA_DEV_CAPS, 0x1fcc4287, 0xaca6, 0x11d2, 0xa0, 0x93, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c)

MIDL_INTERFACE("81BEFC5B-656D-44F1-B24C-D41D51B4DC81")
IEnumWIA_FORMAT_INFO : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, WIA_FORMAT_INFO* rgelt, ULONG* pceltFetched) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;                                             // 4
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;                                                      // 5
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumWIA_FORMAT_INFO** ppIEnum) = 0;                        // 6
    virtual HRESULT STDMETHODCALLTYPE GetCount(ULONG* pcelt) = 0;                                       // 7
};
WIA_DECLARE_IID(IEnumWIA_FORMAT_INFO, 0x81befc5b, 0x656d, 0x44f1, 0xb2, 0x4c, 0xd4, 0x1d, 0x51, 0xb4, 0xdc, 0x81)

MIDL_INTERFACE("6291EF2C-36EF-4532-876A-8E132593778D")
IWiaItemExtras : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetExtendedErrorInfo(BSTR* bstrErrorText) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE Escape(DWORD dwEscapeCode, BYTE* lpInData, DWORD cbInDataSize, BYTE* pOutData,
                                             DWORD dwOutDataSize, DWORD* pdwActualDataSize) = 0; // 4
    virtual HRESULT STDMETHODCALLTYPE CancelPendingIO() = 0;                                      // 5
};
WIA_DECLARE_IID(IWiaItemExtras, 0x6291ef2c, 0x36ef, 0x4532, 0x87, 0x6a, 0x8e, 0x13, 0x25, 0x93, 0x77, 0x8d)

// ---------------------------------------------------------------------------------------------------------------
// WIA 2.0

MIDL_INTERFACE("27D4EAAF-28A6-4CA5-9AAB-E678168B9527")
IWiaTransferCallback : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE TransferCallback(LONG lFlags, WiaTransferParams* pWiaTransferParams) = 0; // 3
    // *ppDestination receives one reference that passes to the caller.
    virtual HRESULT STDMETHODCALLTYPE GetNextStream(LONG lFlags, BSTR bstrItemName, BSTR bstrFullItemName,
                                                    IStream** ppDestination) = 0; // 4
};
WIA_DECLARE_IID(IWiaTransferCallback, 0x27d4eaaf, 0x28a6, 0x4ca5, 0x9a, 0xab, 0xe6, 0x78, 0x16, 0x8b, 0x95, 0x27)

MIDL_INTERFACE("C39D6942-2F4E-4D04-92FE-4EF4D3A1DE5A")
IWiaTransfer : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Download(LONG lFlags, IWiaTransferCallback* pIWiaTransferCallback) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE Upload(LONG lFlags, IStream* pSource,
                                             IWiaTransferCallback* pIWiaTransferCallback) = 0;             // 4
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;                                                        // 5
    virtual HRESULT STDMETHODCALLTYPE EnumWIA_FORMAT_INFO(IEnumWIA_FORMAT_INFO** ppIEnum) = 0;             // 6
};
WIA_DECLARE_IID(IWiaTransfer, 0xc39d6942, 0x2f4e, 0x4d04, 0x92, 0xfe, 0x4e, 0xf4, 0xd3, 0xa1, 0xde, 0x5a)

// Parameter order as in the SDK header (the prose reference pages list GetNewPreview's arguments differently).
MIDL_INTERFACE("95C2B4FD-33F2-4D86-AD40-9431F0DF08F7")
IWiaPreview : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetNewPreview(LONG lFlags, IWiaItem2* pWiaItem2,
                                                    IWiaTransferCallback* pWiaTransferCallback) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE UpdatePreview(LONG lFlags, IWiaItem2* pChildWiaItem2,
                                                    IWiaTransferCallback* pWiaTransferCallback) = 0; // 4
    virtual HRESULT STDMETHODCALLTYPE DetectRegions(LONG lFlags) = 0;                               // 5
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;                                                  // 6
};
WIA_DECLARE_IID(IWiaPreview, 0x95c2b4fd, 0x33f2, 0x4d86, 0xad, 0x40, 0x94, 0x31, 0xf0, 0xdf, 0x08, 0xf7)

MIDL_INTERFACE("59970AF4-CD0D-44D9-AB24-52295630E582")
IEnumWiaItem2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG cElt, IWiaItem2** ppIWiaItem2, ULONG* pcEltFetched) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG cElt) = 0;                                              // 4
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;                                                       // 5
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumWiaItem2** ppIEnum) = 0;                                // 6
    virtual HRESULT STDMETHODCALLTYPE GetCount(ULONG* cElt) = 0;                                         // 7
};
WIA_DECLARE_IID(IEnumWiaItem2, 0x59970af4, 0xcd0d, 0x44d9, 0xab, 0x24, 0x52, 0x29, 0x56, 0x30, 0xe5, 0x82)

MIDL_INTERFACE("6CBA0075-1287-407D-9B77-CF0E030435CC")
IWiaItem2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateChildItem(LONG lItemFlags, LONG lCreationFlags, BSTR bstrItemName,
                                                      IWiaItem2** ppIWiaItem2) = 0;                        // 3
    virtual HRESULT STDMETHODCALLTYPE DeleteItem(LONG lFlags) = 0;                                         // 4
    virtual HRESULT STDMETHODCALLTYPE EnumChildItems(const GUID* pCategoryGUID, IEnumWiaItem2** ppIEnumWiaItem2) = 0; // 5
    virtual HRESULT STDMETHODCALLTYPE FindItemByName(LONG lFlags, BSTR bstrFullItemName, IWiaItem2** ppIWiaItem2) = 0; // 6
    virtual HRESULT STDMETHODCALLTYPE GetItemCategory(GUID* pItemCategoryGUID) = 0;                       // 7
    virtual HRESULT STDMETHODCALLTYPE GetItemType(LONG* pItemType) = 0;                                    // 8
    // Gives a CoTaskMemAlloc array of *plNumFiles BSTR paths (each freed with SysFreeString) and one item.
    virtual HRESULT STDMETHODCALLTYPE DeviceDlg(LONG lFlags, HWND hwndParent, BSTR bstrFolderName, BSTR bstrFilename,
                                                LONG* plNumFiles, BSTR** ppbstrFilePaths, IWiaItem2** ppItem) = 0; // 9
    virtual HRESULT STDMETHODCALLTYPE DeviceCommand(LONG lFlags, const GUID* pCmdGUID, IWiaItem2** ppIWiaItem2) = 0; // 10
    virtual HRESULT STDMETHODCALLTYPE EnumDeviceCapabilities(LONG lFlags, IEnumWIA_DEV_CAPS** ppIEnumWIA_DEV_CAPS) = 0; // 11
    virtual HRESULT STDMETHODCALLTYPE CheckExtension(LONG lFlags, BSTR bstrName, REFIID riidExtensionInterface,
                                                     BOOL* pbExtensionExists) = 0;                          // 12
    virtual HRESULT STDMETHODCALLTYPE GetExtension(LONG lFlags, BSTR bstrName, REFIID riidExtensionInterface,
                                                   void** ppOut) = 0;                                       // 13
    virtual HRESULT STDMETHODCALLTYPE GetParentItem(IWiaItem2** ppIWiaItem2) = 0;                         // 14
    virtual HRESULT STDMETHODCALLTYPE GetRootItem(IWiaItem2** ppIWiaItem2) = 0;                           // 15
    virtual HRESULT STDMETHODCALLTYPE GetPreviewComponent(LONG lFlags, IWiaPreview** ppWiaPreview) = 0;   // 16
    virtual HRESULT STDMETHODCALLTYPE EnumRegisterEventInfo(LONG lFlags, const GUID* pEventGUID,
                                                            IEnumWIA_DEV_CAPS** ppIEnum) = 0;              // 17
    virtual HRESULT STDMETHODCALLTYPE Diagnostic(ULONG ulSize, BYTE* pBuffer) = 0;                        // 18
};
WIA_DECLARE_IID(IWiaItem2, 0x6cba0075, 0x1287, 0x407d, 0x9b, 0x77, 0xcf, 0x0e, 0x03, 0x04, 0x35, 0xcc)

MIDL_INTERFACE("79C07CF1-CBDD-41EE-8EC3-F00080CADA7A")
IWiaDevMgr2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE EnumDeviceInfo(LONG lFlags, IEnumWIA_DEV_INFO** ppIEnum) = 0;          // 3
    virtual HRESULT STDMETHODCALLTYPE CreateDevice(LONG lFlags, BSTR bstrDeviceID, IWiaItem2** ppWiaItem2Root) = 0; // 4
    virtual HRESULT STDMETHODCALLTYPE SelectDeviceDlg(HWND hwndParent, LONG lDeviceType, LONG lFlags,
                                                      BSTR* pbstrDeviceID, IWiaItem2** ppItemRoot) = 0;       // 5
    virtual HRESULT STDMETHODCALLTYPE SelectDeviceDlgID(HWND hwndParent, LONG lDeviceType, LONG lFlags,
                                                        BSTR* pbstrDeviceID) = 0;                             // 6
    virtual HRESULT STDMETHODCALLTYPE RegisterEventCallbackInterface(LONG lFlags, BSTR bstrDeviceID,
                                                                     const GUID* pEventGUID,
                                                                     IWiaEventCallback* pIWiaEventCallback,
                                                                     IUnknown** pEventObject) = 0;            // 7
    virtual HRESULT STDMETHODCALLTYPE RegisterEventCallbackProgram(LONG lFlags, BSTR bstrDeviceID,
                                                                   const GUID* pEventGUID, BSTR bstrFullAppName,
                                                                   BSTR bstrCommandLineArg, BSTR bstrName,
                                                                   BSTR bstrDescription, BSTR bstrIcon) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE RegisterEventCallbackCLSID(LONG lFlags, BSTR bstrDeviceID,
                                                                 const GUID* pEventGUID, const GUID* pClsID,
                                                                 BSTR bstrName, BSTR bstrDescription,
                                                                 BSTR bstrIcon) = 0;                          // 9
    // Gives a CoTaskMemAlloc array of *plNumFiles BSTR paths (each freed with SysFreeString) and one item.
    virtual HRESULT STDMETHODCALLTYPE GetImageDlg(LONG lFlags, BSTR bstrDeviceID, HWND hwndParent, BSTR bstrFolderName,
                                                  BSTR bstrFilename, LONG* plNumFiles, BSTR** ppbstrFilePaths,
                                                  IWiaItem2** ppItem) = 0;                                   // 10
};
WIA_DECLARE_IID(IWiaDevMgr2, 0x79c07cf1, 0xcbdd, 0x41ee, 0x8e, 0xc3, 0xf0, 0x00, 0x80, 0xca, 0xda, 0x7a)

// May be implemented beside IWiaTransferCallback by the object passed to Download/Upload.
MIDL_INTERFACE("6C16186C-D0A6-400C-80F4-D26986A0E734")
IWiaAppErrorHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE ReportStatus(LONG lFlags, IWiaItem2* pWiaItem2, HRESULT hrStatus,
                                                   LONG lPercentComplete) = 0; // 4
};
WIA_DECLARE_IID(IWiaAppErrorHandler, 0x6c16186c, 0xd0a6, 0x400c, 0x80, 0xf4, 0xd2, 0x69, 0x86, 0xa0, 0xe7, 0x34)

// ---------------------------------------------------------------------------------------------------------------
// WIA video object (in-process server)

MIDL_INTERFACE("D52920AA-DB88-41F0-946C-E00DC0A19CFA")
IWiaVideo : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_PreviewVisible(BOOL* pbPreviewVisible) = 0;          // 3
    virtual HRESULT STDMETHODCALLTYPE put_PreviewVisible(BOOL bPreviewVisible) = 0;            // 4
    virtual HRESULT STDMETHODCALLTYPE get_ImagesDirectory(BSTR* pbstrImageDirectory) = 0;      // 5
    virtual HRESULT STDMETHODCALLTYPE put_ImagesDirectory(BSTR bstrImageDirectory) = 0;        // 6
    virtual HRESULT STDMETHODCALLTYPE CreateVideoByWiaDevID(BSTR bstrWiaDeviceID, HWND hwndParent,
                                                            BOOL bStretchToFitParent, BOOL bAutoBeginPlayback) = 0; // 7
    virtual HRESULT STDMETHODCALLTYPE CreateVideoByDevNum(UINT uiDeviceNumber, HWND hwndParent,
                                                          BOOL bStretchToFitParent, BOOL bAutoBeginPlayback) = 0;   // 8
    virtual HRESULT STDMETHODCALLTYPE CreateVideoByName(BSTR bstrFriendlyName, HWND hwndParent,
                                                        BOOL bStretchToFitParent, BOOL bAutoBeginPlayback) = 0;     // 9
    virtual HRESULT STDMETHODCALLTYPE DestroyVideo() = 0;                                      // 10
    virtual HRESULT STDMETHODCALLTYPE Play() = 0;                                              // 11
    virtual HRESULT STDMETHODCALLTYPE Pause() = 0;                                             // 12
    virtual HRESULT STDMETHODCALLTYPE TakePicture(BSTR* pbstrNewImageFilename) = 0;            // 13
    virtual HRESULT STDMETHODCALLTYPE ResizeVideo(BOOL bStretchToFitParent) = 0;               // 14
    virtual HRESULT STDMETHODCALLTYPE GetCurrentState(WIAVIDEO_STATE* pState) = 0;             // 15
};
WIA_DECLARE_IID(IWiaVideo, 0xd52920aa, 0xdb88, 0x41f0, 0x94, 0x6c, 0xe0, 0x0d, 0xc0, 0xa1, 0x9c, 0xfa)

// ---------------------------------------------------------------------------------------------------------------
// Class ids

inline constexpr CLSID kCLSID_WiaDevMgr = {0xa1f4e726, 0x8cf1, 0x11d1, {0xbf, 0x92, 0x00, 0x60, 0x08, 0x1e, 0xd8, 0x11}};
inline constexpr CLSID kCLSID_WiaDevMgr2 = {0xb6c292bc, 0x7c88, 0x41ee, {0x8b, 0x54, 0x8e, 0xc9, 0x26, 0x17, 0xe5, 0x99}};
inline constexpr CLSID kCLSID_WiaVideo = {0x3908c3cd, 0x4478, 0x4536, {0xaf, 0x2f, 0x10, 0xc2, 0x5d, 0x4e, 0xf8, 0x9a}};

// ---------------------------------------------------------------------------------------------------------------
// Layout self-check: these records cross the process boundary by value.

static_assert(sizeof(WIA_FORMAT_INFO) == 20, "WIA_FORMAT_INFO is a GUID and a LONG, 4-byte aligned");
static_assert(sizeof(WIA_DATA_TRANSFER_INFO) == 28, "WIA_DATA_TRANSFER_INFO layout");
static_assert(sizeof(WIA_EXTENDED_TRANSFER_INFO) == 20, "WIA_EXTENDED_TRANSFER_INFO layout");
static_assert(sizeof(WIA_DATA_CALLBACK_HEADER) == 28, "WIA_DATA_CALLBACK_HEADER layout");
static_assert(offsetof(WiaTransferParams, ulTransferredBytes) == 8 && sizeof(WiaTransferParams) == 24,
              "WiaTransferParams layout");
static_assert(sizeof(WIAVIDEO_STATE) == sizeof(LONG), "WIAVIDEO_STATE is written as a 32-bit value");
#ifdef _WIN64
static_assert(offsetof(WIA_DEV_CAP, bstrName) == 24 && sizeof(WIA_DEV_CAP) == 56, "WIA_DEV_CAP layout on x64");
#endif

#undef WIA_DECLARE_IID
#undef WIA_UUID_DECL_
// clang-format on
