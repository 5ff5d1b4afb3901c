// SimPlatform.cpp - the bookkeeping of the simulated platform: live objects, call log, failure plans, and the
// counting base that every simulated object derives from.
#include "tests/platform/SimModel.h"
#include "tests/platform/SimVideo.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>

namespace simwia {
namespace {

struct Plan {
    HRESULT hr;
    int times;  // < 0: until ResetFailures()
};

// Never destroyed, so objects released during static destruction still find it.
struct State {
    std::mutex mutex;
    std::vector<SimObject*> live;
    std::set<const SimObject*> dead;  // destroyed, their memory in the quarantine until ResetAll()
    std::vector<void*> quarantine;
    std::map<std::string, Plan> plans;
    std::map<std::string, int> counts;
    std::vector<std::string> sequence;
    std::vector<std::string> broken;  // rules broken since ForgetLeftovers()
};

State& Shared() {
    static State* state = new State;
    return *state;
}

[[noreturn]] void Fatal(const char* what, const char* detail) {
    std::fprintf(stderr, "simwia: %s: %s\n", what, detail);
    std::fflush(stderr);
    std::abort();
}

// True, with the rule broken recorded, when the object behind `self` was destroyed ("IUnknown::Release": the object
// frees itself when its count reaches zero, so no call may follow).
bool CalledAfterLastRelease(const Interface* self, const char* method) {
    {
        State& state = Shared();
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.dead.count(self->owner) == 0) return false;
    }
    RuleBroken("call after last Release: " + MethodName(self, method));
    return true;
}

void CountCall(const std::string& method) {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    ++state.counts[method];
}

HRESULT STDMETHODCALLTYPE UnknownQueryInterface(Interface* self, REFIID iid, void** out) {
    HRESULT hr;
    if (Intercept(self, "QueryInterface", &hr)) {
        if (out != nullptr) {
            *out = nullptr;
        }
        return hr;
    }
    return self->owner->QueryInterface(iid, out);
}

ULONG STDMETHODCALLTYPE UnknownAddRef(Interface* self) {
    if (CalledAfterLastRelease(self, "AddRef")) return 0;
    CountCall(MethodName(self, "AddRef"));
    return self->owner->AddRef();
}

ULONG STDMETHODCALLTYPE UnknownRelease(Interface* self) {
    if (CalledAfterLastRelease(self, "Release")) return 0;
    CountCall(MethodName(self, "Release"));
    return self->owner->Release();
}

}  // namespace

std::string MethodName(const Interface* self, const char* method) {
    return std::string(self->name) + "::" + method;
}

bool Intercept(const char* method, HRESULT* planned) {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    ++state.counts[method];
    state.sequence.push_back(method);
    auto plan = state.plans.find(method);
    if (plan == state.plans.end()) {
        return false;
    }
    *planned = plan->second.hr;
    if (plan->second.times > 0 && --plan->second.times == 0) {
        state.plans.erase(plan);
    }
    return true;
}

bool Intercept(const Interface* self, const char* method, HRESULT* planned) {
    if (CalledAfterLastRelease(self, method)) {
        *planned = E_UNEXPECTED;
        return true;
    }
    return Intercept(MethodName(self, method).c_str(), planned);
}

HRESULT Stub(const Interface* self, const char* method) {
    HRESULT hr;
    return Intercept(self, method, &hr) ? hr : E_NOTIMPL;
}

const Slot* MakeVtable(const char* iface, int count, std::initializer_list<SlotDef> slots) {
    if (count < 3) {
        Fatal("vtable too short", iface);
    }
    Slot* table = new Slot[count]();
    table[0] = ToSlot(&UnknownQueryInterface);
    table[1] = ToSlot(&UnknownAddRef);
    table[2] = ToSlot(&UnknownRelease);
    for (const SlotDef& def : slots) {
        if (def.slot < 3 || def.slot >= count || table[def.slot] != nullptr || def.function == nullptr) {
            Fatal("bad slot definition", iface);
        }
        table[def.slot] = def.function;
    }
    if (std::find(table, table + count, nullptr) != table + count) {
        Fatal("vtable slot left empty", iface);
    }
    return table;
}

