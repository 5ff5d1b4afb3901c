// SimTransfer2.cpp - IWiaTransfer of the simulated WIA 2.0 items: downloads into the caller's streams with the
// platform's progress protocol, uploads from a stream, cancellation from inside a callback (SimTransfer.h).
#include "tests/platform/SimModel.h"
#include "tests/platform/SimTransfer.h"

#include <objidl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace simwia {
namespace {

constexpr IID kSimIID_IWiaTransferCallback = {0x27d4eaaf, 0x28a6, 0x4ca5, {0x9a, 0xab, 0xe6, 0x78, 0x16, 0x8b, 0x95, 0x27}};
constexpr LONG kStatus = 1, kEndOfStream = 2, kEndOfTransfer = 3, kDeviceStatus = 5, kNewPage = 6;

// WiaTransferParams as documented: 24 bytes on x64.
struct Params {
    LONG lMessage;
    LONG lPercentComplete;
    ULONG64 ulTransferredBytes;
    HRESULT hrErrorStatus;
};

struct State2 {
    Transfer2Record last;
    ULONG64 base = 0;
    ULONG chunk = kStreamChunk;
    bool running = false;
    bool cancelled = false;
    bool keep = false;
    IUnknown* kept = nullptr;
};

State2& State() {
    static State2* state = new State2;  // never destroyed, like the model
    return *state;
}

using ProgressSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, LONG, Params*);
using StreamSlot = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, LONG, BSTR, BSTR, IUnknown**);

template <typename Slot>
Slot SlotOf(IUnknown* object, int slot) {
    return reinterpret_cast<Slot>((*reinterpret_cast<void***>(object))[slot]);
}

// The callback of one transfer, every call recorded. A call answers false when the transfer must stop, with the code
// in *result.
class Client : public HeldCallback {
public:
    Client(IUnknown* callback, std::string call)
        : HeldCallback(callback, kSimIID_IWiaTransferCallback, State().keep, &State().kept, std::move(call)) {
        State().cancelled = false;
        State().running = true;
    }
    ~Client() { State().running = false; }

    bool Send(LONG message, LONG percent, ULONG64 bytes, HRESULT status, HRESULT* result) {
        Params params{message, percent, bytes + State().base, status};
        HRESULT answer = SlotOf<ProgressSlot>(callback_, 3)(callback_, 0, &params);
        State().last.progress.push_back({message, percent, params.ulTransferredBytes, status});
        return Go(answer, result);
    }

    // The stream answered is added to `received`: the device releases it when it is written.
    bool NextStream(const ItemNode& node, Received& received, IStream** stream, HRESULT* result) {
        BSTR name = SysAllocString(node.name.c_str());
        BSTR fullName = SysAllocString(node.fullName.c_str());
        IUnknown* out = nullptr;
        HRESULT answer = SlotOf<StreamSlot>(callback_, 4)(callback_, 0, name, fullName, &out);
        received.Add(out, "the stream GetNextStream answered");
        SysFreeString(name);
        SysFreeString(fullName);
        State().last.requests.push_back({out != nullptr});
        *stream = reinterpret_cast<IStream*>(out);
        if (SUCCEEDED(answer) && answer != S_FALSE && out == nullptr) answer = E_POINTER;
        return Go(answer, result);
    }

private:
    static bool Go(HRESULT answer, HRESULT* result) { return GoesOn(State().cancelled ? S_FALSE : answer, result); }
};

// Writes one image into the stream, with its messages.
HRESULT WriteImage(Client& client, IStream* stream, const std::vector<BYTE>& image) {
    HRESULT hr = S_OK;
    int chunk = 0;
    for (size_t offset = 0; offset < image.size(); ++chunk) {
        if (!client.Send(kStatus, Percent(offset, image.size()), offset, S_OK, &hr)) return hr;
        const ULONG n = static_cast<ULONG>(std::min<size_t>(State().chunk, image.size() - offset));
        ULONG written = 0;
        if (FAILED(hr = stream->Write(image.data() + offset, n, &written))) return hr;
        if (written == 0) return STG_E_MEDIUMFULL;  // a stream that takes nothing would never be filled
        offset += written;
        if (chunk % 2 == 1 && !client.Send(kDeviceStatus, Percent(offset, image.size()), offset, WIA_ERROR_WARMING_UP, &hr))
            return hr;
    }
    client.Send(kEndOfStream, 100, image.size(), S_OK, &hr);
    return hr;
}

}  // namespace

