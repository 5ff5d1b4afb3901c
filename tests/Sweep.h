// The makers the declaration and fault sweeps draw on: for each registered class, a function that makes a
// properly made instance the way a script would (through the plug-in's own methods, against the simulated
// devices). A suite registers the maker of the class it covers next to its tests:
//
//     const sweep::Registration kVideo("WIAVideoZVK", [](simhost::SimHost& host) { ... return object; });
//
// The sweeps call every registered method, getter and setter of the class on that object; a registered class
// without a maker fails the sweep.
#pragma once

#include <map>
#include <string>

#include "tests/host/SimHost.h"

namespace sweep {

// One reference to a new, properly made instance, or null when the class cannot make one here.
using Maker = simhost::REALobject (*)(simhost::SimHost& host);

inline std::map<std::string, Maker>& Makers() {
    static std::map<std::string, Maker> makers;
    return makers;
}

struct Registration {
    Registration(const char* className, Maker maker) { Makers()[className] = maker; }
};

// Makes an instance of a class by its maker; null when there is none or it made none.
inline simhost::REALobject Make(simhost::SimHost& host, const std::string& className) {
    auto found = Makers().find(className);
    return found == Makers().end() ? nullptr : found->second(host);
}

}  // namespace sweep
