// SimObject.h - building blocks of the simulated WIA objects (for files under tests/platform only).
//
// A simulated object owns one Interface record per COM interface it answers. An Interface *is* the COM pointer
// handed out: its first field is the vtable, a plain array of function pointers written down slot by slot from
// Microsoft's documentation. This deliberately does not use the library's interface declarations, so a slot the
// library gets wrong lands on a different simulated method (and shows in the call log) instead of being mirrored.
// Slot functions take `Interface* self` first, then the documented arguments; interface pointers they pass or
// return are typed IUnknown* (same representation).
//
// An object's memory outlives its last Release until ResetAll(), so that a caller still holding one of its pointers
// reaches a record of the call ("call after last Release: IStream::Read") instead of freed memory. Memory the
// platform hands to its caller is registered where it is made (HandOut...), so that the caller's frees are checked.
#pragma once

#include "tests/platform/SimPlatform.h"

#include <cstddef>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace simwia {

using Slot = void (*)();  // any function pointer fits; the caller calls it through its own declared type

template <typename Function>
Slot ToSlot(Function* function) {
    return reinterpret_cast<Slot>(function);
}

class SimObject;

struct Interface {
    const Slot* vtbl;  // must stay the first field
    SimObject* owner;
    const char* name;  // "IWiaDevMgr2": prefix of the method names in the call log
    const IID* iid;
};

struct SlotDef {
    int slot;
    Slot function;
};

// Returns a vtable of `count` slots that lives until the process ends: slots 0 to 2 are the shared IUnknown
// entries, the others come from `slots`. Aborts if a slot is missing, repeated or out of range.
const Slot* MakeVtable(const char* iface, int count, std::initializer_list<SlotDef> slots);

// Counting base of every simulated object: registered as live from construction to deletion, interlocked
// reference count starting at 1, destroyed when it reaches 0. QueryInterface answers IUnknown (the first
// interface) and the IIDs of the interfaces added, nothing else. A destroyed object's memory stays reserved until
// ResetAll(); AddRef, Release, QueryInterface and every intercepted method called through one of its interfaces
// after that record a rule broken and touch nothing, the methods answering E_UNEXPECTED.
class SimObject {
public:
    SimObject();
    virtual ~SimObject();
    static void* operator new(std::size_t size);
    static void operator delete(void* memory) noexcept;  // into the quarantine, freed by ResetAll()
    SimObject(const SimObject&) = delete;
    SimObject& operator=(const SimObject&) = delete;

    ULONG AddRef();
    ULONG Release();
    ULONG Count() const;
    HRESULT QueryInterface(REFIID iid, void** out);

    // The first interface added; the pointer returned by the factories, carrying the initial reference.
    IUnknown* Unknown();
    bool Owns(const void* pointer) const;

protected:
    void AddInterface(Interface* face, const char* name, const IID& iid, const Slot* vtbl);

private:
    volatile LONG refs_ = 1;
    std::vector<Interface*> faces_;
};

// The live simulated object that `pointer` (one of its interfaces) belongs to, without a reference; nullptr when none.
SimObject* FindObject(const void* pointer);
// Whether a simulated object is still alive, and the reference count of every live one now.
bool IsLive(const SimObject* object);
std::map<const SimObject*, ULONG> CountsNow();
// The reference count of any COM object, left as it was: read for a simulated object, otherwise the value Release
// answers after an AddRef ("IUnknown::Release": the value is meant for tests).
ULONG CountOf(IUnknown* object);

// Counts the call of "<face name>::<method>" and tells whether a failure is planned for it; a call through a
// destroyed object is a rule broken, answered E_UNEXPECTED as planned.
bool Intercept(const Interface* self, const char* method, HRESULT* planned);
bool Intercept(const char* method, HRESULT* planned);

// Body of a method that is not simulated yet: the planned result, otherwise E_NOTIMPL.
HRESULT Stub(const Interface* self, const char* method);

std::string MethodName(const Interface* self, const char* method);

// Records a broken rule of the platform's contract; the test fails at its end with `what`.
void RuleBroken(const std::string& what);

// --- memory handed to the caller ("Memory Management Rules": out-parameters are freed by the caller) ---------------

// Registers a block the platform hands out at the site that made it, named by where it comes from
// ("IWiaDevMgr2::GetImageDlg"); each must be freed exactly once, a BSTR with SysFreeString, a CoTaskMemAlloc block
// with CoTaskMemFree (or both through PropVariantClear and ReleaseStgMedium). Null is returned as null.
BSTR HandOutBstr(BSTR text, const std::string& from);
void* HandOutBlock(void* block, const std::string& from);
template <typename T>
T* HandOut(T* block, const std::string& from) {
    return static_cast<T*>(HandOutBlock(block, from));
}
// Registers every block inside a value the platform hands out (strings, GUID, vector elements, blob).
void HandOutValue(const PROPVARIANT& value, const std::string& from);

}  // namespace simwia
