// Memory blocks of the simulated host.
#include "tests/host/SimMemoryBlocks.h"

namespace simhost {
namespace {

constexpr const char* kAddressProperty = "Address";

int64_t gMade = 0;  // per host; cleared when a host starts

REALobject PtrToMemoryBlock(void* address) {
    SimHost& host = SimHost::Current();
    REALobject block = host.NewBuiltin("MemoryBlock");
    if (block == nullptr) return nullptr;
    ++gMade;
    host.SetDynamic(block, kAddressProperty, static_cast<int64_t>(reinterpret_cast<uintptr_t>(address)));
    return block;
}

void Install(SimHost& host) {
    gMade = 0;
    host.DefineBuiltin("MemoryBlock");
    host.entries["PtrToMemoryBlock"] = reinterpret_cast<void*>(PtrToMemoryBlock);
}

Extension gMemoryBlocks(Install);

}  // namespace

const uint8_t* MemoryBlockAddress(SimHost& host, REALobject block) {
    int64_t address = 0;
    if (block == nullptr || !host.GetDynamicInt(block, kAddressProperty, &address)) return nullptr;
    return reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(address));
}

int64_t MemoryBlocksMade() {
    return gMade;
}

}  // namespace simhost
