// Speed of the plug-in's hot paths, each measured against a plain baseline doing the same work in the same run:
// text decoding against MultiByteToWideChar, host-string building against a bare copy of the bytes, a property
// read through WIAPropertyStorageZVK against a raw ReadMultiple, a script's Integer written to a VT_I4 property
// against a raw WriteMultiple of the VT_I4 value, a walk of 10,000 items through
// WIAItemEnumeratorZVK against a raw IEnumWiaItem2 loop, and a log call site with logging off against the same
// loop without it. The library is linked in and booted by the simulated host, against the simulated devices.
//
// Prints, per path: our time, the baseline's, their ratio and the goal where there is one. Exits 1 when a goal
// is missed or something leaked. "--smoke" runs every path a few times only and judges no ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/Pairs.h"
#include "tests/host/PlatformHooks.h"
#include "tests/host/SimHostVariants.h"
#include "plugin/HostApi.h"
#include "plugin/Registration.h"
#include "support/HostString.h"
#include "support/Log.h"
#include "support/Text.h"
#include "tests/host/SimHost.h"
#include "tests/platform/SimPlatform.h"
#include "wia/WiaInterfaces.h"
// after our WIA declarations
#include <wiadef.h>

namespace {

using simhost::REALobject;
using zvk::REALstring;

bool gSmoke = false;
int gMissed = 0;

template <typename F>
double NsPerOp(int iterations, F& body) {
    double start = bench::Seconds() * 1e9;
    for (int i = 0; i < iterations; ++i) body();
    return (bench::Seconds() * 1e9 - start) / iterations;
}

// Runs both sides in alternating rounds after a warm-up and keeps each side's best round, so that a burst of
// load on a shared machine hits both alike. goal 0: no goal.
template <typename Ours, typename Baseline>
void Compare(const char* name, int iterations, double goal, Ours ours, Baseline baseline) {
    const int rounds = gSmoke ? 1 : 5;
    if (gSmoke) iterations = 2;
    NsPerOp(std::max(1, iterations / 10), ours);
    NsPerOp(std::max(1, iterations / 10), baseline);
    double best = 1e300;
    double bestBaseline = 1e300;
    for (int round = 0; round < rounds; ++round) {
        best = std::min(best, NsPerOp(iterations, ours));
        bestBaseline = std::min(bestBaseline, NsPerOp(iterations, baseline));
    }
    const double ratio = best / std::max(bestBaseline, 1e-3);
    const bool within = goal == 0 || gSmoke || ratio <= goal;
    if (!within) ++gMissed;
    char goalText[32] = "-";
    if (goal != 0) std::snprintf(goalText, sizeof goalText, "<= %.1fx", goal);
    std::printf("%-58s %12.1f ns %12.1f ns %8.2fx %9s %s\n", name, best, bestBaseline, ratio, goalText,
                goal == 0 || gSmoke ? ""
                : within            ? "ok"
                                    : "MISSED");
}

// UTF-8 text of about `bytes` bytes cycling through ASCII, accented Latin, CJK and emoji.
std::string MixedText(size_t bytes) {
    const char* const pieces[] = {"Scan page ", "\xC3\xA9t\xC3\xA9 \xC3\xBC\xC3\x9F ", "\xE7\x94\xBB\xE5\x83\x8F ",
                                  "\xF0\x9F\x93\xB7 ", "0123456789 "};
    std::string text;
    for (size_t i = 0; text.size() < bytes; ++i) text += pieces[i % std::size(pieces)];
    return text;
}

// The baseline decoding: size, allocate from the global heap as the library does, convert, free.
size_t DecodeBaseline(const std::string& text) {
    const int count = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), count, nullptr, 0);
    auto* buffer = static_cast<wchar_t*>(GlobalAlloc(GMEM_FIXED, (static_cast<size_t>(units) + 1) * sizeof(wchar_t)));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), count, buffer, units);
    buffer[units] = 0;
    const size_t result = buffer[units / 2];
    GlobalFree(buffer);
    return result;
}

// Both paths give the same units: the comparison measures the same work.
bool SameUnits(REALstring string, const std::string& text) {
    std::wstring expected(text.size(), L'\0');
    expected.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &expected[0],
                                                            static_cast<int>(text.size()))));
    zvk::rbText view(string);
    return std::wstring(view.UTF16(), static_cast<size_t>(view.UTF16Length())) == expected;
}

