// A WIA 1.0 scan of a 600 dpi A4 colour page (4960 x 7016 pixels, about 104 MB) from the simulated scanner, once
// through the plug-in (the real DLL in the simulated host, a script handler reading every byte of every band from
// its memoryblock) and once by a plain C++ COM client with its own IWiaDataCallback reading the same bytes from the
// same device, in the same run; then the same for a file transfer. The two paths run back to back, pair after pair, so
// that both see the same load on a shared machine. Prints each path's best time, the ratio plug-in / raw client of
// the best times (and the median of the pairs' ratios), and the plug-in's peak extra memory during one more transfer:
// the most heap bytes the DLL held beyond what it held before (its malloc family, operator new included, counted
// through its import table) and the most host objects alive beyond those before (the memory blocks it asks for).
// Goals: ratio <= 1.05, extra memory <= one band.
//
//     wiazvk_transfer_bench.exe [runs=9] [band bytes=262144]
#include <windows.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/host/PlatformHooks.h"
#include "tests/host/ImportHook.h"
#include "bench/Pairs.h"
#include "tests/host/SimHost.h"
#include "tests/host/SimMemoryBlocks.h"
#include "tests/host/SimScript.h"
#include "tests/platform/SimPlatform.h"
#include "tests/platform/SimTransfer.h"
#include "wia/WiaInterfaces.h"  // lets <wiadef.h> stand alone

#include <wiadef.h>

namespace {

using simhost::REALobject;
using simhost::REALstring;
using simhost::SimHost;

// What both clients do with each band: read every byte.
uint64_t gSum = 0;

void ReadBand(const BYTE* bytes, LONG length) {
    uint64_t sum = 0;
    for (LONG i = 0; i < length; ++i) sum += bytes[i];
    gSum += sum;
}

// The DLL's heap while the hooks below are in place: bytes held now and at most since the last reset.
long long gHeld = 0;
long long gPeakHeld = 0;
void* (*gMalloc)(size_t) = nullptr;
void* (*gCalloc)(size_t, size_t) = nullptr;
void* (*gRealloc)(void*, size_t) = nullptr;
void (*gFree)(void*) = nullptr;

void Held(long long change) {
    gHeld += change;
    gPeakHeld = std::max(gPeakHeld, gHeld);
}
void* CountedMalloc(size_t bytes) {
    void* block = gMalloc(bytes);
    if (block != nullptr) Held(static_cast<long long>(_msize(block)));
    return block;
}
void* CountedCalloc(size_t count, size_t bytes) {
    void* block = gCalloc(count, bytes);
    if (block != nullptr) Held(static_cast<long long>(_msize(block)));
    return block;
}
void* CountedRealloc(void* old, size_t bytes) {
    const long long before = old == nullptr ? 0 : static_cast<long long>(_msize(old));
    void* block = gRealloc(old, bytes);
    if (block != nullptr) Held(static_cast<long long>(_msize(block)) - before);
    if (block == nullptr && bytes == 0) Held(-before);
    return block;
}
void CountedFree(void* block) {
    if (block != nullptr) Held(-static_cast<long long>(_msize(block)));
    gFree(block);
}

// Counts the DLL's heap for its lifetime.
class HeapCount {
public:
    explicit HeapCount(HMODULE dll)
        : malloc_(dll, "msvcrt.dll", "malloc", reinterpret_cast<void*>(CountedMalloc)),
          calloc_(dll, "msvcrt.dll", "calloc", reinterpret_cast<void*>(CountedCalloc)),
          realloc_(dll, "msvcrt.dll", "realloc", reinterpret_cast<void*>(CountedRealloc)),
          free_(dll, "msvcrt.dll", "free", reinterpret_cast<void*>(CountedFree)) {
        gMalloc = reinterpret_cast<void* (*)(size_t)>(malloc_.original());
        gCalloc = reinterpret_cast<void* (*)(size_t, size_t)>(calloc_.original());
        gRealloc = reinterpret_cast<void* (*)(void*, size_t)>(realloc_.original());
        gFree = reinterpret_cast<void (*)(void*)>(free_.original());
        gHeld = gPeakHeld = 0;
    }
    bool installed() const { return malloc_.installed() && calloc_.installed() && realloc_.installed() && free_.installed(); }

private:
    simhost::ImportHook malloc_, calloc_, realloc_, free_;
};

// Host objects alive: the baseline before a transfer and the most seen at a callback since.
int64_t gObjectsBefore = 0;
int64_t gPeakObjects = 0;

// Called by each plug-in path right before its platform call: what the DLL holds from here on is extra.
void MarkStart(SimHost& host) {
    gHeld = gPeakHeld = 0;
    gObjectsBefore = gPeakObjects = host.LiveObjects();
}

// --- the raw client ---------------------------------------------------------------------------------------------

class RawCallback final : public IWiaDataCallback {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIID_IWiaDataCallback) ? this : nullptr;
        if (*out == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }  // on the stack
    HRESULT STDMETHODCALLTYPE BandedDataCallback(LONG message, LONG, LONG, LONG, LONG length, LONG, LONG, BYTE* buffer) override {
        if (message == IT_MSG_DATA && buffer != nullptr) ReadBand(buffer, length);
        return S_OK;
    }

private:
    volatile LONG refs_ = 1;
};

