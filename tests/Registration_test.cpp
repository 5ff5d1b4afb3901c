// Start-up and registration as the host sees them: the interface level, the 22 class records, the
// instance data and bound properties, and the behaviour with older or incomplete hosts.
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "tests/host/PluginTest.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

// Registration order, instance-data sizes after rounding to 16, and the properties in the order of their fields.
// clang-format off
struct ClassRow { const char* name; uint64_t roundedSize; const char* fields; };

const ClassRow kClassRows[] = {
    {"WIADataCallbackZVK", 16, "Handle"},
    {"WIADataTransferZVK", 48, "Handle Lasterror"},
    {"WIADataTransferInfoZVK", 64, "Size Section BufferSize DoubleBuffer"},
    {"WIADeviceCapabilitiesZVK", 48, "GUID Flags Name Description Icon Commandline"},
    {"WIADeviceCapabilitiesEnumeratorZVK", 16, "Handle Lasterror"},
    {"WIADeviceInfoEnumeratorZVK", 16, "Handle Lasterror"},
    {"WIADeviceManager1ZVK", 16, "Handle Lasterror"},
    {"WIADeviceManager2ZVK", 16, "Handle Lasterror"},
    {"WIAExtendedTransferInfoZVK", 48, "Size MinBufferSize OptimalBufferSize MaxBufferSize NumBuffers"},
    {"WIAFormatInfoZVK", 32, "FormatID Tymed"},
    {"WIAFormatInfoEnumeratorZVK", 16, "Handle Lasterror"},
    {"WIAGUIDZVK", 16, ""},
    {"WIAItemZVK", 32, "Handle Handle1 Handle2 Lasterror"},
    {"WIAItemEnumeratorZVK", 32, "Handle Handle1 Handle2 Lasterror"},
    {"WIAPropertyZVK", 32, "Name ID Type"},
    {"WIAPropertyEnumeratorZVK", 16, "Handle Lasterror"},
    {"WIAPropertyStorageZVK", 16, "Handle Lasterror"},
    {"WIAStreamZVK", 16, "Handle Lasterror"},
    {"WIATransferZVK", 16, "Handle Lasterror"},
    {"WIATransferCallbackZVK", 16, "Handle"},
    {"WIATransferParamsZVK", 48, "TransferredBytes Message PercentComplete ErrorStatus"},
    {"WIAVideoZVK", 16, "Handle Lasterror"},
};

struct VersionRow { double version; int32_t level; friend std::ostream& operator<<(std::ostream& o, const VersionRow& r) { return o << r.version; } };
const VersionRow kVersionRows[] = {  // a negative version: no "REALGetRBVersion"
    {-1, 9}, {2011.99, 9}, {2012.0, 10}, {2013.0, 11}, {2013.03, 12}, {2013.04, 13}, {2021.02, 13}, {2021.03, 13},
};
// clang-format on

class RegistrationAtVersion : public ::testing::TestWithParam<VersionRow> {};

// Every class in order at the negotiated level; every bound property served from its own field (the suites that read
// Handle, Lasterror and the record fields through the host then find the plug-in's values there); window overloads
// flagged 512, the DesktopWindow ones last and cut on hosts before 2021.03.
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
        EXPECT_TRUE(cls.version == static_cast<uint32_t>(row.level) && cls.dataSize == kClassRows[i].roundedSize &&
                    cls.superName == nullptr && cls.flags == 4u && cls.reservedFieldsZero);
        std::istringstream list(kClassRows[i].fields);
        const std::vector<std::string> fields{std::istream_iterator<std::string>(list), {}};
        EXPECT_EQ(cls.properties.size(), fields.size());
        for (const PropertyView& property : cls.properties) {
            const auto field = std::find(fields.begin(), fields.end(), property.name) - fields.begin();
            EXPECT_TRUE(field < static_cast<std::ptrdiff_t>(fields.size()) && property.flags == 6u) << property.name;
            EXPECT_TRUE(!property.bound() || property.param == 8 * field) << property.name;
        }
        bool desktopSeen = false;
        for (const MethodView& method : cls.methods) {
            const bool desktop = method.declaration.find("as DesktopWindow") != std::string::npos;
            EXPECT_EQ(method.flags, desktop || method.declaration.find("as window") != std::string::npos ? 512u : 4u)
                << method.declaration;
            EXPECT_TRUE(desktop ? row.version >= 2021.03 : !desktopSeen) << method.declaration;
            desktopSeen = desktopSeen || desktop;
        }
    }
    ExpectHostCountsAtZero(host);
}

