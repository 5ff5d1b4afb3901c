// The capability and format enumerators over a device's own platform enumerators (the item and
// transfer methods that hand them to scripts are not in this library's tables yet, so the test wraps
// the platform's enumerators with the creators, as those methods will).
#include <cstring>

#include "tests/host/BootedHost.h"
#include "tests/platform/SimPlatform.h"
#include "wia/WiaInterfaces.h"
#include "wia/Wrapper.h"

namespace zvk {
namespace {

class RecordEnumerators : public BootedHostTest {
protected:
    void SetUp() override {
        simwia::Install();
        simwia::ResetAll();
        BootedHostTest::SetUp();
        ASSERT_EQ(CoCreateInstance(kCLSID_WiaDevMgr2, nullptr, CLSCTX_LOCAL_SERVER, kIID_IWiaDevMgr2,
                                   reinterpret_cast<void**>(&manager_)),
                  S_OK);
        BSTR id = SysAllocString(simwia::kScannerId);
        ASSERT_EQ(manager_->CreateDevice(0, id, &root_), S_OK);
        SysFreeString(id);
    }

    void TearDown() override {
        if (root_ != nullptr) root_->Release();
        if (manager_ != nullptr) manager_->Release();
        BootedHostTest::TearDown();
        EXPECT_EQ(simwia::LiveObjects(), 0);
        EXPECT_EQ(simwia::OutstandingReferences(), 0);
    }

    simhost::REALobject Obj(REALobject object) { return reinterpret_cast<simhost::REALobject>(object); }

