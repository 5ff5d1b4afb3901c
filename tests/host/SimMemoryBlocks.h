// The simulated host's memory blocks: "PtrToMemoryBlock" makes a builtin "MemoryBlock" object over an address
// (no copy, no size), counted like every host object; a script handler reads the bytes through its address.
#pragma once

#include <cstdint>

#include "tests/host/SimHost.h"

namespace simhost {

// The address a memory block stands for; null for nil.
const uint8_t* MemoryBlockAddress(SimHost& host, REALobject block);
// How many memory blocks "PtrToMemoryBlock" made since the host started.
int64_t MemoryBlocksMade();

}  // namespace simhost
