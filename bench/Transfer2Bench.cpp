// A WIA 2.0 download of 20 feeder pages (850 x 1100 pixels, 24-bit, about 2.8 MB each, written in chunks of 64 KB,
// each after a progress message) from the simulated scanner into one file stream per page, once through the plug-in (the real DLL
// in the simulated host: a script whose GetNextStream handler opens each file as a WIAStreamZVK and whose TransferCallback
// handler reads every progress record) and once by a plain C++ COM client with its own IWiaTransferCallback that opens the same
// files with SHCreateStreamOnFileW and reads the same records, on the same device, in the same run. The two paths run back to
// back, pair after pair and each first in every other pair, so that both see the same load on a shared machine. Prints each
// path's best time and the ratio plug-in / raw client of the best times (and the median of the pairs' ratios). Goal: ratio
// <= 1.05.
//
//     wiazvk_transfer2_bench.exe [runs=5] [pages=20]
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Pairs.h"
#include "tests/host/PlatformHooks.h"
#include "tests/host/SimHost.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimPlatform.h"
#include "tests/platform/SimTransfer.h"
#include "wia/WiaInterfaces.h"

namespace {

using simhost::REALobject;
using simhost::REALstring;
using simhost::SimHost;

// What both clients do: one file per page in the folder, and the sum of the progress records' byte counts.
std::string gFolder;
uint64_t gBytes = 0;
int gPage = 0;

std::string NextPath() {
    return gFolder + "\\page-" + std::to_string(++gPage) + ".bmp";
}

// --- the raw client ---------------------------------------------------------------------------------------------

class RawCallback final : public IWiaTransferCallback {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIID_IWiaTransferCallback) ? this : nullptr;
        if (*out == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }  // on the stack
    HRESULT STDMETHODCALLTYPE TransferCallback(LONG, WiaTransferParams* params) override {
        gBytes += params->ulTransferredBytes +
                  static_cast<ULONG64>(params->lMessage + params->lPercentComplete + params->hrErrorStatus);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNextStream(LONG, BSTR, BSTR, IStream** destination) override {
        const std::string path = NextPath();
        const std::wstring wide(path.begin(), path.end());
        return SHCreateStreamOnFileW(wide.c_str(), STGM_CREATE | STGM_WRITE, destination);
    }

private:
    volatile LONG refs_ = 1;
};

// The feeder's IWiaTransfer, reached as any WIA 2.0 client reaches it.
IWiaTransfer* RawFeeder() {
    IWiaDevMgr2* manager = nullptr;
    IWiaItem2* root = nullptr;
    IWiaItem2* feeder = nullptr;
    IWiaTransfer* transfer = nullptr;
    BSTR id = SysAllocString(simwia::kScannerId);
    BSTR name = SysAllocString(simwia::kScannerFeeder);
    if (SUCCEEDED(CoCreateInstance(kCLSID_WiaDevMgr2, nullptr, CLSCTX_LOCAL_SERVER, kIID_IWiaDevMgr2,
                                   reinterpret_cast<void**>(&manager))) &&
        SUCCEEDED(manager->CreateDevice(0, id, &root)) && SUCCEEDED(root->FindItemByName(0, name, &feeder))) {
        feeder->QueryInterface(kIID_IWiaTransfer, reinterpret_cast<void**>(&transfer));
    }
    for (IUnknown* object : {static_cast<IUnknown*>(feeder), static_cast<IUnknown*>(root), static_cast<IUnknown*>(manager)})
        if (object != nullptr) object->Release();
    SysFreeString(name);
    SysFreeString(id);
    return transfer;
}

// --- the plug-in's script -----------------------------------------------------------------------------------------

int64_t ScriptProgress(REALobject, REALobject w) {
    SimHost& host = SimHost::Current();
    gBytes +=
        host.GetUInt64(w, "TransferredBytes") +
        static_cast<uint64_t>(host.GetInt(w, "Message") + host.GetInt(w, "PercentComplete") + host.GetInt(w, "ErrorStatus"));
    return 0;
}

REALobject ScriptNextStream(REALobject, REALstring, REALstring) {
    return simhost::OpenStream(SimHost::Current(), NextPath(), simhost::kModeCreateWrite);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int pages = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    {
        SimHost host;
        host.Load("WIAZVK.dll");
        simwia::Install();
        simhost::SimulatedClasses classes({host.Module(), GetModuleHandleW(nullptr)});
        simwia::SetImageSize(simwia::kScannerFeeder, 850, 1100);
        simwia::SetStreamChunk(simwia::kDeviceBufferSize);
        gFolder = simhost::Script().folder;
        std::printf("%d feeder pages of %zu bytes into file streams, %d pairs of runs\n", pages,
                    simwia::FileData(simwia::kScannerFeeder, 0).size(), runs);

        REALobject transfer = simhost::OpenTransfer(host, simwia::kScannerFeeder);
        REALobject callback = host.New("WIATransferCallbackZVK");
        host.SetEventHandler(callback, simhost::kTransferEvent, reinterpret_cast<const void*>(ScriptProgress));
        host.SetEventHandler(callback, simhost::kNextStreamEvent, reinterpret_cast<const void*>(ScriptNextStream));
        IWiaTransfer* raw = RawFeeder();
        RawCallback rawCallback;
        if (transfer == nullptr || raw == nullptr) {
            std::fprintf(stderr, "cannot reach the simulated feeder\n");
            return 1;
        }

        uint64_t sums[2] = {};
        auto timed = [&](int path) {
            simwia::SetFeederSheets(pages);
            gBytes = 0;
            gPage = 0;
            const double start = bench::Seconds();
            HRESULT hr;
            if (path == 0) {
                host.Call<void>(transfer, simhost::kDownload, callback);
                hr = static_cast<HRESULT>(host.GetInt(transfer, "Lasterror"));
            } else {
                hr = raw->Download(0, &rawCallback);
            }
            const double time = bench::Seconds() - start;
            sums[path] = gBytes;
            if (hr != S_OK || gPage != pages) status = 1;
            return time;
        };
        const bench::Pairs download = bench::RunPairs(
            runs, [&] { return timed(0); }, [&] { return timed(1); });
        if (sums[0] != sums[1]) {
            std::fprintf(stderr, "the two clients saw different progress\n");
            status = 1;
        }
        bench::PrintPairs("download", download);
        std::printf("\n");

        raw->Release();
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
