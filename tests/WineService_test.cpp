// A script's first steps against the system's own WIA service instead of the simulated devices: under Wine
// its device managers are stubs. Whatever the service answers lands in Lasterror, nothing crashes, nothing leaks.
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"

namespace simhost {
namespace {

constexpr int64_t kNoCall = -1;

class WineService : public PluginTest {
protected:
    bool SimulatedPlatform() override { return false; }

    // The method's Lasterror: -1 exactly when the manager has no interface to call.
    void ExpectCalled(REALobject manager, const std::string& step) {
        const int64_t code = host().GetInt(manager, "Lasterror");
        if (host().GetInt(manager, "Handle") == 0) {
            EXPECT_EQ(code, kNoCall) << step;
        } else {
            EXPECT_NE(code, kNoCall) << step;
        }
    }
};

TEST_F(WineService, FirstStepsOfBothManagersEndInLasterror) {
    for (int generation : {1, 2}) {
        const std::string cls = "WIADeviceManager" + std::to_string(generation) + "ZVK";
        ObjectRef manager(host(), host().New(cls));
        host().Call<void>(manager, "Constructor");
        const int64_t created = host().GetInt(manager, "Lasterror");
        EXPECT_NE(created, kNoCall) << cls;
        EXPECT_EQ(host().GetInt(manager, "Handle") == 0, created < 0) << cls << " Constructor gave " << created;

        ObjectRef devices(host(), host().Call<REALobject>(manager, "EnumDeviceInfo", 16));
        ExpectCalled(manager, cls + " EnumDeviceInfo");
        for (int step = 0; devices.get() != nullptr && step < 16; ++step) {
            ObjectRef info(host(), host().Call<REALobject>(devices, "NextItem"));
            EXPECT_NE(host().GetInt(devices, "Lasterror"), kNoCall) << cls << " NextItem";
            if (info.get() == nullptr) break;
        }

        ObjectRef root(host(), host().Call<REALobject>(manager, "CreateDevice", "{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\9999"));
        EXPECT_EQ(root.get(), nullptr) << cls;
        ExpectCalled(manager, cls + " CreateDevice");
        EXPECT_TRUE(host().GetInt(manager, "Handle") == 0 || host().GetInt(manager, "Lasterror") < 0) << cls;

        StringRef chosen(host(), host().Call<REALstring>(manager, "SelectDeviceDialogID", 0, 0, 0));
        ExpectCalled(manager, cls + " SelectDeviceDialogID");
        REALstring id = nullptr;
        ObjectRef picked(host(), host().Call<REALobject>(manager, "SelectDeviceDialog", 0, 0, 0, &id));
        host().UnlockString(id);
        ExpectCalled(manager, cls + " SelectDeviceDialog");

        if (generation == 1) {
            ObjectRef file(host(), NewFolderItemAt(host(), "C:\\windows\\temp\\wine-service.bmp"));
            host().Call<void>(manager, "GetImageDialog", 0, 0, 0, 0, file, REALobject{});
        } else {
            REALobject item = nullptr;
            ObjectRef paths(host(), REALobject(host().Call<REALarray>(manager, "GetImageDialog", 0, REALstring{}, 0,
                                                                      "C:\\windows\\temp", "wine-service", &item)));
            host().Unlock(item);
        }
        ExpectCalled(manager, cls + " GetImageDialog");
        EXPECT_TRUE(host().raised.empty()) << cls;
    }
}

}  // namespace
}  // namespace simhost