SimObject::SimObject() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.live.push_back(this);
}

SimObject::~SimObject() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.live.erase(std::remove(state.live.begin(), state.live.end(), this), state.live.end());
    state.dead.insert(this);
}

void* SimObject::operator new(std::size_t size) {
    return ::operator new(size);
}

void SimObject::operator delete(void* memory) noexcept {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.quarantine.push_back(memory);
}

ULONG SimObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG SimObject::Release() {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

ULONG SimObject::Count() const {
    return static_cast<ULONG>(refs_);
}

HRESULT SimObject::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    for (Interface* face : faces_) {
        if (IsEqualIID(iid, *face->iid) || (IsEqualIID(iid, IID_IUnknown) && face == faces_.front())) {
            *out = face;
            AddRef();
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

IUnknown* SimObject::Unknown() {
    return reinterpret_cast<IUnknown*>(faces_.front());
}

bool SimObject::Owns(const void* pointer) const {
    return std::find(faces_.begin(), faces_.end(), pointer) != faces_.end();
}

void SimObject::AddInterface(Interface* face, const char* name, const IID& iid, const Slot* vtbl) {
    face->vtbl = vtbl;
    face->owner = this;
    face->name = name;
    face->iid = &iid;
    faces_.push_back(face);
}

long LiveObjects() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    return static_cast<long>(state.live.size());
}

long OutstandingReferences() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    long sum = 0;
    for (const SimObject* object : state.live) {
        sum += static_cast<long>(object->Count());
    }
    return sum;
}

std::vector<std::string> LiveObjectNames() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<std::string> names;
    for (SimObject* object : state.live)
        names.push_back(std::string(reinterpret_cast<Interface*>(object->Unknown())->name) + " " +
                        std::to_string(object->Count()));
    return names;
}

SimObject* FindObject(const void* pointer) {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (SimObject* live : state.live) {
        if (live->Owns(pointer)) {
            return live;
        }
    }
    return nullptr;
}

bool IsLive(const SimObject* object) {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    return std::find(state.live.begin(), state.live.end(), object) != state.live.end();
}

std::map<const SimObject*, ULONG> CountsNow() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::map<const SimObject*, ULONG> counts;
    for (const SimObject* object : state.live) counts[object] = object->Count();
    return counts;
}

ULONG CountOf(IUnknown* object) {
    if (const SimObject* simulated = FindObject(object)) return simulated->Count();
    object->AddRef();
    return object->Release();
}

ULONG RefCount(IUnknown* object) {
    const SimObject* live = FindObject(object);
    return live == nullptr ? 0 : live->Count();
}

void FailNext(const char* method, HRESULT hr, int times) {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (times == 0) {
        state.plans.erase(method);
    } else {
        state.plans[method] = Plan{hr, times};
    }
}

void ResetFailures() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.plans.clear();
}

int CallCount(const char* method) {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    auto count = state.counts.find(method);
    return count == state.counts.end() ? 0 : count->second;
}

std::vector<std::string> CallSequence() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.sequence;
}

void ResetCounts() {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.counts.clear();
    state.sequence.clear();
}

void RuleBroken(const std::string& what) {
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.broken.push_back(what);
}

std::vector<std::string> Leftovers() {
    std::vector<std::string> leftovers = BlocksNotFreed();
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    leftovers.insert(leftovers.end(), state.broken.begin(), state.broken.end());
    return leftovers;
}

void ForgetLeftovers() {
    ForgetBlocks();
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.broken.clear();
}

void ResetAll() {
    ResetFailures();
    ResetCounts();
    ResetModel();
    ResetVideo();
    FreeQuarantinedBlocks();
    State& state = Shared();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (void* memory : state.quarantine) ::operator delete(memory);
    state.quarantine.clear();
    state.dead.clear();
}

}  // namespace simwia
