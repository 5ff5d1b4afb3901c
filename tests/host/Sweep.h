// The makers the sweeps (tests/Sweep_test.cpp) draw on: for each registered class, functions that make a properly made
// instance as a script would, through the plug-in's own methods against the simulated devices, told apart by a label
// ("WIA 1.0", "WIA 2.0"). A suite registers the maker of the class it covers next to its tests (the device-access
// classes' are in tests/Sweep_test.cpp):
//     const sweep::Registration kVideo("WIAVideoZVK", [](simhost::SimHost& host) { ... return object; });
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"

namespace sweep {

// One reference to a new, properly made instance, or null when the class cannot make one here.
using Maker = simhost::REALobject (*)(simhost::SimHost& host);
struct NamedMaker {
    std::string label;
    Maker make;
};

inline std::map<std::string, std::vector<NamedMaker>>& Makers() {
    static std::map<std::string, std::vector<NamedMaker>> makers;
    return makers;
}

struct Registration {
    Registration(const char* className, Maker maker, const char* label = "made") {
        Makers()[className].push_back({label, maker});
    }
};

// An instance of a class by its first maker; null when there is none or it made none.
inline simhost::REALobject Make(simhost::SimHost& host, const std::string& className) {
    return Makers().count(className) != 0 ? Makers()[className].front().make(host) : nullptr;
}

// Suites whose tests are known only at run time (one per registered class) add them here; main runs each first.
inline std::vector<void (*)()>& RunTimeSuites() {
    static std::vector<void (*)()> suites;
    return suites;
}

}  // namespace sweep
