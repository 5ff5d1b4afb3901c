// SimMemory.cpp - the memory the simulated platform hands to its caller. Every block is registered where it is made;
// every free the fixture routes here is checked against the caller's duty ("Memory Management Rules": out-parameters
// are freed by the caller, with the allocator they came from): a BSTR with SysFreeString ("SysFreeString function"), a
// CoTaskMemAlloc block with CoTaskMemFree ("CoTaskMemFree function"), each once. A freed block is kept until ResetAll,
// so that its address cannot come back from the allocator and hide a second free.
#include "tests/platform/SimModel.h"

#include <oleauto.h>

#include <cstring>
#include <map>
#include <mutex>

namespace simwia {
namespace {

enum class Kind { kBstr, kTaskMemory };

struct Block {
    Kind kind;
    std::string from;
    bool freed = false;
};

// Never destroyed, like the other records: blocks may be freed during static destruction.
struct Blocks {
    std::mutex mutex;
    std::map<const void*, Block> handed;
};

Blocks& Shared() {
    static Blocks* blocks = new Blocks;
    return *blocks;
}

std::string Describe(const Block& block) {
    return (block.kind == Kind::kBstr ? "BSTR from " : "CoTaskMem block from ") + block.from;
}

void Register(const void* block, Kind kind, const std::string& from) {
    if (block == nullptr) return;
    Blocks& blocks = Shared();
    std::lock_guard<std::mutex> lock(blocks.mutex);
    blocks.handed[block] = Block{kind, from};  // an entry at the same address was freed where no hook saw it
}

// The system's frees themselves, past any import hook.
void SystemFree(const void* block, Kind kind) {
    static const auto freeString =
        reinterpret_cast<decltype(&SysFreeString)>(GetProcAddress(GetModuleHandleW(L"oleaut32.dll"), "SysFreeString"));
    static const auto freeTask =
        reinterpret_cast<decltype(&CoTaskMemFree)>(GetProcAddress(GetModuleHandleW(L"ole32.dll"), "CoTaskMemFree"));
    if (kind == Kind::kBstr) {
        freeString(static_cast<BSTR>(const_cast<void*>(block)));
    } else {
        freeTask(const_cast<void*>(block));
    }
}

// Marks a block the platform handed out as freed by `function`; false for any other block.
bool Reclaim(const void* block, Kind kind, const char* function) {
    if (block == nullptr) return false;
    std::string broken;
    {
        Blocks& blocks = Shared();
        std::lock_guard<std::mutex> lock(blocks.mutex);
        auto found = blocks.handed.find(block);
        if (found == blocks.handed.end()) return false;
        Block& handed = found->second;
        if (handed.freed) {
            broken = Describe(handed) + " freed twice (" + function + ")";
        } else if (handed.kind != kind) {
            broken = Describe(handed) + " freed with " + function;
        }
        handed.freed = true;
    }
    if (!broken.empty()) RuleBroken(broken);
    return true;
}

// Calls visit(block, kind) for every block a PROPVARIANT owns, the elements of a vector before the vector itself, as
// PropVariantClear frees them ("PropVariantClear function"). Interfaces and SAFEARRAYs are not blocks of this kind.
template <typename Visit>
void ForEachBlock(const PROPVARIANT& value, const Visit& visit) {
    switch (value.vt) {
        case VT_BSTR:
            return visit(value.bstrVal, Kind::kBstr);
        case VT_LPSTR:
            return visit(value.pszVal, Kind::kTaskMemory);
        case VT_LPWSTR:
            return visit(value.pwszVal, Kind::kTaskMemory);
        case VT_CLSID:
            return visit(value.puuid, Kind::kTaskMemory);
        case VT_BLOB:
        case VT_BLOB_OBJECT:
            return visit(value.blob.pBlobData, Kind::kTaskMemory);
        case VT_CF:
            if (value.pclipdata != nullptr) visit(value.pclipdata->pClipData, Kind::kTaskMemory);
            return visit(value.pclipdata, Kind::kTaskMemory);
        default:
            break;
    }
    if ((value.vt & VT_VECTOR) == 0 || value.cac.pElems == nullptr) return;
    const VARTYPE element = value.vt & ~VT_VECTOR;
    for (ULONG i = 0; i < value.cac.cElems; ++i) {
        if (element == VT_BSTR) visit(value.cabstr.pElems[i], Kind::kBstr);
        if (element == VT_LPSTR) visit(value.calpstr.pElems[i], Kind::kTaskMemory);
        if (element == VT_LPWSTR) visit(value.calpwstr.pElems[i], Kind::kTaskMemory);
        if (element == VT_CF) visit(value.caclipdata.pElems[i].pClipData, Kind::kTaskMemory);
        if (element == VT_VARIANT) ForEachBlock(value.capropvar.pElems[i], visit);
    }
    visit(value.cac.pElems, Kind::kTaskMemory);
}

// Forgets the blocks freed so far (and, with `all`, those never freed), really freeing the freed ones.
void Forget(bool all) {
    std::vector<std::pair<const void*, Kind>> freed;
    {
        Blocks& blocks = Shared();
        std::lock_guard<std::mutex> lock(blocks.mutex);
        for (auto entry = blocks.handed.begin(); entry != blocks.handed.end();) {
            if (entry->second.freed) freed.emplace_back(entry->first, entry->second.kind);
            entry = entry->second.freed || all ? blocks.handed.erase(entry) : std::next(entry);
        }
    }
    for (const auto& [block, kind] : freed) SystemFree(block, kind);
}

}  // namespace

BSTR HandOutBstr(BSTR text, const std::string& from) {
    Register(text, Kind::kBstr, from);
    return text;
}

void* HandOutBlock(void* block, const std::string& from) {
    Register(block, Kind::kTaskMemory, from);
    return block;
}

void HandOutValue(const PROPVARIANT& value, const std::string& from) {
    ForEachBlock(value, [&from](const void* block, Kind kind) { Register(block, kind, from); });
}

void FreeQuarantinedBlocks() {
    Forget(false);
}

std::vector<std::string> BlocksNotFreed() {
    Blocks& blocks = Shared();
    std::lock_guard<std::mutex> lock(blocks.mutex);
    std::vector<std::string> names;
    for (const auto& entry : blocks.handed)
        if (!entry.second.freed) names.push_back("not freed: " + Describe(entry.second));
    return names;
}

void ForgetBlocks() {
    Forget(true);
}

// --- SimPlatform.h ------------------------------------------------------------------------------------------------

bool FreeHandedBstr(BSTR text) {
    return Reclaim(text, Kind::kBstr, "SysFreeString");
}

bool FreeHandedBlock(void* block) {
    return Reclaim(block, Kind::kTaskMemory, "CoTaskMemFree");
}

bool ClearHandedValue(PROPVARIANT* value) {
    if (value == nullptr) return false;
    bool handed = false;
    ForEachBlock(*value,
                 [&handed](const void* block, Kind kind) { handed = Reclaim(block, kind, "PropVariantClear") || handed; });
    if (handed) std::memset(value, 0, sizeof *value);
    return handed;
}

// A file medium without a release object is the receiver's: its file is deleted and its name freed
// ("ReleaseStgMedium function").
void ReleaseHandedFileName(STGMEDIUM* medium) {
    if (medium == nullptr || medium->tymed != TYMED_FILE || !Reclaim(medium->lpszFileName, Kind::kTaskMemory, "ReleaseStgMedium"))
        return;
    if (medium->pUnkForRelease == nullptr) DeleteFileW(medium->lpszFileName);
    medium->lpszFileName = nullptr;
}

}  // namespace simwia
