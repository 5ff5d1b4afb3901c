// The device-information and property enumerators with every platform call failed once: the method
// gives its empty result, keeps the code, and nothing leaks.
#include <functional>

#include "tests/host/PluginTest.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

struct EnumeratorFailureRow {
    const char* platformMethod;
    std::function<bool(SimHost&, REALobject)> call;  // true when the result is empty
};

class EnumeratorFailures : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        manager_ = host().New("WIADeviceManager1ZVK");
        host().Call<void>(manager_, "Constructor");
    }
    void TearDown() override {
        host().Unlock(manager_);
        PluginTest::TearDown();
    }

    REALobject Devices() {
        return host().Call<REALobject>(
            manager_, "EnumDeviceInfo(flags as integer = &h10) as WIADeviceInfoEnumeratorZVK", int64_t{16});
    }

    void Run(REALobject enumerator, const char* iface, const std::vector<EnumeratorFailureRow>& rows) {
        for (const EnumeratorFailureRow& row : rows) {
            std::string method = std::string(iface) + "::" + row.platformMethod;
            SCOPED_TRACE(method);
            simwia::FailNext(method.c_str(), E_UNEXPECTED);
            EXPECT_TRUE(row.call(host(), enumerator));
            EXPECT_EQ(host().GetInt(enumerator, "Lasterror"), static_cast<int32_t>(E_UNEXPECTED));
            EXPECT_EQ(simwia::CallCount(method.c_str()), 1);
            simwia::ResetCounts();
        }
    }

    // Skip and Reset have no result: the code in Lasterror is all they leave.
    static std::vector<EnumeratorFailureRow> WithPositionRows(std::vector<EnumeratorFailureRow> rows) {
        rows.push_back({"Skip", [](SimHost& h, REALobject e) {
                            h.Call<void>(e, "Skip(celt as integer)", int64_t{1});
                            return true;
                        }});
        rows.push_back({"Reset", [](SimHost& h, REALobject e) {
                            h.Call<void>(e, "Reset");
                            return true;
                        }});
        return rows;
    }

    static bool EmptyObject(SimHost& host, REALobject result) {
        host.Unlock(result);
        return result == nullptr;
    }

    REALobject manager_ = nullptr;
};

TEST_F(EnumeratorFailures, DeviceInformation) {
    ObjectRef devices(host(), Devices());
    Run(devices, "IEnumWIA_DEV_INFO",
        WithPositionRows({
            {"Next",
             [](SimHost& h, REALobject e) { return EmptyObject(h, h.Call<REALobject>(e, "NextItem as WIAPropertyStorageZVK")); }},
            {"Clone",
             [](SimHost& h, REALobject e) { return EmptyObject(h, h.Call<REALobject>(e, "Clone as WIADeviceInfoEnumeratorZVK")); }},
            {"GetCount", [](SimHost& h, REALobject e) { return h.Call<int64_t>(e, "Count as integer") == 0; }},
        }));
    // The position did not move: the first device still comes first.
    ObjectRef first(host(), host().Call<REALobject>(devices.get(), "NextItem as WIAPropertyStorageZVK"));
    EXPECT_NE(first.get(), nullptr);
}

TEST_F(EnumeratorFailures, PropertyDescriptions) {
    ObjectRef devices(host(), Devices());
    ObjectRef storage(host(), host().Call<REALobject>(devices.get(), "NextItem as WIAPropertyStorageZVK"));
    ObjectRef properties(host(), host().Call<REALobject>(storage.get(), "Enumerate as WIAPropertyEnumeratorZVK"));
    Run(properties, "IEnumSTATPROPSTG",
        WithPositionRows({
            {"Next", [](SimHost& h, REALobject e) { return EmptyObject(h, h.Call<REALobject>(e, "NextItem as WIAPropertyZVK")); }},
            {"Clone",
             [](SimHost& h, REALobject e) { return EmptyObject(h, h.Call<REALobject>(e, "Clone as WIAPropertyEnumeratorZVK")); }},
        }));
}

TEST_F(EnumeratorFailures, EmptySequencesEndAtOnce) {
    simwia::UninstallDevice(simwia::kScannerId);
    simwia::UninstallDevice(simwia::kCameraId);
    simwia::UninstallDevice(simwia::kVideoId);
    ObjectRef devices(host(), Devices());
    EXPECT_EQ(host().Call<int64_t>(devices.get(), "Count as integer"), 0);
    EXPECT_EQ(host().GetInt(devices, "Lasterror"), 0);
    EXPECT_EQ(host().Call<REALobject>(devices.get(), "NextItem as WIAPropertyStorageZVK"), nullptr);
    EXPECT_EQ(host().GetInt(devices, "Lasterror"), 1);
}

}  // namespace
}  // namespace simhost
