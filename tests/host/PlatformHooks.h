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

// Imports of the modules given that a table names, redirected for the life of the object and given back in reverse
// order; a module is hooked for the functions it imports.
class ImportHooks {
public:
    struct Replacement {
        const char* dll;
        const char* function;
        void* replacement;
    };
    ImportHooks(std::vector<HMODULE> modules, const std::vector<Replacement>& replacements);
    ~ImportHooks();
    ImportHooks(const ImportHooks&) = delete;
    ImportHooks& operator=(const ImportHooks&) = delete;

private:
    std::vector<std::unique_ptr<ImportHook>> hooks_;
};

class PlatformHooks : public ImportHooks {
public:
    explicit PlatformHooks(std::vector<HMODULE> modules);
};

// Routes the CoCreateInstance imports of the modules given to the simulated platform's classes (simwia::Install) for
// the life of the object; the system answers every other class.
class SimulatedClasses : public ImportHooks {
public:
    explicit SimulatedClasses(std::vector<HMODULE> modules);
};

}  // namespace simhost