HRESULT TransferDownload(const Interface* self, const DevicePtr& device, ItemNode& node, IUnknown* callback) {
    State2& state = State();
    state.last = Transfer2Record{};
    HRESULT hr;
    if (Intercept(self, "Download", &hr)) return hr;
    if (callback == nullptr) return E_INVALIDARG;
    std::vector<std::pair<ItemNode*, int>> images;
    int sides = 0;  // images per feeder sheet; 0 for other items
    if ((node.type & WiaItemTypeTransfer) != 0 && node.feederSheets < 0) {
        images.push_back({&node, 0});
    } else if (node.feederSheets == 0) {
        return WIA_ERROR_PAPER_EMPTY;
    } else if (node.feederSheets > 0) {
        // "WIA_IPS_DOCUMENT_HANDLING_SELECT", "WIA_IPS_PAGES": DUPLEX gives each sheet's front, then its back; Pages
        // counts images (ALL_PAGES: every sheet in the tray). Images are numbered from the tray's loading on.
        sides = (node.props->Long(WIA_DPS_DOCUMENT_HANDLING_SELECT, FRONT_ONLY) & DUPLEX) != 0 ? 2 : 1;
        const LONG wanted = node.props->Long(WIA_DPS_PAGES, ALL_PAGES);
        const int first = node.NextPage() * sides;
        const int count = wanted == ALL_PAGES ? node.feederSheets * sides : std::min<int>(wanted, node.feederSheets * sides);
        for (int image = 0; image < count; ++image) images.push_back({&node, first + image});
    } else if (device->stiType == 2 && node.parent == nullptr) {
        for (const auto& child : node.children)
            if ((child->type & WiaItemTypeTransfer) != 0) images.push_back({child.get(), 0});
    }
    if (images.empty()) return E_INVALIDARG;
    Received received(MethodName(self, "Download"));
    Client client(callback, MethodName(self, "Download"));
    if (FAILED(client.status())) return client.status();
    hr = S_OK;
    for (size_t i = 0; i < images.size(); ++i) {
        std::vector<BYTE> image;
        if (!ImageBytes(*images[i].first, images[i].second, &image)) return E_INVALIDARG;
        if (i > 0 && !client.Send(kNewPage, 0, 0, S_OK, &hr)) return hr;
        IStream* stream = nullptr;
        if (!client.NextStream(*images[i].first, received, &stream, &hr)) {
            if (stream != nullptr) stream->Release();
            return hr;
        }
        hr = WriteImage(client, stream, image);
        stream->Release();
        if (hr != S_OK) return hr;
        const bool sheetDone = sides > 0 && ((i + 1) % sides == 0 || i + 1 == images.size());  // its last side
        if (sheetDone && node.feederSheets > 0) --node.feederSheets;
    }
    client.Send(kEndOfTransfer, 100, 0, S_OK, &hr);
    return hr;
}

HRESULT TransferUpload(const Interface* self, IUnknown* source, IUnknown* callback) {
    State2& state = State();
    state.last = Transfer2Record{};
    HRESULT hr;
    if (Intercept(self, "Upload", &hr)) return hr;
    if (source == nullptr || callback == nullptr) return E_INVALIDARG;
    Received received(MethodName(self, "Upload"));
    received.Add(source, "the stream argument");
    Client client(callback, MethodName(self, "Upload"));
    if (FAILED(client.status())) return client.status();
    auto* stream = reinterpret_cast<IStream*>(source);
    std::vector<BYTE> buffer(state.chunk);
    hr = S_OK;
    for (ULONG read = state.chunk; read == state.chunk;) {
        read = 0;
        if (FAILED(hr = stream->Read(buffer.data(), state.chunk, &read))) return hr;
        hr = S_OK;  // S_FALSE: fewer bytes than asked, the end
        state.last.uploaded.insert(state.last.uploaded.end(), buffer.data(), buffer.data() + read);
        if (!client.Send(kStatus, 0, state.last.uploaded.size(), S_OK, &hr)) return hr;
    }
    client.Send(kEndOfTransfer, 100, state.last.uploaded.size(), S_OK, &hr);
    return hr;
}

HRESULT TransferCancel(const Interface* self) {
    HRESULT hr;
    if (Intercept(self, "Cancel", &hr)) return hr;
    if (State().running) State().cancelled = true;
    return S_OK;
}

void ResetTransfers2() {
    State() = State2{};
}

// --- SimTransfer.h ------------------------------------------------------------------------------------------------

Transfer2Record LastTransfer2() {
    return State().last;
}

void SetReportedBytesBase(ULONG64 base) {
    State().base = base;
}

void SetFeederSheets(int sheets) {
    for (const DevicePtr& device : InstalledList()) {
        for (const auto& child : device->root->children)
            if (child->feederSheets >= 0) child->feederSheets = child->feederLoaded = std::max(0, sheets);
    }
}

void SetStreamChunk(ULONG bytes) {
    State().chunk = std::max<ULONG>(1, bytes);
}

void KeepTransferCallback(bool keep) {
    State().keep = keep;
}

HRESULT CallKeptTransferCallback(bool askForStream) {
    IUnknown* kept = State().kept;
    if (kept == nullptr) return E_UNEXPECTED;
    if (!askForStream) {
        Params params{kStatus, 100, 0, S_OK};
        return SlotOf<ProgressSlot>(kept, 3)(kept, 0, &params);
    }
    Received received("IWiaTransferCallback::GetNextStream");
    IUnknown* stream = nullptr;
    HRESULT hr = SlotOf<StreamSlot>(kept, 4)(kept, 0, nullptr, nullptr, &stream);
    received.Add(stream, "the stream answered");
    if (stream != nullptr) stream->Release();
    return hr;
}

ULONG ReleaseKeptTransferCallback() {
    return ReleaseKept(&State().kept);
}

}  // namespace simwia