    IWiaDevMgr2* manager_ = nullptr;
    IWiaItem2* root_ = nullptr;
};

TEST_F(RecordEnumerators, CapabilitiesCopyEveryField) {
    IEnumWIA_DEV_CAPS* platform = nullptr;
    ASSERT_EQ(root_->EnumDeviceCapabilities(3 /* commands and events */, &platform), S_OK);
    simhost::REALobject caps = Obj(NewDeviceCapabilitiesEnumeratorObject(platform));
    ASSERT_NE(caps, nullptr);
    std::vector<simwia::Capability> expected = simwia::Capabilities(simwia::kScannerId);
    EXPECT_EQ(sim().Call<int64_t>(caps, "Count as integer"), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(sim().GetInt(caps, "Lasterror"), 0);

    size_t index = 0;
    while (simhost::REALobject cap = sim().Call<simhost::REALobject>(caps, "NextItem as WIADeviceCapabilitiesZVK")) {
        ASSERT_LT(index, expected.size());
        const simwia::Capability& want = expected[index];
        SCOPED_TRACE(index);
        std::string guid = sim().Bytes(sim().GetString(cap, "GUID"));
        ASSERT_EQ(guid.size(), 16u);
        EXPECT_EQ(std::memcmp(guid.data(), &want.guid, 16), 0);
        EXPECT_EQ(sim().GetInt(cap, "Flags"), static_cast<int64_t>(want.flags));
        simhost::REALstring name = sim().GetString(cap, "Name");
        if (want.name == nullptr || *want.name == 0) {
            EXPECT_EQ(name, nullptr) << "an empty name is the nil string";
        } else {
            EXPECT_NE(name, nullptr);
        }
        sim().Unlock(cap);
        ++index;
    }
    EXPECT_EQ(index, expected.size());
    EXPECT_EQ(sim().GetInt(caps, "Lasterror"), 1);

    sim().Call<void>(caps, "Reset");
    sim().Call<void>(caps, "Skip(celt as integer)", int64_t{100});
    EXPECT_EQ(sim().GetInt(caps, "Lasterror"), 1);
    EXPECT_EQ(sim().Call<simhost::REALobject>(caps, "NextItem as WIADeviceCapabilitiesZVK"), nullptr);
    sim().Unlock(caps);
}

TEST_F(RecordEnumerators, FormatsGiveGuidObjectsAndMediumTypes) {
    IWiaItem2* flatbed = nullptr;
    BSTR name = SysAllocString(simwia::kScannerFlatbed);
    ASSERT_EQ(root_->FindItemByName(0, name, &flatbed), S_OK);
    SysFreeString(name);
    IWiaTransfer* transfer = nullptr;
    ASSERT_EQ(flatbed->QueryInterface(kIID_IWiaTransfer, reinterpret_cast<void**>(&transfer)), S_OK);
    flatbed->Release();
    IEnumWIA_FORMAT_INFO* platform = nullptr;
    ASSERT_EQ(transfer->EnumWIA_FORMAT_INFO(&platform), S_OK);
    transfer->Release();

    simhost::REALobject formats = Obj(NewFormatInfoEnumeratorObject(platform));
    std::vector<simwia::FormatInfo> expected = simwia::Item(simwia::kScannerFlatbed).formats;
    ASSERT_FALSE(expected.empty());
    simhost::REALobject clone = sim().Call<simhost::REALobject>(formats, "Clone as WIAFormatInfoEnumeratorZVK");
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(sim().GetInt(clone, "Lasterror"), 0);
    for (const simwia::FormatInfo& want : expected) {
        simhost::REALobject format = sim().Call<simhost::REALobject>(formats, "NextItem as WIAFormatInfoZVK");
        ASSERT_NE(format, nullptr);
        simhost::REALobject guid = sim().GetObjectProp(format, "FormatID");
        ASSERT_NE(guid, nullptr);
        EXPECT_EQ(sim().ClassName(guid), "WIAGUIDZVK");
        EXPECT_EQ(std::memcmp(sim().Data(guid), &want.format, 16), 0);
        EXPECT_EQ(sim().GetInt(format, "Tymed"), want.tymed);
        sim().Unlock(format);
    }
    EXPECT_EQ(sim().Call<simhost::REALobject>(formats, "NextItem as WIAFormatInfoZVK"), nullptr);
    EXPECT_EQ(sim().GetInt(formats, "Lasterror"), 1);
    simhost::REALobject first = sim().Call<simhost::REALobject>(clone, "NextItem as WIAFormatInfoZVK");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(sim().GetInt(first, "Tymed"), expected[0].tymed) << "the clone starts where it was made";
    sim().Unlock(first);
    sim().Unlock(clone);
    sim().Unlock(formats);
}

TEST_F(RecordEnumerators, EmptyEnumeratorsAndFailures) {
    IEnumWIA_DEV_CAPS* platform = nullptr;
    ASSERT_EQ(root_->EnumDeviceCapabilities(2 /* events */, &platform), S_OK);
    simhost::REALobject caps = Obj(NewDeviceCapabilitiesEnumeratorObject(platform));
    simwia::FailNext("IEnumWIA_DEV_CAPS::GetCount", E_FAIL);
    EXPECT_EQ(sim().Call<int64_t>(caps, "Count as integer"), 0);
    EXPECT_EQ(sim().GetInt(caps, "Lasterror"), static_cast<int32_t>(E_FAIL));
    simwia::FailNext("IEnumWIA_DEV_CAPS::Next", E_FAIL);
    EXPECT_EQ(sim().Call<simhost::REALobject>(caps, "NextItem as WIADeviceCapabilitiesZVK"), nullptr);
    EXPECT_EQ(sim().GetInt(caps, "Lasterror"), static_cast<int32_t>(E_FAIL));
    simwia::FailNext("IEnumWIA_DEV_CAPS::Clone", E_FAIL);
    EXPECT_EQ(sim().Call<simhost::REALobject>(caps, "Clone as WIADeviceCapabilitiesEnumeratorZVK"), nullptr);
    simwia::FailNext("IEnumWIA_DEV_CAPS::Reset", E_FAIL);
    sim().Call<void>(caps, "Reset");
    EXPECT_EQ(sim().GetInt(caps, "Lasterror"), static_cast<int32_t>(E_FAIL));
    sim().Unlock(caps);

    simhost::REALobject empty = sim().New("WIAFormatInfoEnumeratorZVK");
    EXPECT_EQ(sim().Call<int64_t>(empty, "Count as integer"), 0);
    EXPECT_EQ(sim().Call<simhost::REALobject>(empty, "NextItem as WIAFormatInfoZVK"), nullptr);
    EXPECT_EQ(sim().GetInt(empty, "Lasterror"), -1);
    sim().Unlock(empty);
}

}  // namespace
}  // namespace zvk
