// Start-up: negotiation with the host and registration of the 22 classes.
#pragma once

#include <cstdint>

#include "plugin/ClassRecords.h"

namespace zvk {

uint32_t ApiVersionForHost(double hostVersion);

// Adapts one flags word of a class table to the host version.
uint32_t AdaptFlags(uint32_t flags, double hostVersion);

// Rounds an instance-data size up to the host's 16-byte granularity.
uint64_t RoundDataSize(uint64_t size);

// The 22 class definitions in registration order.
ClassDefinition* const* RegisteredClasses(size_t* count);

}  // namespace zvk

extern "C" __declspec(dllexport) void REALPluginMain(zvk::HostResolver resolver);
