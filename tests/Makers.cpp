// How a script comes by an instance of each device-access class: open a manager, a device, walk to an item,
// ask it for what it offers. The sweeps (Sweep_test.cpp) make their instances through these.
#include "tests/Sweep.h"
#include "tests/host/SimScript.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

constexpr const char* kWia1 = "WIADeviceManager1ZVK";
constexpr const char* kWia2 = "WIADeviceManager2ZVK";

// clang-format off
const sweep::Registration kMakers[] = {
    {kWia1, [](SimHost& host) { return NewManager(host, kWia1); }},
    {kWia2, [](SimHost& host) { return NewManager(host, kWia2); }},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia1, simwia::kScannerFlatbed); }, "WIA 1.0 flatbed"},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia1, simwia::kCameraRoot); }, "WIA 1.0 camera"},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed); }, "WIA 2.0 flatbed"},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot); }, "WIA 2.0 scanner"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia1, simwia::kCameraRoot, {"EnumerateChildItems"}); }, "WIA 1.0"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot, {"EnumerateChildItems"}); }, "WIA 2.0"},
    {"WIATransferZVK", [](SimHost& host) { return OpenTransfer(host, simwia::kScannerFlatbed); }},
    {"WIAPropertyStorageZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage"}); }},
    {"WIAPropertyEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage", "Enumerate"}); }},
    {"WIAPropertyZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage", "Enumerate", "NextItem"}); }},
    {"WIADeviceInfoEnumeratorZVK", [](SimHost& host) { return Then(host, NewManager(host, kWia2), {"EnumDeviceInfo"}); }},
    {"WIADeviceCapabilitiesEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot, {"EnumerateDeviceCapabilities"}); }},
    {"WIADeviceCapabilitiesZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot, {"EnumerateDeviceCapabilities", "NextItem"}); }},
    {"WIAFormatInfoEnumeratorZVK", [](SimHost& host) { return Then(host, OpenDataTransfer(host, simwia::kScannerFlatbed), {"EnumerateFormatInfo"}); }},
    {"WIAFormatInfoZVK", [](SimHost& host) { return Then(host, OpenDataTransfer(host, simwia::kScannerFlatbed), {"EnumerateFormatInfo", "NextItem"}); }},
    {"WIATransferParamsZVK", [](SimHost& host) { return host.New("WIATransferParamsZVK"); }},
    {"WIAGUIDZVK", [](SimHost& host) { return host.CallShared<REALobject>("WIAItemZVK", "kCommandTakePicture"); }},
};
// clang-format on

}  // namespace
}  // namespace simhost