void TextPaths(simhost::SimHost& host) {
    volatile size_t sink = 0;
    for (size_t size : {size_t{24}, size_t{1} << 20}) {
        const std::string text = MixedText(size);
        auto string = reinterpret_cast<REALstring>(host.Str(text, simhost::enc::kUTF8));
        const std::string name = "UTF-16 of " + std::to_string(text.size()) + " bytes of mixed UTF-8";
        if (!SameUnits(string, text)) {
            std::printf("%s: the plug-in's UTF-16 differs from MultiByteToWideChar's\n", name.c_str());
            ++gMissed;
        }
        Compare(
            name.c_str(), size > 1000 ? 20 : 100000, 0,
            [&] {
                zvk::rbText view(string);
                sink = sink + view.UTF16()[view.UTF16Length() / 2];
            },
            [&] { sink = sink + DecodeBaseline(text); });
        host.UnlockString(reinterpret_cast<simhost::REALstring>(string));
    }
    for (size_t units : {size_t{64}, size_t{65536}}) {
        std::wstring wide;
        while (wide.size() < units) wide += L"Scan \x00E9t\x00E9 \x753B\x50CF ";
        wide.resize(units);
        const int iterations = units > 1000 ? 100 : 50000;
        const std::string name = "host string from " + std::to_string(units) + " wide characters";
        auto ours = [&] { zvk::host::UnlockString(zvk::WString2RB(wide.c_str())); };
        Compare((name + ", vs a bare copy").c_str(), iterations, 0, ours, [&] {
            std::wstring copy(wide);
            sink = sink + copy.size();
        });
        // The host's own work for the same string: build it as UTF-16, convert it to UTF-8.
        const auto bytes = static_cast<int32_t>(wide.size() * sizeof(wchar_t));
        Compare((name + ", vs the host's build").c_str(), iterations, 0, ours, [&] {
            REALstring built =
                zvk::host::BuildStringWithEncoding(reinterpret_cast<const char*>(wide.data()), bytes, zvk::encoding::kUTF16);
            zvk::host::UnlockString(zvk::host::ConvertString(built, zvk::encoding::kUTF8));
            zvk::host::UnlockString(built);
        });
    }
    Compare(
        "log call site with logging off", 20000000, 0,
        [&] {
            if (zvk::DebugLoggingEnabled) zvk::DebugLogInt64("value", static_cast<int64_t>(sink));
            sink = sink + 1;
        },
        [&] { sink = sink + 1; });
}

// The function registered for a declaration, to be called through its exact prototype as the host calls it
// (the simulated host's own lookup by declaration is not part of the measured path).
template <typename Fn>
Fn Registered(simhost::SimHost& host, const char* cls, const char* declaration) {
    return reinterpret_cast<Fn>(const_cast<void*>(host.FindMethod(cls, declaration, false).function));
}

template <typename T>
T* InterfaceIn(simhost::SimHost& host, REALobject object, const char* field) {
    return reinterpret_cast<T*>(static_cast<intptr_t>(host.GetInt(object, field)));
}

void RawRead(IWiaPropertyStorage* storage, PROPID id, PROPVARIANT* value) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = id;
    PropVariantInit(value);
    storage->ReadMultiple(1, &spec, value);
}

