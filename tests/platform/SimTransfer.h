// SimTransfer.h - the WIA 1.0 transfers of the simulated devices (IWiaDataTransfer on the flatbed, the feeder and the
// camera pictures), and what tests read back about them.
//
// Content. Every page is deterministic and follows the item's properties as a driver's does: in the format of
// WIA_IPA_FORMAT, a BMP (BITMAPFILEHEADER, then the DIB) or a memory BMP (the bare DIB: BITMAPINFOHEADER, a gray
// palette for 1 and 8 bits, rows padded to 4 bytes, bottom-up) of WIA_IPA_PIXELS_PER_LINE x WIA_IPA_NUMBER_OF_LINES
// pixels (a scanner's follow its extents) at WIA_IPA_DEPTH bits (its data type's) and the resolution of
// WIA_IPS_XRES / WIA_IPS_YRES, whose byte x of row y on page p is (7x + 13y + 101p) mod 256; or a camera's own JPEG-like
// byte string (SOI and JFIF header, pattern bytes, EOI).
//
// idtGetData: the medium's tymed must be TYMED_FILE, or TYMED_NULL with the item's WIA_IPA_TYMED TYMED_FILE, and the
// item's format one it offers for files (E_INVALIDARG otherwise). Without a file name the device makes one with
// CoTaskMemAlloc in the temp folder (".bmp", or ".jpg" for a JPEG) and hands it over without a release object, so
// ReleaseStgMedium deletes the file and frees the name ("ReleaseStgMedium function"). The callback, optional here, gets a status
// message before each written chunk and a termination message at the end.
//
// idtGetBandedData: needs the transfer record, a callback and an item format offered for callbacks (E_INVALIDARG
// otherwise: a camera's pictures come as files only); a buffer size below
// kMinBufferSize (0 excepted) is E_INVALIDARG. The callback gets a data header (WIA_DATA_CALLBACK_HEADER), then per
// page a status message (IT_STATUS_TRANSFER_FROM_DEVICE) before each data band (IT_STATUS_TRANSFER_TO_CLIENT) of at
// most the buffer size asked for (kDeviceBufferSize for 0), offsets counted from the page's start, percentages of the
// page; a new-page message between pages; a termination message at the end. With bDoubleBuffer the bands alternate
// between two buffers. The feeder holds kFeederSheets sheets (refilled by ResetAll): a banded transfer scans every
// sheet left and answers WIA_STATUS_END_OF_MEDIA, a file transfer scans one; an empty feeder answers
// WIA_ERROR_PAPER_EMPTY. Flatbed and pictures give one page per transfer and S_OK. The data header names the format.
//
// WIA 2.0 (IWiaTransfer). Download needs a callback (E_INVALIDARG otherwise) and takes its own reference to it
// (QueryInterface for IWiaTransferCallback). The flatbed and each picture give one image, the feeder one per sheet
// left, or two with DUPLEX in its WIA_IPS_DOCUMENT_HANDLING_SELECT (front, then back), at most WIA_IPS_PAGES images
// unless that is ALL_PAGES (none left: WIA_ERROR_PAPER_EMPTY), the camera root one per picture below it; other items
// are E_INVALIDARG.
// Images are FileData() of their item. For each image the device asks GetNextStream with the image item's name and
// full name, then writes the image into the stream in chunks of kStreamChunk, each after a WIA_TRANSFER_MSG_STATUS
// message (percent of the image, bytes of the image so far plus the reported-bytes base, S_OK), with a
// WIA_TRANSFER_MSG_DEVICE_STATUS message (WIA_ERROR_WARMING_UP) after every second chunk; after each image
// WIA_TRANSFER_MSG_END_OF_STREAM (100, the image's size) and the stream's release; WIA_TRANSFER_MSG_NEW_PAGE between
// feeder pages; WIA_TRANSFER_MSG_END_OF_TRANSFER at the end. An answer S_FALSE or a failure code from either callback
// method, and "Cancel" called during a callback (S_FALSE), stop the download at once with that code; a success
// other than S_FALSE from GetNextStream without a stream is E_POINTER; a failed stream write returns its code
// (STG_E_MEDIUMFULL for a write that takes nothing). Upload needs a stream and a callback (E_INVALIDARG) and reads the
// stream from where it stands to its end in chunks of kStreamChunk, a status message after each, END_OF_TRANSFER at
// the end, and keeps the bytes. Cancel outside a transfer does nothing; all three answer the planned failure first.
//
// Both generations check the references of what a transfer receives (HeldCallback, Received in SimModel.h): the callback,
// Upload's stream and each stream GetNextStream answers end the transfer with the count they had when it began.
//
// WIA 1.0: both transfers take their own reference to the callback (QueryInterface for IWiaDataCallback) for the call and obey
// its answers: S_FALSE cancels and a failure code aborts, each returned at once (a half-written file is deleted and
// no name handed over); other success codes continue.
#pragma once

