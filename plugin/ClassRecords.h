// The records that describe a class to the host. The host keeps the addresses of these records and
// writes into them (the instance-data offset, event ids), so every table is static and writable.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/HostTypes.h"

namespace zvk {

// Marks a property that the host reads and writes directly in the instance data.
inline void* const kBoundAccessor = reinterpret_cast<void*>(~uintptr_t{0});

constexpr uint32_t kClassFlags = 4;
constexpr uint32_t kMethodFlags = 4;
constexpr uint32_t kWindowMethodFlags = 512;
constexpr uint32_t kPropertyFlags = 6;
constexpr uint32_t kSharedPropertyFlags = 38;
constexpr uint32_t kTableVersion = 15;

struct AttributeDefinition {
    const char* name;
    const char* value;
};

struct MethodDefinition {
    const void* function;  // the getter when a setter is present
    const void* setter;
    const char* declaration;
    uint32_t flags;
    uint32_t reserved0;
    uint64_t reserved1;
    uint64_t reserved2;
};

struct PropertyDefinition {
    const char* group;
    const char* name;
    const char* type;
    uint32_t flags;
    uint32_t reserved0;
    const void* getter;  // kBoundAccessor for a field the host serves itself
    const void* setter;
    int64_t param;  // byte position of a bound field
    uint64_t reserved1;
    uint64_t reserved2;
    uint64_t reserved3;
    uint64_t attributeCount;
    const AttributeDefinition* attributes;
};

struct ConstantDefinition {
    const char* declaration;
    uint64_t reserved[4];
};

struct EventDefinition {
    const char* declaration;
    uint64_t hostEventId;  // written by the host at registration
    uint64_t reserved[2];
};

struct ClassDefinition {
    uint32_t version;
    uint32_t reserved0;
    const char* name;
    const char* superName;
    uint64_t dataSize;
    uint64_t dataOffset;  // written by the host at registration
    void (*constructor)(REALobject);
    void (*destructor)(REALobject);
    PropertyDefinition* properties;
    uint64_t propertyCount;
    MethodDefinition* methods;
    uint64_t methodCount;
    EventDefinition* events;
    uint64_t eventCount;
    uint64_t reserved1[5];
    ConstantDefinition* constants;
    uint64_t constantCount;
    uint32_t flags;
    uint32_t reserved2;
    PropertyDefinition* sharedProperties;
    uint64_t sharedPropertyCount;
    MethodDefinition* sharedMethods;
    uint64_t sharedMethodCount;
    uint64_t reserved3[4];
};

static_assert(sizeof(MethodDefinition) == 6 * 8, "method record layout");
static_assert(sizeof(PropertyDefinition) == 12 * 8, "property record layout");
static_assert(sizeof(ConstantDefinition) == 5 * 8, "constant record layout");
static_assert(sizeof(EventDefinition) == 4 * 8, "event record layout");
static_assert(sizeof(ClassDefinition) == 29 * 8, "class record layout");
static_assert(offsetof(ClassDefinition, dataOffset) == 4 * 8, "instance-data offset is field 5");
static_assert(offsetof(ClassDefinition, constants) == 18 * 8, "constant table is field 19");
static_assert(offsetof(ClassDefinition, sharedMethods) == 23 * 8, "shared method table is field 24");

template <typename F>
const void* Fn(F* function) {
    return reinterpret_cast<const void*>(function);
}

// Table rows. A method's declaration text is the only signature the host sees: the function it
// names must have exactly the C shape that declaration implies.
template <typename F>
MethodDefinition Method(F* function, const char* declaration, uint32_t flags = kMethodFlags) {
    return {Fn(function), nullptr, declaration, flags, 0, 0, 0};
}

template <typename G, typename S>
MethodDefinition MethodWithSetter(G* getter, S* setter, const char* declaration, uint32_t flags = kMethodFlags) {
    return {Fn(getter), Fn(setter), declaration, flags, 0, 0, 0};
}

inline PropertyDefinition BoundProperty(const char* name, const char* type, int fieldIndex) {
    return {nullptr, name, type, kPropertyFlags, 0, kBoundAccessor, kBoundAccessor, int64_t{8} * fieldIndex, 0, 0, 0, 0, nullptr};
}

template <typename G, typename S>
PropertyDefinition ComputedProperty(const char* name, const char* type, G* getter, S* setter) {
    return {nullptr, name, type, kPropertyFlags, 0, Fn(getter), Fn(setter), 0, 0, 0, 0, 0, nullptr};
}

inline ConstantDefinition Constant(const char* declaration) {
    return {declaration, {0, 0, 0, 0}};
}

inline EventDefinition Event(const char* declaration) {
    return {declaration, 0, {0, 0}};
}

// A view of one static table; built from an array so that counts always come from the array.
template <typename T>
struct Table {
    T* items = nullptr;
    uint64_t count = 0;
    Table() = default;
    template <size_t N>
    Table(T (&array)[N]) : items(array), count(N) {}
};

// Builds a class definition record with every reserved field zero.
class ClassBuilder {
public:
    ClassBuilder(const char* name, uint64_t dataSize);
    ClassBuilder& Callbacks(void (*constructor)(REALobject), void (*destructor)(REALobject));
    ClassBuilder& Destructor(void (*destructor)(REALobject));
    ClassBuilder& Properties(Table<PropertyDefinition> table);
    ClassBuilder& Methods(Table<MethodDefinition> table);
    ClassBuilder& Events(Table<EventDefinition> table);
    ClassBuilder& Constants(Table<ConstantDefinition> table);
    ClassBuilder& SharedProperties(Table<PropertyDefinition> table);
    ClassBuilder& SharedMethods(Table<MethodDefinition> table);
    operator ClassDefinition() const { return record_; }

private:
    ClassDefinition record_;
};

}  // namespace zvk
