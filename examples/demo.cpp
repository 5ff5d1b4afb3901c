// Loads the plug-in in the simulated host and lists what it registered: each class with its bound
// properties, methods, shared members, constants and events, the way the host's IDE would see them.
// Then it runs a script's first steps against the simulated devices: a WIA 2.0 device manager lists
// the installed devices with their names and opens each one; a WIA 1.0 transfer scans a page from the
// scanner's flatbed into a file, and the feeder's pages band by band into a script event; a WIA 2.0 download
// writes the feeder's pages into one file stream each, opened by the script's GetNextStream handler.
#include <objbase.h>

#include <cstdio>
#include <vector>

#include "tests/host/PlatformHooks.h"
#include "tests/host/SimHost.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimScript.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimPlatform.h"
#include "tests/platform/SimTransfer.h"

namespace {

using simhost::REALobject;
using simhost::REALstring;
using simhost::SimHost;

std::string ReadText(SimHost& host, REALobject storage, int64_t id) {
    REALobject value = host.Call<REALobject>(storage, "Read(id as integer) as variant", id);
    std::string text = value == nullptr ? "(none)" : simhost::ReadVariant(host, value).text;
    host.Unlock(value);
    return text;
}

void ListDevices(SimHost& host) {
    REALobject manager = host.New("WIADeviceManager2ZVK");
    host.Call<void>(manager, "Constructor");
    std::printf("\nWIADeviceManager2ZVK: Lasterror %lld\n", static_cast<long long>(host.GetInt(manager, "Lasterror")));
    REALobject devices =
        host.Call<REALobject>(manager, "EnumDeviceInfo(flags as integer = &h10) as WIADeviceInfoEnumeratorZVK", int64_t{16});
    std::printf("%lld devices\n", static_cast<long long>(host.Call<int64_t>(devices, "Count as integer")));
    while (REALobject info = host.Call<REALobject>(devices, "NextItem as WIAPropertyStorageZVK")) {
        std::string id = ReadText(host, info, 2);    // kDevicePropertyDevId
        std::string name = ReadText(host, info, 7);  // kDevicePropertyDevName
        REALstring idText = host.Str(id);
        REALobject root = host.Call<REALobject>(manager, "CreateDevice(DeviceID as string) as WIAItemZVK", idText);
        std::printf("  %-24s %s  root item Handle2 %s\n", name.c_str(), id.c_str(),
                    root != nullptr && host.GetInt(root, "Handle2") != 0 ? "set" : "missing");
        host.Unlock(root);
        host.UnlockString(idText);
        host.Unlock(info);
    }
    host.Unlock(devices);
    host.Unlock(manager);
}

// GetDataPath: the device writes the file, the plug-in hands its path over; the file lives as long as the
// transfer object (or until its next file transfer).
void ScanPage(SimHost& host) {
    REALobject transfer = simhost::OpenDataTransfer(host, simwia::kScannerFlatbed);
    REALstring path = host.Call<REALstring>(transfer, "GetDataPath(DataCallback as WIADataCallbackZVK) as string",
                                            static_cast<REALobject>(nullptr));
    std::vector<uint8_t> bytes = simhost::ReadFileBytes(host.Bytes(path));
    std::printf("\nScanned the flatbed: Lasterror %lld, wrote %s (%zu bytes, starts with \"%.2s\")\n",
                static_cast<long long>(host.GetInt(transfer, "Lasterror")), host.Bytes(path).c_str(), bytes.size(),
                reinterpret_cast<const char*>(bytes.data()));
    host.UnlockString(path);
    host.Unlock(transfer);

    transfer = simhost::OpenDataTransfer(host, simwia::kScannerFeeder);
    int64_t lasterror = simhost::ScanBanded(host, transfer, 4096);
    std::printf("Scanned the feeder band by band: Lasterror 0x%llX, %zu pages of", static_cast<unsigned long long>(lasterror),
                simhost::Collected().pages.size());
    for (const auto& page : simhost::Collected().pages) std::printf(" %zu", page.size());
    std::printf(" bytes in %zu events\n", simhost::Collected().events.size());
    host.Unlock(transfer);
}

// Download: the device asks the script for a stream per page and reports its progress to the other event.
void DownloadFeeder(SimHost& host) {
    simwia::SetFeederSheets(simwia::kFeederSheets);  // paper loaded again after the banded scan
    const int64_t lasterror = simhost::DownloadFrom(host, simwia::kScannerFeeder);
    std::printf("\nDownloaded the feeder with WIA 2.0: Lasterror %lld, %zu progress messages, one file per page:\n",
                static_cast<long long>(lasterror), simhost::Script().seen.size());
    for (const std::string& file : simhost::Script().files)
        std::printf("  %s (%zu bytes)\n", file.c_str(), simhost::ReadFileBytes(file).size());
}

}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const char* dll = argc > 1 ? argv[1] : "WIAZVK.dll";
    int status = 0;
    try {
        simhost::SimHost host;
        host.Load(dll);
        std::printf("%s registered %zu classes at interface level %d\n", dll, host.Classes().size(),
                    host.registeredLevels.empty() ? 0 : host.registeredLevels.back());
        for (const simhost::ClassView& cls : host.Classes()) {
            std::printf("\n%s (%llu bytes of instance data)\n", cls.name.c_str(), static_cast<unsigned long long>(cls.dataSize));
            for (const auto& property : cls.properties)
                std::printf("  property  %s as %s\n", property.name.c_str(), property.type.c_str());
            for (const auto& property : cls.sharedProperties)
                std::printf("  shared    %s as %s\n", property.name.c_str(), property.type.c_str());
            for (const auto& method : cls.methods) std::printf("  method    %s\n", method.declaration.c_str());
            for (const auto& method : cls.sharedMethods) std::printf("  shared    %s\n", method.declaration.c_str());
            for (const auto& constant : cls.constants) std::printf("  const     %s\n", constant.c_str());
            for (const auto& event : cls.events) std::printf("  event     %s\n", event.c_str());
        }
        simwia::Install();
        simhost::SimulatedClasses classes({host.Module()});
        ListDevices(host);
        ScanPage(host);
        DownloadFeeder(host);
        if (host.LiveObjects() != 0 || host.LiveStrings() != 0 || simwia::LiveObjects() != 0) {
            std::fprintf(stderr, "demo left objects behind\n");
            status = 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo failed: %s\n", error.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}
