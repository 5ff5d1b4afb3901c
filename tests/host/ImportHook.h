// Replaces one imported function in a loaded module's import address table for the life of the
// object, so that tests can count or fail the system calls the library makes (the library keeps
// calling the real names; only its table entry is redirected).
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

namespace simhost {

class ImportHook {
public:
    // module: the plug-in DLL (black-box) or this program (white-box); dll is matched case-insensitively.
    ImportHook(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool installed() const { return slot_ != nullptr; }
    void* original() const { return original_; }
    // Whether the module imports that function by name.
    static bool Imports(HMODULE module, const char* dll, const char* function);

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// GlobalAlloc through the hook: counts calls and fails those the predicate picks (by size and call number,
// counted from 1 since the hook was made).
class GlobalAllocHook {
public:
    explicit GlobalAllocHook(HMODULE module, std::function<bool(size_t bytes, int call)> fail = {});
    ~GlobalAllocHook();
    int calls() const;

private:
    ImportHook hook_;
};

// FormatMessageA through the hook, counted.
class FormatMessageHook {
public:
    explicit FormatMessageHook(HMODULE module);
    ~FormatMessageHook();
    int calls() const;

private:
    ImportHook hook_;
};

}  // namespace simhost