void DevicePaths(simhost::SimHost& host) {
    const int children = gSmoke ? 50 : 10000;
    simwia::SetExtraChildren(simwia::kScannerRoot, children);

    REALobject manager = host.New("WIADeviceManager2ZVK");
    host.Call<void>(manager, "Constructor");
    std::string id;
    for (const wchar_t* unit = simwia::kScannerId; *unit != 0; ++unit) id += static_cast<char>(*unit);
    simhost::REALstring idText = host.Str(id);
    REALobject root = host.Call<REALobject>(manager, "CreateDevice(DeviceID as string) as WIAItemZVK", idText);
    host.UnlockString(idText);
    if (root == nullptr) {
        std::printf("the simulated scanner did not open\n");
        ++gMissed;
        host.Unlock(manager);
        return;
    }

    REALobject storage = host.Call<REALobject>(root, "PropertyStorage as WIAPropertyStorageZVK");
    auto* raw = InterfaceIn<IWiaPropertyStorage>(host, storage, "Handle");
    auto read = Registered<REALobject (*)(REALobject, int64_t)>(host, "WIAPropertyStorageZVK", "Read(id as integer) as variant");
    for (PROPID property : {PROPID{WIA_DIP_DEV_TYPE}, PROPID{WIA_DIP_DEV_NAME}}) {
        const char* name = property == WIA_DIP_DEV_TYPE ? "Read of a VT_I4 property by id" : "Read of a VT_BSTR property by id";
        Compare(
            name, 20000, 2.0, [&] { host.Unlock(read(storage, int64_t{property})); },
            [&] {
                PROPVARIANT value;
                RawRead(raw, property, &value);
                PropVariantClear(&value);
            });
    }
    // The same reads against a raw read plus the host's own making of the variant: what the plug-in adds itself.
    Compare(
        "Read of a VT_I4 property, vs raw read and host variant", 20000, 0,
        [&] { host.Unlock(read(storage, int64_t{WIA_DIP_DEV_TYPE})); },
        [&] {
            PROPVARIANT value;
            RawRead(raw, WIA_DIP_DEV_TYPE, &value);
            zvk::host::UnlockObject(zvk::host::IntegerToVariant(value.lVal));
            PropVariantClear(&value);
        });
    Compare(
        "Read of a VT_BSTR property, vs raw read and host variant", 20000, 0,
        [&] { host.Unlock(read(storage, int64_t{WIA_DIP_DEV_NAME})); },
        [&] {
            PROPVARIANT value;
            RawRead(raw, WIA_DIP_DEV_NAME, &value);
            REALstring wide =
                zvk::host::BuildStringWithEncoding(reinterpret_cast<const char*>(value.bstrVal),
                                                   static_cast<int32_t>(SysStringByteLen(value.bstrVal)), zvk::encoding::kUTF16);
            REALstring text = zvk::host::ConvertString(wide, zvk::encoding::kUTF8);
            zvk::host::UnlockObject(zvk::host::StringToVariant(text));
            zvk::host::UnlockString(text);
            zvk::host::UnlockString(wide);
            PropVariantClear(&value);
        });
    // A script's Integer written over a VT_I4 property: the plug-in reads the device's type first and writes VT_I4.
    auto write = Registered<void (*)(REALobject, int64_t, REALobject)>(host, "WIAPropertyStorageZVK",
                                                                       "Write(id as integer, value as variant)");
    REALobject pages = simhost::NewVariant(host, 3, simhost::VariantKind::Integer, 1);
    Compare(
        "Write of an Integer to a VT_I4 property by id", 20000, 0, [&] { write(storage, int64_t{WIA_DPS_PAGES}, pages); },
        [&] {
            PROPSPEC spec{};
            spec.ulKind = PRSPEC_PROPID;
            spec.propid = WIA_DPS_PAGES;
            PROPVARIANT value{};
            value.vt = VT_I4;
            value.lVal = 1;
            raw->WriteMultiple(1, &spec, &value, WIA_DPS_PAGES);
        });
    host.Unlock(pages);
    host.Unlock(storage);

    auto enumerate = Registered<REALobject (*)(REALobject, REALobject)>(
        host, "WIAItemZVK", "EnumerateChildItems(CategoryGUID as WIAGUIDZVK=nil) as WIAItemEnumeratorZVK");
    auto next = Registered<REALobject (*)(REALobject)>(host, "WIAItemEnumeratorZVK", "NextItem as WIAItemZVK");
    volatile int walked = 0;
    auto* rootItem = InterfaceIn<IWiaItem2>(host, root, "Handle2");
    const std::string walk = "walk of " + std::to_string(children + 2) + " child items";
    Compare(
        walk.c_str(), 1, 2.0,
        [&] {
            REALobject items = enumerate(root, nullptr);
            while (REALobject item = next(items)) {
                host.Unlock(item);
                walked = walked + 1;
            }
            host.Unlock(items);
        },
        [&] {
            IEnumWiaItem2* items = nullptr;
            if (FAILED(rootItem->EnumChildItems(nullptr, &items))) return;
            IWiaItem2* item = nullptr;
            ULONG fetched = 0;
            while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
                item->Release();
                walked = walked + 1;
            }
            items->Release();
        });
    host.Unlock(root);
    host.Unlock(manager);
}

}  // namespace

int main(int argc, char** argv) {
    gSmoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    simwia::Install();
    simwia::ResetAll();
    int leaked = 0;
    {
        simhost::SimulatedClasses classes({GetModuleHandleW(nullptr)});  // the library is linked in
        simhost::SimHost host;
        host.Boot(&REALPluginMain);
        std::printf("%-58s %15s %15s %9s %9s\n", "path", "ours", "baseline", "ratio", "goal");
        TextPaths(host);
        DevicePaths(host);
        if (host.LiveStrings() != 0 || host.LiveObjects() != 0) {
            std::printf("leaked %lld host strings and %lld host objects\n", static_cast<long long>(host.LiveStrings()),
                        static_cast<long long>(host.LiveObjects()));
            leaked = 1;
        }
    }
    if (simwia::LiveObjects() != 0) {
        std::printf("leaked %ld simulated WIA objects\n", simwia::LiveObjects());
        leaked = 1;
    }
    simwia::Uninstall();
    simwia::ResetAll();
    CoUninitialize();
    return gMissed == 0 && leaked == 0 ? 0 : 1;
}
