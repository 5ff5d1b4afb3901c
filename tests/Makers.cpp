// How a script comes by an instance of each device-access class: open a manager, a device, walk to an item,
// ask it for what it offers. The sweeps (Sweep_test.cpp) make their instances through these.
#include <string>

#include "tests/Sweep.h"
#include "tests/host/PluginTest.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

REALobject Manager(SimHost& host, const char* cls) {
    REALobject manager = host.New(cls);
    host.Call<void>(manager, "Constructor");
    return manager;
}

// Calls each step on what the one before gave (the first on `from`), giving every step's object back. The steps that
// take an argument get what a script passes: commands and events (3), every child (nil), every device (&h10).
REALobject Then(SimHost& host, REALobject from, std::initializer_list<const char*> steps) {
    for (const char* step : steps) {
        if (from == nullptr) return nullptr;
        REALobject next = std::string(step) == "EnumerateDeviceCapabilities" ? host.Call<REALobject>(from, step, 3)
                          : std::string(step) == "EnumerateChildItems"       ? host.Call<REALobject>(from, step, REALobject{})
                          : std::string(step) == "EnumDeviceInfo"            ? host.Call<REALobject>(from, step, 16)
                                                                             : host.Call<REALobject>(from, step);
        host.Unlock(from);
        from = next;
    }
    return from;
}

REALobject Item(SimHost& host, const char* manager, const wchar_t* fullName, std::initializer_list<const char*> steps = {}) {
    std::wstring name(fullName);
    REALobject owner = Manager(host, manager);
    REALobject item = host.Call<REALobject>(owner, "CreateDevice", Narrow(simwia::Item(fullName).deviceId));
    host.Unlock(owner);
    if (item != nullptr && name.find(L'\\', name.find(L'\\') + 1) != std::wstring::npos) {  // below "0000\Root"
        REALobject found = host.Call<REALobject>(item, "FindItemByName", Narrow(name));
        host.Unlock(item);
        item = found;
    }
    return Then(host, item, steps);
}

constexpr const char* kWia1 = "WIADeviceManager1ZVK";
constexpr const char* kWia2 = "WIADeviceManager2ZVK";

// clang-format off
const sweep::Registration kMakers[] = {
    {kWia1, [](SimHost& host) { return Manager(host, kWia1); }},
    {kWia2, [](SimHost& host) { return Manager(host, kWia2); }},
    {"WIAItemZVK", [](SimHost& host) { return Item(host, kWia1, simwia::kScannerFlatbed); }, "WIA 1.0 flatbed"},
    {"WIAItemZVK", [](SimHost& host) { return Item(host, kWia1, simwia::kCameraRoot); }, "WIA 1.0 camera"},
    {"WIAItemZVK", [](SimHost& host) { return Item(host, kWia2, simwia::kScannerFlatbed); }, "WIA 2.0 flatbed"},
    {"WIAItemZVK", [](SimHost& host) { return Item(host, kWia2, simwia::kScannerRoot); }, "WIA 2.0 scanner"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return Item(host, kWia1, simwia::kCameraRoot, {"EnumerateChildItems"}); }, "WIA 1.0"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return Item(host, kWia2, simwia::kScannerRoot, {"EnumerateChildItems"}); }, "WIA 2.0"},
    {"WIATransferZVK", [](SimHost& host) { return Item(host, kWia2, simwia::kScannerFlatbed, {"Transfer"}); }},
    {"WIAPropertyStorageZVK", [](SimHost& host) { return Item(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage"}); }},
    {"WIAPropertyEnumeratorZVK",
     [](SimHost& host) { return Item(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage", "Enumerate"}); }},
    {"WIAPropertyZVK",
     [](SimHost& host) { return Item(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage", "Enumerate", "NextItem"}); }},
    {"WIADeviceInfoEnumeratorZVK", [](SimHost& host) { return Then(host, Manager(host, kWia2), {"EnumDeviceInfo"}); }},
    {"WIADeviceCapabilitiesEnumeratorZVK",
     [](SimHost& host) { return Item(host, kWia2, simwia::kScannerRoot, {"EnumerateDeviceCapabilities"}); }},
    {"WIADeviceCapabilitiesZVK",
     [](SimHost& host) { return Item(host, kWia2, simwia::kScannerRoot, {"EnumerateDeviceCapabilities", "NextItem"}); }},
    {"WIAFormatInfoEnumeratorZVK",
     [](SimHost& host) { return Item(host, kWia1, simwia::kScannerFlatbed, {"DataTransfer", "EnumerateFormatInfo"}); }},
    {"WIAFormatInfoZVK",
     [](SimHost& host) { return Item(host, kWia1, simwia::kScannerFlatbed, {"DataTransfer", "EnumerateFormatInfo", "NextItem"}); }},
    {"WIATransferParamsZVK", [](SimHost& host) { return host.New("WIATransferParamsZVK"); }},
    {"WIAGUIDZVK", [](SimHost& host) { return host.CallShared<REALobject>("WIAItemZVK", "kCommandTakePicture"); }},
};
// clang-format on

}  // namespace
}  // namespace simhost
