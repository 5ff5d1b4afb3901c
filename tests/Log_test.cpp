// The shared property Debugging of WIADeviceManager2ZVK, as a script switches the trace on and off.
#include "tests/host/PluginTest.h"

namespace simhost {
namespace {

constexpr const char* kManager = "WIADeviceManager2ZVK";
constexpr const char* kEnabledLine = "ZVK Debug: ZVK debug logging enabled.";

class Debugging : public PluginTest {};

TEST_F(Debugging, IsOffAtLoadAndWritesNothing) {
    EXPECT_FALSE(host().GetSharedBool(kManager, "Debugging"));
    EXPECT_TRUE(log().Lines().empty()) << log().Dump();
}

TEST_F(Debugging, EveryAssignmentOfTrueWritesTheEnabledLine) {
    host().SetSharedBool(kManager, "Debugging", true);
    host().SetSharedBool(kManager, "Debugging", true);
    EXPECT_TRUE(host().GetSharedBool(kManager, "Debugging"));
    EXPECT_EQ(log().Lines(), (std::vector<std::string>{kEnabledLine, kEnabledLine})) << log().Dump();

    host().SetSharedBool(kManager, "Debugging", false);
    host().SetSharedBool(kManager, "Debugging", false);
    EXPECT_FALSE(host().GetSharedBool(kManager, "Debugging"));
    EXPECT_EQ(log().Lines().size(), 2u) << log().Dump();
}

}  // namespace
}  // namespace simhost
