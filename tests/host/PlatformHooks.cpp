#include "tests/host/PlatformHooks.h"

#include <oleauto.h>
#include <ole2.h>
#include <shlwapi.h>

#include <algorithm>
#include <utility>

#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

// The system's function of that name, whatever a module's import table says.
template <typename Function>
Function System(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Function>(GetProcAddress(GetModuleHandleW(dll), name));
}

void WINAPI CheckedSysFreeString(BSTR text) {
    static const auto system = System<decltype(&SysFreeString)>(L"oleaut32.dll", "SysFreeString");
    if (!simwia::FreeHandedBstr(text)) system(text);
}

void WINAPI CheckedCoTaskMemFree(void* block) {
    static const auto system = System<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (!simwia::FreeHandedBlock(block)) system(block);
}

HRESULT WINAPI CheckedPropVariantClear(PROPVARIANT* value) {
    static const auto system = System<decltype(&PropVariantClear)>(L"ole32.dll", "PropVariantClear");
    return simwia::ClearHandedValue(value) ? S_OK : system(value);
}

void WINAPI CheckedReleaseStgMedium(STGMEDIUM* medium) {
    static const auto system = System<decltype(&ReleaseStgMedium)>(L"ole32.dll", "ReleaseStgMedium");
    simwia::ReleaseHandedFileName(medium);
    system(medium);
}

HRESULT WINAPI CountedSHCreateStreamOnFileW(LPCWSTR file, DWORD mode, IStream** stream) {
    static const auto system = System<decltype(&SHCreateStreamOnFileW)>(L"shlwapi.dll", "SHCreateStreamOnFileW");
    const HRESULT hr = system(file, mode, stream);
    if (SUCCEEDED(hr) && stream != nullptr) *stream = simwia::CountedFileStream(*stream);
    return hr;
}

HRESULT WINAPI SimulatedCoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out) {
    static const auto system = System<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    HRESULT hr;
    return simwia::CreateSimulated(clsid, outer, context, iid, out, &hr) ? hr : system(clsid, outer, context, iid, out);
}

const std::vector<ImportHooks::Replacement> kFrees = {
    {"oleaut32.dll", "SysFreeString", reinterpret_cast<void*>(&CheckedSysFreeString)},
    {"ole32.dll", "CoTaskMemFree", reinterpret_cast<void*>(&CheckedCoTaskMemFree)},
    {"ole32.dll", "PropVariantClear", reinterpret_cast<void*>(&CheckedPropVariantClear)},
    {"ole32.dll", "ReleaseStgMedium", reinterpret_cast<void*>(&CheckedReleaseStgMedium)},
    {"shlwapi.dll", "SHCreateStreamOnFileW", reinterpret_cast<void*>(&CountedSHCreateStreamOnFileW)},
};

}  // namespace

ImportHooks::ImportHooks(std::vector<HMODULE> modules, const std::vector<Replacement>& replacements) {
    std::sort(modules.begin(), modules.end());
    modules.erase(std::unique(modules.begin(), modules.end()), modules.end());
    for (HMODULE module : modules) {
        for (const Replacement& r : replacements)
            if (module != nullptr && ImportHook::Imports(module, r.dll, r.function))
                hooks_.push_back(std::make_unique<ImportHook>(module, r.dll, r.function, r.replacement));
    }
}

ImportHooks::~ImportHooks() {
    while (!hooks_.empty()) hooks_.pop_back();
}

PlatformHooks::PlatformHooks(std::vector<HMODULE> modules) : ImportHooks(std::move(modules), kFrees) {}

SimulatedClasses::SimulatedClasses(std::vector<HMODULE> modules)
    : ImportHooks(std::move(modules), {{"ole32.dll", "CoCreateInstance", reinterpret_cast<void*>(&SimulatedCoCreateInstance)}}) {}

}  // namespace simhost
