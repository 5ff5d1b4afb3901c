// Start-up and registration as the host sees them: the interface level, the 22 class records, the
// instance data and bound properties, and the behaviour with older or incomplete hosts.
#include <objbase.h>

#include <cstring>
#include <thread>

#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

struct ClassRow {
    const char* name;
    uint64_t roundedSize;
};

// Registration order and instance-data sizes after rounding to 16.
const ClassRow kClassRows[] = {
    {"WIADataCallbackZVK", 16},
    {"WIADataTransferZVK", 48},
    {"WIADataTransferInfoZVK", 64},
    {"WIADeviceCapabilitiesZVK", 48},
    {"WIADeviceCapabilitiesEnumeratorZVK", 16},
    {"WIADeviceInfoEnumeratorZVK", 16},
    {"WIADeviceManager1ZVK", 16},
    {"WIADeviceManager2ZVK", 16},
    {"WIAExtendedTransferInfoZVK", 48},
    {"WIAFormatInfoZVK", 32},
    {"WIAFormatInfoEnumeratorZVK", 16},
    {"WIAGUIDZVK", 16},
    {"WIAItemZVK", 32},
    {"WIAItemEnumeratorZVK", 32},
    {"WIAPropertyZVK", 32},
    {"WIAPropertyEnumeratorZVK", 16},
    {"WIAPropertyStorageZVK", 16},
    {"WIAStreamZVK", 16},
    {"WIATransferZVK", 16},
    {"WIATransferCallbackZVK", 16},
    {"WIATransferParamsZVK", 48},
    {"WIAVideoZVK", 16},
};

struct VersionRow {
    double version;  // negative: no "REALGetRBVersion"
    int32_t level;
};

const VersionRow kVersionRows[] = {
    {-1, 9}, {2011.99, 9}, {2012.0, 10}, {2013.0, 11}, {2013.03, 12}, {2013.04, 13}, {2021.02, 13}, {2021.03, 13},
};

void PrintTo(const VersionRow& row, std::ostream* os) {
    *os << "host " << row.version << ", level " << row.level;
}

class RegistrationAtVersion : public ::testing::TestWithParam<VersionRow> {};

TEST_P(RegistrationAtVersion, RegistersEveryClassAtTheNegotiatedLevel) {
    const VersionRow row = GetParam();
    Options options;
    options.version = row.version;
    SimHost host(options);
    host.Load();

    ASSERT_EQ(host.registeredLevels, std::vector<int32_t>{row.level}) << "host " << row.version;
    ASSERT_EQ(host.Classes().size(), std::size(kClassRows));
    for (size_t i = 0; i < std::size(kClassRows); ++i) {
        const ClassView& cls = host.Classes()[i];
        SCOPED_TRACE(cls.name);
        EXPECT_EQ(cls.name, kClassRows[i].name) << "registration order at " << i;
        EXPECT_EQ(cls.version, static_cast<uint32_t>(row.level));
        EXPECT_EQ(cls.dataSize, kClassRows[i].roundedSize);
        EXPECT_EQ(cls.superName, nullptr);
        EXPECT_EQ(cls.flags, 4u);
        EXPECT_TRUE(cls.reservedFieldsZero);
        for (const PropertyView& property : cls.properties) EXPECT_EQ(property.flags, 6u) << property.name;
        for (const MethodView& method : cls.methods)
            EXPECT_TRUE(method.flags == 4u || method.flags == 512u) << method.declaration;
    }
    EXPECT_EQ(host.LiveObjects(), 0);
    EXPECT_EQ(host.LiveStrings(), 0);
}

std::string HostName(const ::testing::TestParamInfo<VersionRow>& info) {
    if (info.param.version < 0) return "NoVersionEntry";
    std::string name = "Host" + std::to_string(static_cast<int64_t>(info.param.version * 100 + 0.5));
    return name;
}

INSTANTIATE_TEST_SUITE_P(Hosts, RegistrationAtVersion, ::testing::ValuesIn(kVersionRows), HostName);

class Registration : public PluginTest {};

TEST_F(Registration, DebuggingIsAHiddenSharedBooleanOfTheWia2Manager) {
    const ClassView& manager = host().Class("WIADeviceManager2ZVK");
    ASSERT_EQ(manager.sharedProperties.size(), 1u);
    const PropertyView& debugging = manager.sharedProperties[0];
    EXPECT_EQ(debugging.name, "Debugging");
    EXPECT_EQ(debugging.type, "Boolean");
    EXPECT_EQ(debugging.flags, 38u);
    ASSERT_EQ(debugging.attributes.size(), 1u);
    EXPECT_EQ(debugging.attributes[0].first, "Hidden");
    EXPECT_EQ(debugging.attributes[0].second, "");
    for (const ClassView& cls : host().Classes()) {
        if (cls.name != "WIADeviceManager2ZVK") {
            EXPECT_TRUE(cls.sharedProperties.empty()) << cls.name;
        }
    }
}

struct BoundRow {
    const char* cls;
    const char* property;
    const char* type;
    int field;
};

