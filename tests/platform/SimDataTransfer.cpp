// SimDataTransfer.cpp - IWiaDataTransfer of the simulated WIA 1.0 items: file and banded transfers with deterministic
// pages, the callback protocol of the platform, the extended transfer info and the format query (SimTransfer.h).
#include "tests/platform/SimModel.h"
#include "tests/platform/SimTransfer.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace simwia {
namespace {

constexpr IID kSimIID_IWiaDataCallback = {0xa558a866, 0xa5b0, 0x11d2, {0xa0, 0x8f, 0x00, 0xc0, 0x4f, 0x72, 0xdc, 0x3c}};

// WIA_DATA_CALLBACK_HEADER, the buffer of the data-header message.
struct CallbackHeader {
    LONG lSize;
    GUID guidFormatID;
    LONG lBufferSize;
    LONG lPageCount;
};

struct Transfers {
    TransferRecord last;
    bool keep = false;
    IUnknown* kept = nullptr;
};

Transfers& State() {
    static Transfers* state = new Transfers;  // never destroyed, like the model
    return *state;
}

void Append(std::vector<BYTE>& bytes, const void* data, size_t size) {
    const auto* begin = static_cast<const BYTE*>(data);
    bytes.insert(bytes.end(), begin, begin + size);
}

// One page as a prefix, rows of pattern bytes (padded to the stride) and a suffix, produced piece by piece so that
// the device holds no more than its buffers. The item's properties decide it: a JPEG format gives the camera's own
// JPEG-like bytes; otherwise a DIB of WIA_IPA_PIXELS_PER_LINE x WIA_IPA_NUMBER_OF_LINES pixels at WIA_IPA_DEPTH bits
// (1 and 8 with a gray palette) and the resolution of WIA_IPS_XRES / WIA_IPS_YRES, behind a BITMAPFILEHEADER for
// WiaImgFmt_BMP and bare for WiaImgFmt_MEMORYBMP ("WIA Image Formats": a memory BMP is a DIB without file header).
class Page {
public:
    Page(const ItemNode& node, int page) : page_(page) {
        const PropertyTable& t = *node.props;
        const LONG width = std::max<LONG>(1, t.Long(WIA_IPA_PIXELS_PER_LINE, 1));
        const LONG height = std::max<LONG>(1, t.Long(WIA_IPA_NUMBER_OF_LINES, 1));
        const GUID format = t.Guid(WIA_IPA_FORMAT);
        if (IsEqualGUID(format, kSimFormatJpeg)) {
            static const BYTE kJfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',
                                         0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
            Append(prefix_, kJfif, sizeof kJfif);
            rowBytes_ = stride_ = static_cast<size_t>(width);
            rows_ = static_cast<size_t>(std::max<LONG>(1, height / 8));
            suffix_ = {0xFF, 0xD9};
            avoidMarker_ = true;
            return;
        }
        const LONG depth = t.Long(WIA_IPA_DEPTH, 24);
        rowBytes_ = (static_cast<size_t>(width) * static_cast<size_t>(depth) + 7) / 8;
        stride_ = (rowBytes_ + 3) & ~size_t{3};
        rows_ = static_cast<size_t>(height);
        const DWORD colors = depth <= 8 ? DWORD{1} << depth : 0;
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height;
        info.biPlanes = 1;
        info.biBitCount = static_cast<WORD>(depth);
        info.biCompression = BI_RGB;
        info.biSizeImage = static_cast<DWORD>(stride_ * rows_);
        info.biXPelsPerMeter = static_cast<LONG>(t.Long(WIA_IPS_XRES, 300) * 10000LL / 254);
        info.biYPelsPerMeter = static_cast<LONG>(t.Long(WIA_IPS_YRES, 300) * 10000LL / 254);
        info.biClrUsed = colors;
        if (IsEqualGUID(format, kSimFormatBmp)) {
            BITMAPFILEHEADER header{};
            header.bfType = 0x4D42;
            header.bfOffBits = static_cast<DWORD>(sizeof header + sizeof info + colors * sizeof(RGBQUAD));
            header.bfSize = static_cast<DWORD>(header.bfOffBits + stride_ * rows_);
            Append(prefix_, &header, sizeof header);
        }
        Append(prefix_, &info, sizeof info);
        for (DWORD i = 0; i < colors; ++i) {
            const BYTE gray = static_cast<BYTE>(i * 255 / (colors - 1));
            const RGBQUAD entry{gray, gray, gray, 0};
            Append(prefix_, &entry, sizeof entry);
        }
    }

