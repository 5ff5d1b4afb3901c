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
constexpr GUID kFormatJpeg = {0xb96b3cae, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

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

LONG ReadLong(const ItemNode& node, PROPID id, LONG fallback) {
    auto value = node.props->values.find(id);
    return value == node.props->values.end() || value->second.vt() != VT_I4 ? fallback : value->second.get().lVal;
}

void Append(std::vector<BYTE>& bytes, const void* data, size_t size) {
    const auto* begin = static_cast<const BYTE*>(data);
    bytes.insert(bytes.end(), begin, begin + size);
}

// One page as a prefix, rows of pattern bytes (padded to the stride) and a suffix, produced piece by piece so that
// the device holds no more than its buffers.
class Page {
public:
    Page(const Device& device, const ItemNode& node, int page, bool file) : page_(page) {
        const LONG width = std::max<LONG>(1, ReadLong(node, WIA_IPA_PIXELS_PER_LINE, 1));
        const LONG height = std::max<LONG>(1, ReadLong(node, WIA_IPA_NUMBER_OF_LINES, 1));
        if (device.stiType == 2) {
            static const BYTE kJfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',
                                         0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
            Append(prefix_, kJfif, sizeof kJfif);
            rowBytes_ = stride_ = static_cast<size_t>(width);
            rows_ = static_cast<size_t>(std::max<LONG>(1, height / 8));
            suffix_ = {0xFF, 0xD9};
            avoidMarker_ = true;
            return;
        }
        rowBytes_ = static_cast<size_t>(width) * 3;
        stride_ = (rowBytes_ + 3) & ~size_t{3};
        rows_ = static_cast<size_t>(height);
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        info.biSizeImage = static_cast<DWORD>(stride_ * rows_);
        info.biXPelsPerMeter = info.biYPelsPerMeter = 11811;  // 300 dpi
        if (file) {
            BITMAPFILEHEADER header{};
            header.bfType = 0x4D42;
            header.bfOffBits = sizeof header + sizeof info;
            header.bfSize = static_cast<DWORD>(header.bfOffBits + stride_ * rows_);
            Append(prefix_, &header, sizeof header);
        }
        Append(prefix_, &info, sizeof info);
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
HRESULT PagesFor(const Device& device, const ItemNode& node, bool banded, int* pages) {
    if ((node.type & WiaItemTypeTransfer) == 0 || Page(device, node, 0, true).Size() > kMaxPageBytes) return E_INVALIDARG;
    if (node.feederSheets < 0) {
        *pages = 1;
        return S_OK;
    }
    if (node.feederSheets == 0) return WIA_ERROR_PAPER_EMPTY;
    *pages = banded ? node.feederSheets : 1;
    return S_OK;
}

GUID FormatOf(const Device& device) {
    return device.stiType == 2 ? kFormatJpeg : kSimFormatBmp;
}

std::wstring NewFileName(const Device& device) {
    static unsigned sequence = 0;
    wchar_t folder[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder, length) + L"zvk-sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++sequence) + (device.stiType == 2 ? L".jpg" : L".bmp");
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

HRESULT DataTransferGetData(const Interface* self, Device& device, ItemNode& node, STGMEDIUM* medium, IUnknown* callback) {
    Transfers& state = State();
    state.last = TransferRecord{};
    HRESULT hr;
    if (Intercept(self, "idtGetData", &hr)) return hr;
    if (medium == nullptr || medium->tymed != TYMED_FILE) return E_INVALIDARG;
    int pages = 0;
    if (FAILED(hr = PagesFor(device, node, false, &pages))) return hr;
    Callback client(callback, MethodName(self, "idtGetData"));
    if (FAILED(client.status())) return client.status();
    const int pageIndex = node.NextPage();
    const std::wstring path = medium->lpszFileName != nullptr ? medium->lpszFileName : NewFileName(device);
    hr = WritePage(path, Page(device, node, pageIndex, true), client);
    if (hr != S_OK) return hr;
    if (!client.Send(IT_MSG_TERMINATION, 0, 100, 0, 0, nullptr, &hr)) {
        DeleteFileW(path.c_str());
        return hr;
    }
    if (node.feederSheets > 0) --node.feederSheets;
    if (medium->lpszFileName == nullptr) {
        const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
        medium->lpszFileName = HandOut(static_cast<LPOLESTR>(CoTaskMemAlloc(bytes)), MethodName(self, "idtGetData"));
        std::memcpy(medium->lpszFileName, path.c_str(), bytes);
    }
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT DataTransferGetBandedData(const Interface* self, Device& device, ItemNode& node, const void* info, IUnknown* callback) {
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
    if (FAILED(hr = PagesFor(device, node, true, &pages))) return hr;
    Callback client(callback, MethodName(self, "idtGetBandedData"));
    if (FAILED(client.status())) return client.status();

    const int firstPage = node.NextPage();
    const size_t pageSize = Page(device, node, firstPage, false).Size();
    const size_t bandSize = std::min<size_t>(request.bufferSize == 0 ? kDeviceBufferSize : request.bufferSize, pageSize);
    std::vector<BYTE> buffers[2];
    buffers[0].resize(bandSize);
    if (request.doubleBuffer) buffers[1].resize(bandSize);
    int next = 0;
    hr = S_OK;
    const CallbackHeader header{sizeof(CallbackHeader), FormatOf(device), static_cast<LONG>(pageSize), pages};
    if (!client.Send(IT_MSG_DATA_HEADER, IT_STATUS_TRANSFER_TO_CLIENT, 0, 0, sizeof header,
                     reinterpret_cast<const BYTE*>(&header), &hr))
        return hr;
    for (int p = 0; p < pages; ++p) {
        if (p > 0 && !client.Send(IT_MSG_NEW_PAGE, IT_STATUS_TRANSFER_TO_CLIENT, 0, 0, 0, nullptr, &hr)) return hr;
        const Page page(device, node, firstPage + p, false);
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
    for (const FormatInfo& offered : node.formats) {
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

bool ImageBytes(const Device& device, const ItemNode& node, int page, bool file, std::vector<BYTE>* out) {
    const Page content(device, node, page, file);
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

void SetImageSize(const wchar_t* fullItemName, LONG width, LONG height) {
    PROPVARIANT value{};
    value.vt = VT_I4;
    value.lVal = width;
    SetStoredValue(fullItemName, WIA_IPA_PIXELS_PER_LINE, value);
    value.lVal = height;
    SetStoredValue(fullItemName, WIA_IPA_NUMBER_OF_LINES, value);
}

namespace {

std::vector<BYTE> Bytes(const wchar_t* fullItemName, int page, bool file) {
    for (const DevicePtr& device : InstalledList()) {
        std::vector<ItemNode*> nodes{device->root.get()};
        while (!nodes.empty()) {
            ItemNode* node = nodes.back();
            nodes.pop_back();
            if (node->fullName == fullItemName) {
                std::vector<BYTE> bytes;
                ImageBytes(*device, *node, page, file, &bytes);
                return bytes;
            }
            for (const auto& child : node->children) nodes.push_back(child.get());
        }
    }
    return {};
}

}  // namespace

std::vector<BYTE> PageData(const wchar_t* fullItemName, int page) {
    return Bytes(fullItemName, page, false);
}

std::vector<BYTE> FileData(const wchar_t* fullItemName, int page) {
    return Bytes(fullItemName, page, true);
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
