#include "tests/host/ImportHook.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace simhost {
namespace {

void** FindSlot(HMODULE module, const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void Write(void** slot, void* value) {
    DWORD old;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old, &old);
}

struct AllocState {
    void* original = nullptr;
    std::function<bool(size_t, int)> fail;
    int calls = 0;
} gAlloc;

HGLOBAL WINAPI CountingGlobalAlloc(UINT flags, SIZE_T bytes) {
    ++gAlloc.calls;
    if (gAlloc.fail && gAlloc.fail(bytes, gAlloc.calls)) return nullptr;
    return reinterpret_cast<decltype(&GlobalAlloc)>(gAlloc.original)(flags, bytes);
}

struct FormatState {
    void* original = nullptr;
    int calls = 0;
} gFormat;

DWORD WINAPI CountingFormatMessageA(DWORD flags, LPCVOID source, DWORD id, DWORD language, LPSTR buffer, DWORD size,
                                    va_list* arguments) {
    ++gFormat.calls;
    return reinterpret_cast<decltype(&FormatMessageA)>(gFormat.original)(flags, source, id, language, buffer, size, arguments);
}

}  // namespace

ImportHook::ImportHook(HMODULE module, const char* dll, const char* function, void* replacement) {
    slot_ = FindSlot(module, dll, function);
    if (slot_ == nullptr) throw std::runtime_error(std::string("no import of ") + function + " from " + dll);
    original_ = *slot_;
    Write(slot_, replacement);
}

ImportHook::~ImportHook() {
    if (slot_ != nullptr) Write(slot_, original_);
}

bool ImportHook::Imports(HMODULE module, const char* dll, const char* function) {
    return FindSlot(module, dll, function) != nullptr;
}

GlobalAllocHook::GlobalAllocHook(HMODULE module, std::function<bool(size_t, int)> fail)
    : hook_(module, "kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(CountingGlobalAlloc)) {
    gAlloc = AllocState{hook_.original(), std::move(fail), 0};
}

GlobalAllocHook::~GlobalAllocHook() {
    gAlloc = AllocState{};
}

int GlobalAllocHook::calls() const {
    return gAlloc.calls;
}

FormatMessageHook::FormatMessageHook(HMODULE module)
    : hook_(module, "kernel32.dll", "FormatMessageA", reinterpret_cast<void*>(CountingFormatMessageA)) {
    gFormat = FormatState{hook_.original(), 0};
}

FormatMessageHook::~FormatMessageHook() {
    gFormat = FormatState{};
}

int FormatMessageHook::calls() const {
    return gFormat.calls;
}

}  // namespace simhost
