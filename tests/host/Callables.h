// The members of a registered class as the host calls them: every method, method setter, property getter and
// setter and shared member, with its function and its parameters; and a call with every argument passed as a
// 64-bit word, the way the host passes every declared type but Double and Single.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"

namespace simhost {

// One callable member: a method, a method's setter, a property getter or setter, shared or not.
struct Callable {
    std::string name;         // for the exception table
    std::string description;  // for messages
    const void* function;
    bool shared;
    std::vector<Param> params;      // after self (and the property's param word)
    std::vector<uint64_t> leading;  // fixed words after self: a property's param
    CType result;
    std::string resultName = "";
};

std::vector<Callable> CallablesOf(const ClassView& cls);

// Calls a registered function with its arguments in integer registers and stack slots; the result is RAX.
uint64_t InvokeWords(const void* function, const std::vector<uint64_t>& args);

// The host objects and strings made for one call's arguments, given back after the call. A byref slot owns what it holds, so
// whatever the callee left there is given back too.
struct CallArguments {
    SimHost& host;
    std::vector<REALobject> objects;
    std::vector<REALstring> strings;
    std::vector<std::pair<std::unique_ptr<uint64_t>, CType>> slots;

    explicit CallArguments(SimHost& h) : host(h) {}
    ~CallArguments() {
        for (auto& [slot, pointee] : slots) {
            if (pointee == CType::String) host.UnlockString(reinterpret_cast<REALstring>(*slot));
            if (pointee == CType::Object) host.Unlock(reinterpret_cast<REALobject>(*slot));
        }
        for (REALobject object : objects) host.Unlock(object);
        for (REALstring text : strings) host.UnlockString(text);
    }
    uint64_t Keep(REALobject object) {
        if (object != nullptr) objects.push_back(object);
        return reinterpret_cast<uint64_t>(object);
    }
    uint64_t Keep(REALarray array) { return Keep(reinterpret_cast<REALobject>(array)); }
    uint64_t Keep(REALstring text) {
        if (text != nullptr) strings.push_back(text);
        return reinterpret_cast<uint64_t>(text);
    }
    uint64_t Slot(CType pointee, uint64_t initial) {
        slots.emplace_back(std::make_unique<uint64_t>(initial), pointee);
        return reinterpret_cast<uint64_t>(slots.back().first.get());
    }
};

}  // namespace simhost
