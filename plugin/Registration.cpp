#include "plugin/Registration.h"

#include <objbase.h>

#include <iterator>

#include "plugin/Globals.h"
#include "plugin/HostApi.h"
#include "wia/Classes.h"

namespace zvk {

double HostVersion = 0;
uint32_t PluginApiVersion = 9;

namespace {

// Registration order: alphabetical by the name without its suffix, a name before its extensions.
ClassDefinition* const kClasses[] = {
    &gDataCallbackClass,
    &gDataTransferClass,
    &gDataTransferInfoClass,
    &gDeviceCapabilitiesClass,
    &gDeviceCapabilitiesEnumeratorClass,
    &gDeviceInfoEnumeratorClass,
    &gDeviceManager1Class,
    &gDeviceManager2Class,
    &gExtendedTransferInfoClass,
    &gFormatInfoClass,
    &gFormatInfoEnumeratorClass,
    &gGUIDClass,
    &gItemClass,
    &gItemEnumeratorClass,
    &gPropertyClass,
    &gPropertyEnumeratorClass,
    &gPropertyStorageClass,
    &gStreamClass,
    &gTransferClass,
    &gTransferCallbackClass,
    &gTransferParamsClass,
    &gVideoClass,
};
static_assert(std::size(kClasses) == 22, "the plug-in describes 22 classes");

// Hosts before 2021.03 know no DesktopWindow: those overloads are the last entries of these tables.
struct DesktopWindowOverloads {
    ClassDefinition* cls;
    uint64_t count;
};

void TrimDesktopWindowOverloads() {
    const DesktopWindowOverloads trims[] = {
        {&gDeviceManager1Class, 4},
        {&gDeviceManager2Class, 4},
        {&gItemClass, 2},
        {&gVideoClass, 3},
    };
    for (const auto& trim : trims) {
        ClassDefinition& cls = *trim.cls;
        cls.methodCount = cls.methodCount >= trim.count ? cls.methodCount - trim.count : 0;
    }
}

void AdaptTableFlags(MethodDefinition* table, uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) table[i].flags = AdaptFlags(table[i].flags, HostVersion);
}

void AdaptTableFlags(PropertyDefinition* table, uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) table[i].flags = AdaptFlags(table[i].flags, HostVersion);
}

void RegisterOneClass(ClassDefinition& cls) {
    cls.flags = AdaptFlags(cls.flags, HostVersion);
    AdaptTableFlags(cls.methods, cls.methodCount);
    AdaptTableFlags(cls.sharedMethods, cls.sharedMethodCount);
    AdaptTableFlags(cls.properties, cls.propertyCount);
    AdaptTableFlags(cls.sharedProperties, cls.sharedPropertyCount);
    cls.dataSize = RoundDataSize(cls.dataSize);
    cls.version = PluginApiVersion;
    host::RegisterHostClass(&cls);
}

void RegisterClasses() {
    if (host::InRuntime()) CoInitialize(nullptr);
    if (HostVersion < 2021.03) TrimDesktopWindowOverloads();
    for (ClassDefinition* cls : kClasses) RegisterOneClass(*cls);
}

}  // namespace

uint32_t ApiVersionForHost(double hostVersion) {
    if (hostVersion >= 2013.04) return 13;
    if (hostVersion >= 2013.03) return 12;
    if (hostVersion >= 2013.0) return 11;
    if (hostVersion >= 2012.0) return 10;
    return 9;
}

uint32_t AdaptFlags(uint32_t flags, double hostVersion) {
    if (hostVersion < 2020.02 && (flags & 0x708) == 0x308) flags = (flags & ~0x308u) | 0x4;
    if ((flags & 0x40000) != 0) {
        flags &= ~0x40000u;
        if (hostVersion >= 2010.029) flags |= 0x4;
    }
    return flags;
}

uint64_t RoundDataSize(uint64_t size) {
    return (size + 15) & ~uint64_t{15};
}

ClassDefinition* const* RegisteredClasses(size_t* count) {
    *count = std::size(kClasses);
    return kClasses;
}

}  // namespace zvk

void REALPluginMain(zvk::HostResolver resolver) {
    using namespace zvk;
    host::SetResolver(resolver);
    if (resolver != nullptr && host::HasGetRBVersion()) HostVersion = host::GetRBVersion();
    PluginApiVersion = ApiVersionForHost(HostVersion);
    if (resolver == nullptr) return;
    host::RegisterPluginVersion(static_cast<int32_t>(PluginApiVersion));
    RegisterClasses();
}
