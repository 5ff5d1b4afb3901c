#include "plugin/ClassRecords.h"

namespace zvk {

ClassBuilder::ClassBuilder(const char* name, uint64_t dataSize) : record_{} {
    record_.version = kTableVersion;
    record_.name = name;
    record_.dataSize = dataSize;
    record_.flags = kClassFlags;
}

ClassBuilder& ClassBuilder::Callbacks(void (*constructor)(REALobject), void (*destructor)(REALobject)) {
    record_.constructor = constructor;
    record_.destructor = destructor;
    return *this;
}

ClassBuilder& ClassBuilder::Destructor(void (*destructor)(REALobject)) {
    record_.destructor = destructor;
    return *this;
}

ClassBuilder& ClassBuilder::Properties(Table<PropertyDefinition> table) {
    record_.properties = table.items;
    record_.propertyCount = table.count;
    return *this;
}

ClassBuilder& ClassBuilder::Methods(Table<MethodDefinition> table) {
    record_.methods = table.items;
    record_.methodCount = table.count;
    return *this;
}

ClassBuilder& ClassBuilder::Events(Table<EventDefinition> table) {
    record_.events = table.items;
    record_.eventCount = table.count;
    return *this;
}

ClassBuilder& ClassBuilder::Constants(Table<ConstantDefinition> table) {
    record_.constants = table.items;
    record_.constantCount = table.count;
    return *this;
}

ClassBuilder& ClassBuilder::SharedProperties(Table<PropertyDefinition> table) {
    record_.sharedProperties = table.items;
    record_.sharedPropertyCount = table.count;
    return *this;
}

ClassBuilder& ClassBuilder::SharedMethods(Table<MethodDefinition> table) {
    record_.sharedMethods = table.items;
    record_.sharedMethodCount = table.count;
    return *this;
}

}  // namespace zvk