    size_t Size() const { return prefix_.size() + stride_ * rows_ + suffix_.size(); }

    void Fill(BYTE* out, size_t offset, size_t count) const {
        const size_t body = stride_ * rows_;
        for (size_t end = offset + count; offset < end;) {
            if (offset < prefix_.size()) {
                const size_t n = std::min(end, prefix_.size()) - offset;
                std::memcpy(out, prefix_.data() + offset, n);
                out += n;
                offset += n;
            } else if (offset < prefix_.size() + body) {
                const size_t relative = offset - prefix_.size();
                const size_t y = relative / stride_;
                const size_t x0 = relative % stride_;
                const size_t n = std::min(stride_ - x0, end - offset);
                for (size_t x = x0; x < x0 + n; ++x) {
                    BYTE value = x < rowBytes_ ? static_cast<BYTE>(x * 7 + y * 13 + page_ * 101) : 0;
                    *out++ = avoidMarker_ && value == 0xFF ? 0xFE : value;
                }
                offset += n;
            } else {
                const size_t n = end - offset;
                std::memcpy(out, suffix_.data() + (offset - prefix_.size() - body), n);
                out += n;
                offset += n;
            }
        }
    }

private:
    int page_;
    std::vector<BYTE> prefix_;
    std::vector<BYTE> suffix_;
    size_t rowBytes_ = 0;
    size_t stride_ = 0;
    size_t rows_ = 0;
    bool avoidMarker_ = false;
};

// The callback of one transfer, every call recorded with its answer.
class Callback : public HeldCallback {
public:
    Callback(IUnknown* callback, std::string call)
        : HeldCallback(callback, kSimIID_IWiaDataCallback, State().keep, &State().kept, std::move(call)) {}

    // The callback's answer; true when the transfer goes on.
    bool Send(LONG message, LONG status, LONG percent, LONG offset, LONG length, const BYTE* buffer, HRESULT* result) {
        if (callback_ == nullptr) return true;
        HRESULT answer = Invoke(callback_, message, status, percent, offset, length, buffer);
        State().last.bands.push_back({message, status, percent, offset, length, buffer});
        return GoesOn(answer, result);
    }

    static HRESULT Invoke(IUnknown* callback, LONG message, LONG status, LONG percent, LONG offset, LONG length,
                          const BYTE* buffer) {
        using Banded = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, LONG, LONG, LONG, LONG, LONG, LONG, LONG, BYTE*);
        auto slot = reinterpret_cast<Banded>((*reinterpret_cast<void***>(callback))[3]);
        return slot(callback, message, status, percent, offset, length, 0, 0, const_cast<BYTE*>(buffer));
    }
};

// Pages this transfer can take: every sheet left in a feeder for a banded transfer, one otherwise. Items that do not
// transfer, and pages beyond kMaxPageBytes (a script may write any size), are E_INVALIDARG.
HRESULT PagesFor(const ItemNode& node, bool banded, int* pages) {
    if ((node.type & WiaItemTypeTransfer) == 0 || Page(node, 0).Size() > kMaxPageBytes) return E_INVALIDARG;
    if (node.feederSheets < 0) {
        *pages = 1;
        return S_OK;
    }
    if (node.feederSheets == 0) return WIA_ERROR_PAPER_EMPTY;
    *pages = banded ? node.feederSheets : 1;
    return S_OK;
}

// "IWiaDataTransfer::idtGetData", "IWiaDataTransfer::idtGetBandedData": the item's WIA_IPA_FORMAT must be one it
// offers for the medium; E_INVALIDARG otherwise.
bool Offers(const ItemNode& node, LONG tymed) {
    const GUID format = node.props->Guid(WIA_IPA_FORMAT);
    for (const FormatInfo& offered : node.props->formats)
        if (offered.tymed == tymed && IsEqualGUID(offered.format, format)) return true;
    return false;
}

std::wstring NewFileName(const ItemNode& node) {
    static unsigned sequence = 0;
    wchar_t folder[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder, length) + L"zvk-sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++sequence) + (IsEqualGUID(node.props->Guid(WIA_IPA_FORMAT), kSimFormatJpeg) ? L".jpg" : L".bmp");
}