#include <windows.h>

#include <vector>

namespace simwia {

inline constexpr ULONG kDeviceBufferSize = 65536;  // the band size when the caller asks for none
inline constexpr ULONG kMinBufferSize = 256;
inline constexpr ULONG kMaxBufferSize = 0x80000000u;      // a larger request is E_INVALIDARG; bands never exceed a page
inline constexpr size_t kMaxPageBytes = size_t{1} << 30;  // a larger page (WIA_IPA_PIXELS_PER_LINE ...) is E_INVALIDARG
inline constexpr int kFeederSheets = 3;

// idtGetExtendedTransferInfo answers {20, kMinBufferSize, kDeviceBufferSize, kMaxBufferSize, 2}.
// idtQueryGetData answers S_OK for a format and tymed the item lists, S_FALSE otherwise (LastCall records the
// record's format in guid and its tymed in flags).

// Sets WIA_IPA_PIXELS_PER_LINE and WIA_IPA_NUMBER_OF_LINES of an item, the size of its next transfers (a scanning
// item's extents too, on a bed large enough for them at every resolution). The flatbed starts at 100 x 30 pixels
// (9054-byte BMP files), the feeder at 50 x 20, the pictures at 640 x 480.
void SetImageSize(const wchar_t* fullItemName, LONG width, LONG height);
// What a banded transfer delivers for page `page` (0 first) of the item, and what a file transfer writes; empty for an
// unknown item or a page beyond kMaxPageBytes.
std::vector<BYTE> PageData(const wchar_t* fullItemName, int page);
std::vector<BYTE> FileData(const wchar_t* fullItemName, int page);

// One callback the device made.
struct Band {
    LONG message;
    LONG status;
    LONG percent;
    LONG offset;
    LONG length;
    const BYTE* buffer;
};

// WIA_DATA_TRANSFER_INFO as received.
struct TransferInfo {
    ULONG size;
    ULONG section;
    ULONG bufferSize;
    BOOL doubleBuffer;
    ULONG reserved[3];
};

// The last idtGetData or idtGetBandedData, recorded before any planned failure.
struct TransferRecord {
    TransferInfo info{};      // idtGetBandedData
    std::vector<Band> bands;  // every callback, in order
};
TransferRecord LastTransfer();

// Test switch: later transfers keep one more reference to their callback after they return (the last one kept
// wins; one kept before is released). CallKeptCallback sends it a status message and returns its answer
// (E_UNEXPECTED when none is kept); ReleaseKeptCallback gives the reference back. ResetAll forgets a kept callback
// without releasing it (its code may be gone), so a test releases what it kept.
void KeepCallbackAfterTransfer(bool keep);
HRESULT CallKeptCallback();
void ReleaseKeptCallback();

// --- WIA 2.0 -------------------------------------------------------------------------------------------------------

inline constexpr ULONG kStreamChunk = 4096;

// One TransferCallback call the device made (the record's fields).
struct Progress {
    LONG message;
    LONG percent;
    ULONG64 bytes;
    HRESULT status;
};
// One GetNextStream call: whether a stream came with it.
struct StreamRequest {
    bool stream;
};
// The last Download or Upload, recorded before any planned failure.
struct Transfer2Record {
    std::vector<Progress> progress;
    std::vector<StreamRequest> requests;
    std::vector<BYTE> uploaded;  // Upload: what the device read
};
Transfer2Record LastTransfer2();

// Test switches, until ResetAll(): a count added to every reported byte count (to report more than 2^32 bytes without
// writing them), the sheets loaded into the feeder (pages are then numbered from 0 again), and the size of the chunks
// a download writes and an upload reads (kStreamChunk until then).
void SetReportedBytesBase(ULONG64 base);
void SetFeederSheets(int sheets);
void SetStreamChunk(ULONG bytes);

// As for WIA 1.0: later WIA 2.0 transfers keep one more reference to their callback; CallKeptTransferCallback sends it
// a status message (or, with askForStream, asks it for a stream, releasing one it gets) and returns its answer
// (E_UNEXPECTED when none is kept); ReleaseKeptTransferCallback gives the reference back and tells how many the
// callback object has left (0: it is gone).
void KeepTransferCallback(bool keep);
HRESULT CallKeptTransferCallback(bool askForStream);
ULONG ReleaseKeptTransferCallback();

}  // namespace simwia