// The flatbed's IWiaDataTransfer, reached as any WIA 1.0 client reaches it.
IWiaDataTransfer* RawFlatbed() {
    IWiaDevMgr* manager = nullptr;
    IWiaItem* root = nullptr;
    IWiaItem* flatbed = nullptr;
    IWiaDataTransfer* transfer = nullptr;
    BSTR id = SysAllocString(simwia::kScannerId);
    BSTR name = SysAllocString(simwia::kScannerFlatbed);
    if (SUCCEEDED(CoCreateInstance(kCLSID_WiaDevMgr, nullptr, CLSCTX_LOCAL_SERVER, kIID_IWiaDevMgr,
                                   reinterpret_cast<void**>(&manager))) &&
        SUCCEEDED(manager->CreateDevice(id, &root)) && SUCCEEDED(root->FindItemByName(0, name, &flatbed))) {
        flatbed->QueryInterface(kIID_IWiaDataTransfer, reinterpret_cast<void**>(&transfer));
    }
    for (IUnknown* object : {static_cast<IUnknown*>(flatbed), static_cast<IUnknown*>(root), static_cast<IUnknown*>(manager)})
        if (object != nullptr) object->Release();
    SysFreeString(name);
    SysFreeString(id);
    return transfer;
}

// --- the plug-in's script -----------------------------------------------------------------------------------------

int64_t ScriptHandler(REALobject, int64_t message, int64_t, int64_t, int64_t, int64_t length, REALobject buffer) {
    SimHost& host = SimHost::Current();
    if (message == IT_MSG_DATA) ReadBand(simhost::MemoryBlockAddress(host, buffer), static_cast<LONG>(length));
    gPeakObjects = std::max(gPeakObjects, host.LiveObjects());
    return 0;
}

// --- measuring ----------------------------------------------------------------------------------------------------