// Writes the page in chunks of the device's buffer size, with a status message before each.
HRESULT WritePage(const std::wstring& path, const Page& page, Callback& callback) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
    std::vector<BYTE> buffer(kDeviceBufferSize);
    HRESULT hr = S_OK;
    const size_t size = page.Size();
    for (size_t offset = 0; offset < size && hr == S_OK;) {
        if (!callback.Send(IT_MSG_STATUS, IT_STATUS_TRANSFER_FROM_DEVICE | IT_STATUS_TRANSFER_TO_CLIENT, Percent(offset, size), 0,
                           0, nullptr, &hr))
            break;
        const size_t n = std::min<size_t>(buffer.size(), size - offset);
        page.Fill(buffer.data(), offset, n);
        DWORD written = 0;
        if (!::WriteFile(file, buffer.data(), static_cast<DWORD>(n), &written, nullptr) || written != n)
            hr = HRESULT_FROM_WIN32(GetLastError());
        offset += n;
    }
    CloseHandle(file);
    if (hr != S_OK) DeleteFileW(path.c_str());
    return hr;
}

}  // namespace

HRESULT DataTransferGetData(const Interface* self, ItemNode& node, STGMEDIUM* medium, IUnknown* callback) {
    Transfers& state = State();
    state.last = TransferRecord{};
    HRESULT hr;
    if (Intercept(self, "idtGetData", &hr)) return hr;
    if (medium == nullptr) return E_INVALIDARG;
    // "STGMEDIUM": a medium whose tymed is TYMED_NULL takes the item's WIA_IPA_TYMED; a file transfer needs TYMED_FILE.
    const LONG tymed = medium->tymed == TYMED_NULL ? node.props->Long(WIA_IPA_TYMED, TYMED_NULL) : medium->tymed;
    if (tymed != TYMED_FILE || !Offers(node, TYMED_FILE)) return E_INVALIDARG;
    int pages = 0;
    if (FAILED(hr = PagesFor(node, false, &pages))) return hr;
    Callback client(callback, MethodName(self, "idtGetData"));
    if (FAILED(client.status())) return client.status();
    const int pageIndex = node.NextPage();
    const bool named = medium->lpszFileName == nullptr;  // the device names the file, and hands the name over at the end
    const std::wstring path = named ? NewFileName(node) : std::wstring(medium->lpszFileName);
    hr = WritePage(path, Page(node, pageIndex), client);
    if (hr != S_OK) return hr;
    if (!client.Send(IT_MSG_TERMINATION, 0, 100, 0, 0, nullptr, &hr)) {
        DeleteFileW(path.c_str());
        return hr;
    }
    if (node.feederSheets > 0) --node.feederSheets;
    if (named) {
        const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
        medium->lpszFileName = HandOut(static_cast<LPOLESTR>(CoTaskMemAlloc(bytes)), MethodName(self, "idtGetData"));
        std::memcpy(medium->lpszFileName, path.c_str(), bytes);
    }
    medium->tymed = TYMED_FILE;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT DataTransferGetBandedData(const Interface* self, ItemNode& node, const void* info, IUnknown* callback) {
    Transfers& state = State();
    state.last = TransferRecord{};
    if (info != nullptr) std::memcpy(&state.last.info, info, sizeof state.last.info);
    HRESULT hr;
    if (Intercept(self, "idtGetBandedData", &hr)) return hr;
    if (info == nullptr || callback == nullptr) return E_INVALIDARG;
    const TransferInfo request = state.last.info;
    if ((request.bufferSize != 0 && request.bufferSize < kMinBufferSize) || request.bufferSize > kMaxBufferSize)
        return E_INVALIDARG;
    int pages = 0;
    if (!Offers(node, TYMED_CALLBACK)) return E_INVALIDARG;
    if (FAILED(hr = PagesFor(node, true, &pages))) return hr;
    Callback client(callback, MethodName(self, "idtGetBandedData"));
    if (FAILED(client.status())) return client.status();

    const int firstPage = node.NextPage();
    const size_t pageSize = Page(node, firstPage).Size();
    const size_t bandSize = std::min<size_t>(request.bufferSize == 0 ? kDeviceBufferSize : request.bufferSize, pageSize);
    std::vector<BYTE> buffers[2];
    buffers[0].resize(bandSize);
    if (request.doubleBuffer) buffers[1].resize(bandSize);
    int next = 0;
    hr = S_OK;
    const CallbackHeader header{sizeof(CallbackHeader), node.props->Guid(WIA_IPA_FORMAT), static_cast<LONG>(pageSize), pages};
    if (!client.Send(IT_MSG_DATA_HEADER, IT_STATUS_TRANSFER_TO_CLIENT, 0, 0, sizeof header,
                     reinterpret_cast<const BYTE*>(&header), &hr))
        return hr;
    for (int p = 0; p < pages; ++p) {
        if (p > 0 && !client.Send(IT_MSG_NEW_PAGE, IT_STATUS_TRANSFER_TO_CLIENT, 0, 0, 0, nullptr, &hr)) return hr;
        const Page page(node, firstPage + p);
        const size_t size = page.Size();
        for (size_t offset = 0; offset < size;) {
            const size_t n = std::min(bandSize, size - offset);
            if (!client.Send(IT_MSG_STATUS, IT_STATUS_TRANSFER_FROM_DEVICE, Percent(offset, size), 0, 0, nullptr, &hr)) return hr;
            BYTE* band = buffers[next].data();
            if (request.doubleBuffer) next = 1 - next;
            page.Fill(band, offset, n);
            if (!client.Send(IT_MSG_DATA, IT_STATUS_TRANSFER_TO_CLIENT, Percent(offset + n, size), static_cast<LONG>(offset),
                             static_cast<LONG>(n), band, &hr))
                return hr;
            offset += n;
        }
        if (node.feederSheets > 0) --node.feederSheets;
    }
    if (!client.Send(IT_MSG_TERMINATION, 0, 100, 0, 0, nullptr, &hr)) return hr;
    return node.feederSheets == 0 ? WIA_STATUS_END_OF_MEDIA : S_OK;
}

HRESULT DataTransferQueryGetData(const Interface* self, ItemNode& node, FormatInfo* format) {
    Call& call = Record(self, "idtQueryGetData");
    if (format != nullptr) {
        call.guid = format->format;
        call.flags = format->tymed;
    }
    HRESULT hr;
    if (Intercept(self, "idtQueryGetData", &hr)) return hr;
    if (format == nullptr) return E_INVALIDARG;
    for (const FormatInfo& offered : node.props->formats) {
        if (IsEqualGUID(offered.format, format->format) && offered.tymed == format->tymed) return S_OK;
    }
    return S_FALSE;
}

HRESULT DataTransferGetExtendedTransferInfo(const Interface* self, void* info) {
    HRESULT hr;
    if (Intercept(self, "idtGetExtendedTransferInfo", &hr)) return hr;
    if (info == nullptr) return E_INVALIDARG;
    const ULONG values[5] = {sizeof values, kMinBufferSize, kDeviceBufferSize, kMaxBufferSize, 2};
    std::memcpy(info, values, sizeof values);
    return S_OK;
}

bool ImageBytes(const ItemNode& node, int page, std::vector<BYTE>* out) {
    const Page content(node, page);
    if (content.Size() > kMaxPageBytes) return false;
    out->resize(content.Size());
    content.Fill(out->data(), 0, out->size());
    return true;
}

void ResetTransfers() {
    State().last = TransferRecord{};
    State().keep = false;
    State().kept = nullptr;
}

// --- SimTransfer.h ------------------------------------------------------------------------------------------------

namespace {

std::vector<BYTE> Bytes(const wchar_t* fullItemName, int page) {
    for (const DevicePtr& device : InstalledList()) {
        std::vector<ItemNode*> nodes{device->root.get()};
        while (!nodes.empty()) {
            ItemNode* node = nodes.back();
            nodes.pop_back();
            if (node->fullName == fullItemName) {
                std::vector<BYTE> bytes;
                ImageBytes(*node, page, &bytes);
                return bytes;
            }
            for (const auto& child : node->children) nodes.push_back(child.get());
        }
    }
    return {};
}

}  // namespace

std::vector<BYTE> PageData(const wchar_t* fullItemName, int page) {
    return Bytes(fullItemName, page);
}

std::vector<BYTE> FileData(const wchar_t* fullItemName, int page) {
    return Bytes(fullItemName, page);
}

TransferRecord LastTransfer() {
    return State().last;
}

void KeepCallbackAfterTransfer(bool keep) {
    State().keep = keep;
}

HRESULT CallKeptCallback() {
    IUnknown* kept = State().kept;
    return kept == nullptr ? E_UNEXPECTED
                           : Callback::Invoke(kept, IT_MSG_STATUS, IT_STATUS_TRANSFER_FROM_DEVICE, 100, 0, 0, nullptr);
}

void ReleaseKeptCallback() {
    ReleaseKept(&State().kept);
}

}  // namespace simwia