const BoundRow kBoundRows[] = {
    {"WIADataCallbackZVK", "Handle", "Integer", 0},
    {"WIADataTransferZVK", "Handle", "Integer", 0},
    {"WIADataTransferZVK", "Lasterror", "Integer", 1},
    {"WIADataTransferInfoZVK", "Size", "Integer", 0},
    {"WIADataTransferInfoZVK", "Section", "Integer", 1},
    {"WIADataTransferInfoZVK", "BufferSize", "Integer", 2},
    {"WIADataTransferInfoZVK", "DoubleBuffer", "Boolean", 3},
    {"WIADeviceCapabilitiesZVK", "GUID", "String", 0},
    {"WIADeviceCapabilitiesZVK", "Flags", "Integer", 1},
    {"WIADeviceCapabilitiesZVK", "Name", "String", 2},
    {"WIADeviceCapabilitiesZVK", "Description", "String", 3},
    {"WIADeviceCapabilitiesZVK", "Icon", "String", 4},
    {"WIADeviceCapabilitiesZVK", "Commandline", "String", 5},
    {"WIADeviceCapabilitiesEnumeratorZVK", "Handle", "Integer", 0},
    {"WIADeviceCapabilitiesEnumeratorZVK", "Lasterror", "Integer", 1},
    {"WIADeviceInfoEnumeratorZVK", "Handle", "Integer", 0},
    {"WIADeviceInfoEnumeratorZVK", "Lasterror", "Integer", 1},
    {"WIADeviceManager1ZVK", "Handle", "Integer", 0},
    {"WIADeviceManager1ZVK", "Lasterror", "Integer", 1},
    {"WIADeviceManager2ZVK", "Handle", "Integer", 0},
    {"WIADeviceManager2ZVK", "Lasterror", "Integer", 1},
    {"WIAExtendedTransferInfoZVK", "Size", "Integer", 0},
    {"WIAExtendedTransferInfoZVK", "MinBufferSize", "Integer", 1},
    {"WIAExtendedTransferInfoZVK", "OptimalBufferSize", "Integer", 2},
    {"WIAExtendedTransferInfoZVK", "MaxBufferSize", "Integer", 3},
    {"WIAExtendedTransferInfoZVK", "NumBuffers", "Integer", 4},
    {"WIAFormatInfoZVK", "FormatID", "WIAGUIDZVK", 0},
    {"WIAFormatInfoZVK", "Tymed", "Integer", 1},
    {"WIAFormatInfoEnumeratorZVK", "Handle", "Integer", 0},
    {"WIAFormatInfoEnumeratorZVK", "Lasterror", "Integer", 1},
    {"WIAItemZVK", "Handle", "Integer", 0},
    {"WIAItemZVK", "Handle1", "Integer", 1},
    {"WIAItemZVK", "Handle2", "Integer", 2},
    {"WIAItemZVK", "Lasterror", "Integer", 3},
    {"WIAItemEnumeratorZVK", "Handle", "Integer", 0},
    {"WIAItemEnumeratorZVK", "Handle1", "Integer", 1},
    {"WIAItemEnumeratorZVK", "Handle2", "Integer", 2},
    {"WIAItemEnumeratorZVK", "Lasterror", "Integer", 3},
    {"WIAPropertyZVK", "Name", "String", 0},
    {"WIAPropertyZVK", "ID", "Integer", 1},
    {"WIAPropertyZVK", "Type", "Integer", 2},
    {"WIAPropertyEnumeratorZVK", "Handle", "Integer", 0},
    {"WIAPropertyEnumeratorZVK", "Lasterror", "Integer", 1},
    {"WIAPropertyStorageZVK", "Handle", "Integer", 0},
    {"WIAPropertyStorageZVK", "Lasterror", "Integer", 1},
    {"WIAStreamZVK", "Handle", "Integer", 0},
    {"WIAStreamZVK", "Lasterror", "Integer", 1},
    {"WIATransferZVK", "Handle", "Integer", 0},
    {"WIATransferZVK", "Lasterror", "Integer", 1},
    {"WIATransferCallbackZVK", "Handle", "Integer", 0},
    {"WIATransferParamsZVK", "Message", "Integer", 1},
    {"WIATransferParamsZVK", "PercentComplete", "Integer", 2},
    {"WIATransferParamsZVK", "ErrorStatus", "Integer", 3},
    {"WIAVideoZVK", "Handle", "Integer", 0},
    {"WIAVideoZVK", "Lasterror", "Integer", 1},
};