INSTANTIATE_TEST_SUITE_P(Hosts, RegistrationAtVersion, ::testing::ValuesIn(kVersionRows),
                         [](const ::testing::TestParamInfo<VersionRow>& row) {
                             return row.param.version < 0 ? std::string("NoVersionEntry")
                                                          : "Host" + std::to_string(int64_t(row.param.version * 100 + 0.5));
                         });

class Registration : public PluginTest {};

// Off at load; every assignment of True writes the enabled line, False writes nothing.
TEST_F(Registration, DebuggingIsAHiddenSharedBooleanOfTheWia2Manager) {
    for (const ClassView& cls : host().Classes())
        EXPECT_EQ(cls.sharedProperties.size(), cls.name == "WIADeviceManager2ZVK" ? 1u : 0u) << cls.name;
    const PropertyView& debugging = host().Class("WIADeviceManager2ZVK").sharedProperties.at(0);
    EXPECT_EQ(debugging.name + " as " + debugging.type + " " + std::to_string(debugging.flags), "Debugging as Boolean 38");
    EXPECT_EQ(debugging.attributes, (std::vector<std::pair<std::string, std::string>>{{"Hidden", ""}}));
    EXPECT_FALSE(host().GetSharedBool("WIADeviceManager2ZVK", "Debugging"));
    for (bool value : {true, true, false, false}) {
        host().SetSharedBool("WIADeviceManager2ZVK", "Debugging", value);
        EXPECT_EQ(host().GetSharedBool("WIADeviceManager2ZVK", "Debugging"), value);
    }
    const std::string enabled = "ZVK Debug: ZVK debug logging enabled.";
    EXPECT_EQ(log().Lines(), (std::vector<std::string>{enabled, enabled})) << log().Dump();
}

// The one property that is not bound: an unsigned count served by accessors from the first field.
TEST_F(Registration, TransferredBytesGoesThroughItsAccessorsToTheFirstField) {
    ObjectRef params(host(), host().New("WIATransferParamsZVK"));
    uint64_t& field = *reinterpret_cast<uint64_t*>(host().Data(params));
    const PropertyView& bytes = host().Class("WIATransferParamsZVK").properties.at(2);
    EXPECT_EQ(bytes.name + (bytes.bound() ? " bound" : ""), "TransferredBytes");
    host().SetUInt64(params, "TransferredBytes", 0xFEDCBA9876543210ull);
    EXPECT_EQ(field, 0xFEDCBA9876543210ull);
    field = 42;
    EXPECT_TRUE(host().GetUInt64(params, "TransferredBytes") == 42u && host().GetInt(params, "Message") == 0);
}

// Without a resolver nothing is registered; a missing entry skips its own step only.
TEST(RegistrationWithoutHost, MissingEntriesAreSkipped) {
    {
        SimHost bare;
        bare.CallPluginMainWithNullResolver();
        EXPECT_TRUE(bare.Classes().empty() && bare.registeredLevels.empty() && bare.lookups.empty());
    }
    const std::tuple<const char*, size_t, size_t> rows[] = {
        {"PluginRegisterClass", 0, 1}, {"RegisterPluginVersion", 22, 0}, {"REALinRuntime", 22, 1}};
    for (const auto& [entry, classes, levels] : rows) {
        Options options;
        options.withheld = {entry};
        SimHost host(options);
        host.Load();
        EXPECT_EQ(host.Classes().size(), classes) << entry;
        EXPECT_EQ(host.registeredLevels.size(), levels) << entry;
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
    EXPECT_EQ(LoadOnFreshThread({}), RPC_E_CHANGED_MODE);
    EXPECT_EQ(LoadOnFreshThread({Options().version, false, {}}), S_OK) << "in the IDE";
    EXPECT_EQ(LoadOnFreshThread({Options().version, true, {"REALinRuntime"}}), S_OK) << "without the entry";
}

// Every number a class declares that the platform defines has the platform's value ("&h" is hexadecimal).
TEST(RegistrationWithoutHost, ConstantsHoldThePlatformsValues) {
    SimHost host;
    host.Load();
    std::map<std::string, int64_t> platform = simwia::PlatformConstants();
    for (const ClassView& cls : host.Classes()) {
        for (const std::string& constant : cls.constants) {
            const auto [name, value] = SplitConstant(constant);
            auto expected = platform.find(cls.name + "." + name);
            if (expected == platform.end()) continue;
            const bool hex = value.rfind("&h", 0) == 0;
            EXPECT_EQ(std::stoll(hex ? value.substr(2) : value, nullptr, hex ? 16 : 10), expected->second) << constant;
            platform.erase(expected);
        }
    }
    for (const auto& [name, value] : platform) ADD_FAILURE() << name << " = " << value << " is not registered";
}

}  // namespace
}  // namespace simhost
