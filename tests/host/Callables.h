// The members of a registered class as the host calls them: every method, method setter, property getter and
// setter and shared member, with its function and its parameters; and a call with every argument passed as a
// 64-bit word, the way the host passes every declared type but Double and Single.
#pragma once

#include <cstdint>
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

}  // namespace simhost
