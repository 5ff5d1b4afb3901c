// Routes the frees of memory the simulated platform hands out through its checks, for the life of the object: in
// each module given (the plug-in, and the test program for its own raw COM clients), the imports of SysFreeString,
// CoTaskMemFree, PropVariantClear and ReleaseStgMedium ask the platform first (simwia::FreeHandedBstr ...) and free
// as the system does only what the platform did not hand out, and every stream SHCreateStreamOnFileW makes comes
// back counted (simwia::CountedFileStream). A module is hooked for the functions it imports.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "tests/host/ImportHook.h"

namespace simhost {

class PlatformHooks {
public:
    explicit PlatformHooks(std::vector<HMODULE> modules);
    ~PlatformHooks();
    PlatformHooks(const PlatformHooks&) = delete;
    PlatformHooks& operator=(const PlatformHooks&) = delete;

private:
    std::vector<std::unique_ptr<ImportHook>> hooks_;  // given back in reverse order
};

// Routes the CoCreateInstance imports of the modules given to the simulated platform's classes (simwia::Install) for
// the life of the object; the system answers every other class.
class SimulatedClasses {
public:
    explicit SimulatedClasses(std::vector<HMODULE> modules);
    ~SimulatedClasses();
    SimulatedClasses(const SimulatedClasses&) = delete;
    SimulatedClasses& operator=(const SimulatedClasses&) = delete;

private:
    std::vector<std::unique_ptr<ImportHook>> hooks_;
};

}  // namespace simhost