// Every bound property reaches its own field: written through the property, read straight from the
// instance data at the field's byte position, and the other way round.
TEST_F(Registration, BoundPropertiesSitAtTheirFields) {
    // The table covers every bound property of every class.
    size_t bound = 0;
    for (const ClassView& cls : host().Classes()) {
        for (const PropertyView& property : cls.properties) bound += property.bound() ? 1 : 0;
    }
    EXPECT_EQ(bound, std::size(kBoundRows));

    for (const BoundRow& row : kBoundRows) {
        SCOPED_TRACE(std::string(row.cls) + "." + row.property);
        ObjectRef object(host(), host().New(row.cls));
        const ClassView& cls = host().Class(row.cls);
        const PropertyView* property = nullptr;
        for (const PropertyView& p : cls.properties) property = p.name == row.property ? &p : property;
        ASSERT_NE(property, nullptr);
        EXPECT_EQ(property->type, row.type);
        EXPECT_TRUE(property->bound());
        EXPECT_EQ(property->param, 8 * row.field);
        uint8_t* field = host().Data(object) + 8 * row.field;

        if (std::strcmp(row.type, "Integer") == 0) {
            host().SetInt(object, row.property, -0x123456789A);
            int64_t raw;
            std::memcpy(&raw, field, 8);
            EXPECT_EQ(raw, -0x123456789A);
            raw = 0x7766554433221100;
            std::memcpy(field, &raw, 8);
            EXPECT_EQ(host().GetInt(object, row.property), 0x7766554433221100);
            std::memset(field, 0, 8);  // wrapper destructors release a non-zero Handle
        } else if (std::strcmp(row.type, "Boolean") == 0) {
            host().SetBool(object, row.property, true);
            EXPECT_EQ(field[0], 1);
            field[0] = 0;
            EXPECT_FALSE(host().GetBool(object, row.property));
        } else if (std::strcmp(row.type, "String") == 0) {
            StringRef text(host(), host().Str("value"));
            host().SetString(object, row.property, text);
            REALstring raw;
            std::memcpy(&raw, field, 8);
            EXPECT_EQ(raw, text.get());
            EXPECT_EQ(host().StringRefCount(text), 2);
        } else {
            ObjectRef guid(host(), host().New("WIAGUIDZVK"));
            host().SetObjectProp(object, row.property, guid);
            REALobject raw;
            std::memcpy(&raw, field, 8);
            EXPECT_EQ(raw, guid.get());
            EXPECT_EQ(host().RefCount(guid), 2);
        }
    }
}

TEST_F(Registration, TransferredBytesGoesThroughItsAccessorsToTheFirstField) {
    ObjectRef params(host(), host().New("WIATransferParamsZVK"));
    const ClassView& cls = host().Class("WIATransferParamsZVK");
    std::vector<std::string> order;
    for (const PropertyView& property : cls.properties) order.push_back(property.name);
    EXPECT_EQ(order, (std::vector<std::string>{"Message", "PercentComplete", "TransferredBytes", "ErrorStatus"}));
    EXPECT_FALSE(cls.properties[2].bound());
    EXPECT_EQ(cls.properties[2].type, "UInt64");

    host().SetUInt64(params, "TransferredBytes", 0xFEDCBA9876543210ull);
    uint64_t raw;
    std::memcpy(&raw, host().Data(params), 8);
    EXPECT_EQ(raw, 0xFEDCBA9876543210ull);
    raw = 42;
    std::memcpy(host().Data(params), &raw, 8);
    EXPECT_EQ(host().GetUInt64(params, "TransferredBytes"), 42u);
    EXPECT_EQ(host().GetInt(params, "Message"), 0);
}

TEST(RegistrationWithoutHost, NullResolverRegistersNothing) {
    SimHost host;
    host.CallPluginMainWithNullResolver();
    EXPECT_TRUE(host.Classes().empty());
    EXPECT_TRUE(host.registeredLevels.empty());
    EXPECT_TRUE(host.lookups.empty());
}

struct MissingEntryRow {
    const char* entry;
    size_t classes;
    size_t levels;
};

TEST(RegistrationWithoutHost, MissingEntriesAreSkipped) {
    const MissingEntryRow rows[] = {
        {"PluginRegisterClass", 0, 1},
        {"RegisterPluginVersion", 22, 0},
        {"REALinRuntime", 22, 1},
    };
    for (const MissingEntryRow& row : rows) {
        SCOPED_TRACE(row.entry);
        Options options;
        options.withheld = {row.entry};
        SimHost host(options);
        host.Load();
        EXPECT_EQ(host.Classes().size(), row.classes);
        EXPECT_EQ(host.registeredLevels.size(), row.levels);
    }
}

// COM is initialised (apartment-threaded, on the loading thread) only when "REALinRuntime" says so.
// A second initialisation as multi-threaded then fails with RPC_E_CHANGED_MODE.
HRESULT LoadOnFreshThread(Options options) {
    HRESULT probe = E_FAIL;
    std::thread thread([&] {
        SimHost host(options);
        host.Load();
        probe = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(probe)) CoUninitialize();
    });
    thread.join();
    return probe;
}

TEST(RegistrationWithoutHost, ComIsInitialisedOnlyInRuntime) {
    Options inRuntime;
    inRuntime.inRuntime = true;
    EXPECT_EQ(LoadOnFreshThread(inRuntime), RPC_E_CHANGED_MODE);

    Options inIde;
    inIde.inRuntime = false;
    EXPECT_EQ(LoadOnFreshThread(inIde), S_OK);

    Options withoutEntry;
    withoutEntry.withheld = {"REALinRuntime"};
    EXPECT_EQ(LoadOnFreshThread(withoutEntry), S_OK);
}

}  // namespace
}  // namespace simhost
