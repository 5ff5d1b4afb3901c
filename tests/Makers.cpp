// How a script comes by an instance of each device-access class: open a manager, a device, walk to an item,
// ask it for what it offers. The sweeps (Sweep_test.cpp) make their instances through these.
#include <string>

#include "tests/Sweep.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

constexpr const char* kManager1 = "WIADeviceManager1ZVK";
constexpr const char* kManager2 = "WIADeviceManager2ZVK";

// Calls a method without arguments on `from` and gives `from` back; the result carries one reference.
REALobject Then(SimHost& host, REALobject from, const std::string& declaration) {
    if (from == nullptr) return nullptr;
    REALobject result = host.Call<REALobject>(from, declaration);
    host.Unlock(from);
    return result;
}

REALobject Manager(SimHost& host, const char* cls) {
    REALobject manager = host.New(cls);
    host.Call<void>(manager, "Constructor");
    return manager;
}

REALobject Item(SimHost& host, const char* manager, const wchar_t* fullName) {
    std::wstring wide(fullName);
    std::wstring device(simwia::Item(fullName).deviceId);
    REALobject owner = Manager(host, manager);
    REALstring id = host.Str(std::string(device.begin(), device.end()));
    REALobject root = host.Call<REALobject>(owner, "CreateDevice", id);
    host.UnlockString(id);
    host.Unlock(owner);
    if (root == nullptr) return nullptr;
    if (wide.find(L'\\', wide.find(L'\\') + 1) == std::wstring::npos) return root;  // "0000\Root"
    REALstring name = host.Str(std::string(wide.begin(), wide.end()));
    REALobject item = host.Call<REALobject>(root, "FindItemByName", name);
    host.UnlockString(name);
    host.Unlock(root);
    return item;
}

REALobject Flatbed1(SimHost& host) {
    return Item(host, kManager1, simwia::kScannerFlatbed);
}
REALobject Flatbed2(SimHost& host) {
    return Item(host, kManager2, simwia::kScannerFlatbed);
}
REALobject Camera1(SimHost& host) {
    return Item(host, kManager1, simwia::kCameraRoot);
}
REALobject Scanner2(SimHost& host) {
    return Item(host, kManager2, simwia::kScannerRoot);
}

REALobject Capabilities(SimHost& host) {
    REALobject root = Scanner2(host);
    if (root == nullptr) return nullptr;
    REALobject caps = host.Call<REALobject>(root, "EnumerateDeviceCapabilities", 3);
    host.Unlock(root);
    return caps;
}

REALobject Children(SimHost& host, REALobject root) {
    if (root == nullptr) return nullptr;
    REALobject children = host.Call<REALobject>(root, "EnumerateChildItems", static_cast<REALobject>(nullptr));
    host.Unlock(root);
    return children;
}

REALobject Formats(SimHost& host) {
    return Then(host, Then(host, Flatbed1(host), "DataTransfer as WIADataTransferZVK"),
                "EnumerateFormatInfo as WIAFormatInfoEnumeratorZVK");
}

const sweep::Registration kMakers[] = {
    {kManager1, [](SimHost& host) { return Manager(host, kManager1); }},
    {kManager2, [](SimHost& host) { return Manager(host, kManager2); }},
    {"WIAItemZVK", Flatbed1, "WIA 1.0 flatbed"},
    {"WIAItemZVK", Camera1, "WIA 1.0 camera"},
    {"WIAItemZVK", Flatbed2, "WIA 2.0 flatbed"},
    {"WIAItemZVK", Scanner2, "WIA 2.0 scanner"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return Children(host, Camera1(host)); }, "WIA 1.0"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return Children(host, Scanner2(host)); }, "WIA 2.0"},
    {"WIATransferZVK", [](SimHost& host) { return Then(host, Flatbed2(host), "Transfer as WIATransferZVK"); }},
    {"WIAPropertyStorageZVK",
     [](SimHost& host) { return Then(host, Flatbed2(host), "PropertyStorage as WIAPropertyStorageZVK"); }},
    {"WIAPropertyEnumeratorZVK",
     [](SimHost& host) {
         return Then(host, Then(host, Flatbed2(host), "PropertyStorage as WIAPropertyStorageZVK"),
                     "Enumerate as WIAPropertyEnumeratorZVK");
     }},
    {"WIAPropertyZVK",
     [](SimHost& host) {
         REALobject storage = Then(host, Flatbed2(host), "PropertyStorage as WIAPropertyStorageZVK");
         return Then(host, Then(host, storage, "Enumerate as WIAPropertyEnumeratorZVK"), "NextItem as WIAPropertyZVK");
     }},
    {"WIADeviceInfoEnumeratorZVK",
     [](SimHost& host) {
         REALobject manager = Manager(host, kManager2);
         REALobject devices = host.Call<REALobject>(manager, "EnumDeviceInfo", 16);
         host.Unlock(manager);
         return devices;
     }},
    {"WIADeviceCapabilitiesEnumeratorZVK", Capabilities},
    {"WIADeviceCapabilitiesZVK",
     [](SimHost& host) { return Then(host, Capabilities(host), "NextItem as WIADeviceCapabilitiesZVK"); }},
    {"WIAFormatInfoEnumeratorZVK", Formats},
    {"WIAFormatInfoZVK", [](SimHost& host) { return Then(host, Formats(host), "NextItem as WIAFormatInfoZVK"); }},
    {"WIATransferParamsZVK", [](SimHost& host) { return host.New("WIATransferParamsZVK"); }},
    {"WIAGUIDZVK", [](SimHost& host) { return host.CallShared<REALobject>("WIAItemZVK", "kCommandTakePicture"); }},
};

}  // namespace
}  // namespace simhost