// The plug-in's path once more after its timed pairs, with the DLL's heap and the host's objects counted; printed
// after the pairs' line.
void ReportMemory(HMODULE dll, const std::function<double()>& pluginPath, size_t band) {
    HeapCount count(dll);
    if (!count.installed()) std::fprintf(stderr, "the DLL's heap cannot be counted\n");
    pluginPath();
    std::printf("  plug-in peak extra memory %lld heap bytes and %lld host objects (goal <= one band, %zu bytes)\n",
                static_cast<long long>(gPeakHeld), static_cast<long long>(gPeakObjects - gObjectsBefore), band);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const size_t band = argc > 2 ? static_cast<size_t>(std::atol(argv[2])) : 262144;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    {
        SimHost host;
        host.Load("WIAZVK.dll");
        simwia::Install();
        simhost::SimulatedClasses classes({host.Module(), GetModuleHandleW(nullptr)});
        simwia::SetImageSize(simwia::kScannerFlatbed, 4960, 7016);
        const size_t page = sizeof(BITMAPINFOHEADER) + size_t{4960} * 3 * 7016;
        std::printf("600 dpi A4 colour page: %zu bytes, bands of %zu bytes, %d pairs of runs\n", page, band, runs);

        REALobject transfer = simhost::OpenDataTransfer(host, simwia::kScannerFlatbed);
        REALobject callback = simhost::NewCollectingCallback(host, true, reinterpret_cast<const void*>(ScriptHandler));
        REALobject info = host.New("WIADataTransferInfoZVK");
        host.SetInt(info, "BufferSize", static_cast<int64_t>(band));
        IWiaDataTransfer* raw = RawFlatbed();
        RawCallback rawCallback;
        if (transfer == nullptr || raw == nullptr) {
            std::fprintf(stderr, "cannot reach the simulated flatbed\n");
            return 1;
        }

        uint64_t sums[2] = {};
        const std::function<double()> pluginBanded = [&] {
            gSum = 0;
            MarkStart(host);
            const double start = bench::Seconds();
            host.Call<void>(transfer,
                            "GetBandedData(DataTransInfo as WIADataTransferInfoZVK, DataCallback as WIADataCallbackZVK)", info,
                            callback);
            const double time = bench::Seconds() - start;
            sums[0] = gSum;
            if (host.GetInt(transfer, "Lasterror") != 0) status = 1;
            return time;
        };
        const bench::Pairs banded = bench::RunPairs(runs, pluginBanded, [&] {
            gSum = 0;
            WIA_DATA_TRANSFER_INFO request{sizeof(WIA_DATA_TRANSFER_INFO), 0, static_cast<ULONG>(band), FALSE, 0, 0, 0};
            const double start = bench::Seconds();
            if (raw->idtGetBandedData(&request, &rawCallback) != S_OK) status = 1;
            const double time = bench::Seconds() - start;
            sums[1] = gSum;
            return time;
        });
        if (sums[0] != sums[1]) {
            std::fprintf(stderr, "the two clients read different bytes\n");
            status = 1;
        }
        bench::PrintPairs("banded", banded);
        ReportMemory(host.Module(), pluginBanded, band);

        // File transfers: each plug-in run uses a fresh object, so that deleting the last file stays outside the time.
        const std::function<double()> pluginFile = [&] {
            REALobject files = simhost::OpenDataTransfer(host, simwia::kScannerFlatbed);
            MarkStart(host);
            const double start = bench::Seconds();
            REALstring path = host.Call<REALstring>(files, "GetDataPath(DataCallback as WIADataCallbackZVK) as string", callback);
            const double time = bench::Seconds() - start;
            if (path == nullptr) status = 1;
            host.UnlockString(path);
            host.Unlock(files);
            return time;
        };
        const bench::Pairs file = bench::RunPairs(runs, pluginFile, [&] {
            STGMEDIUM medium{};
            medium.tymed = TYMED_FILE;
            const double start = bench::Seconds();
            if (raw->idtGetData(&medium, &rawCallback) != S_OK) status = 1;
            const double time = bench::Seconds() - start;
            ReleaseStgMedium(&medium);
            return time;
        });
        bench::PrintPairs("file", file);
        ReportMemory(host.Module(), pluginFile, band);

        raw->Release();
        host.Unlock(info);
        host.Unlock(callback);
        host.Unlock(transfer);
        if (host.LiveObjects() != 0 || host.LiveStrings() != 0 || simwia::LiveObjects() != 0) {
            std::fprintf(stderr, "the benchmark left objects behind\n");
            status = 1;
        }
    }
    CoUninitialize();
    return status;
}
