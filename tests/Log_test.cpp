// The shared property Debugging of WIADeviceManager2ZVK, as a script switches the trace on and off.
#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

constexpr const char* kManager = "WIADeviceManager2ZVK";
constexpr const char* kEnabledLine = "ZVK Debug: ZVK debug logging enabled.";

class Debugging : public PluginTest {};

// Off at load; every assignment of True writes the enabled line, False writes nothing.
TEST_F(Debugging, EveryAssignmentOfTrueWritesTheEnabledLine) {
    EXPECT_FALSE(host().GetSharedBool(kManager, "Debugging"));
    for (bool value : {true, true, false, false}) {
        host().SetSharedBool(kManager, "Debugging", value);
        EXPECT_EQ(host().GetSharedBool(kManager, "Debugging"), value);
    }
    EXPECT_EQ(log().Lines(), (std::vector<std::string>{kEnabledLine, kEnabledLine})) << log().Dump();
}

}  // namespace
}  // namespace simhost
