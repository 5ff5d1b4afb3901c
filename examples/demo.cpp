// Loads the plug-in in the simulated host and lists what it registered: each class with its bound
// properties, methods, shared members, constants and events, the way the host's IDE would see them.
#include <objbase.h>

#include <cstdio>

#include "tests/host/SimHost.h"

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const char* dll = argc > 1 ? argv[1] : "WIAZVK.dll";
    int status = 0;
    try {
        simhost::SimHost host;
        host.Load(dll);
        std::printf("%s registered %zu classes at interface level %d\n", dll, host.Classes().size(),
                    host.registeredLevels.empty() ? 0 : host.registeredLevels.back());
        for (const simhost::ClassView& cls : host.Classes()) {
            std::printf("\n%s (%llu bytes of instance data)\n", cls.name.c_str(),
                        static_cast<unsigned long long>(cls.dataSize));
            for (const auto& property : cls.properties)
                std::printf("  property  %s as %s\n", property.name.c_str(), property.type.c_str());
            for (const auto& property : cls.sharedProperties)
                std::printf("  shared    %s as %s\n", property.name.c_str(), property.type.c_str());
            for (const auto& method : cls.methods) std::printf("  method    %s\n", method.declaration.c_str());
            for (const auto& method : cls.sharedMethods) std::printf("  shared    %s\n", method.declaration.c_str());
            for (const auto& constant : cls.constants) std::printf("  const     %s\n", constant.c_str());
            for (const auto& event : cls.events) std::printf("  event     %s\n", event.c_str());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo failed: %s\n", error.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}
