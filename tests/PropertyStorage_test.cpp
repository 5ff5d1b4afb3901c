// WIAPropertyStorageZVK and the property enumerator on a device's information storage, as a script uses them: read,
// write and delete by id, by name and through a descriptor, names of ids, count, commit, revert and enumeration, with
// the values checked on the platform side; and its property constants against the platform's own ids and names.
#include "wia/WiaInterfaces.h"  // lets <wiadef.h> stand alone

#define DEFINE_WIA_PROPID_TO_NAME
#include <wiadef.h>

#include <algorithm>
#include <map>
#include <set>

#include "tests/host/PluginTest.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimScript.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

const wchar_t* const kTable = simwia::kScannerId;  // the scanner's device-information storage

class PropertyStorage : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        storage_ = OpenDeviceInformation(host());
        ASSERT_EQ(simwia::TableOf(reinterpret_cast<IUnknown*>(host().GetInt(storage_, "Handle"))), kTable);
    }

    void TearDown() override { host().Unlock(storage_), PluginTest::TearDown(); }
    REALobject storage() const { return storage_; }
    int64_t Lasterror() { return host().GetInt(storage_, "Lasterror"); }
    REALobject Int32(int32_t value) { return NewVariant(host(), vtype::kInt32, VariantKind::Int32, value); }
    REALobject String(const std::string& bytes) { return NewStringVariant(host(), vtype::kString, bytes); }

private:
    REALobject storage_ = nullptr;
};

TEST_F(PropertyStorage, WriteAndReadByIdAndByName) {
    ObjectRef seven(host(), Int32(7));
    host().Call<void>(storage(), "Write", 5000, seven);
    EXPECT_EQ(Lasterror(), 0);
    EXPECT_EQ(simwia::SpecsOf("IWiaPropertyStorage::WriteMultiple"), "id 5000 first 5000") << "its own id as the first new id";
    EXPECT_TRUE(simwia::StoredValue(kTable, 5000).vt() == VT_INT && simwia::StoredValue(kTable, 5000).get().intVal == 7);
    EXPECT_EQ(TakeVariantText(host(), host().Call<REALobject>(storage(), "Read", 5000)), "7");

    ObjectRef hello(host(), String("hello"));
    host().Call<void>(storage(), "Write", "Custom", hello, 0);
    EXPECT_EQ(simwia::SpecsOf("IWiaPropertyStorage::WriteMultiple"), "name Custom");
    EXPECT_EQ(Lasterror(), static_cast<int32_t>(STG_E_INVALIDPARAMETER)) << "a new name needs a first id";
    host().Call<void>(storage(), "Write", "Custom", hello, 6000);
    EXPECT_EQ(Lasterror(), 0);
    EXPECT_EQ(simwia::SpecsOf("IWiaPropertyStorage::WriteMultiple"), "name Custom first 6000");
    EXPECT_EQ(simwia::StoredName(kTable, 6000), std::wstring(L"Custom"));
    EXPECT_EQ(simwia::StoredValue(kTable, 6000).vt(), VT_BSTR);

    EXPECT_EQ(TakeVariantText(host(), host().Call<REALobject>(storage(), "Read", "Custom")), "hello");
    EXPECT_EQ(TakeVariantText(host(), host().Call<REALobject>(storage(), "Read", 6000)), "hello");
    EXPECT_EQ(Lasterror(), 0);

    EXPECT_EQ(host().Call<REALobject>(storage(), "Read", 4999), nullptr);
    EXPECT_EQ(Lasterror(), 1) << "a missing property reads as nil with S_FALSE";
}

TEST_F(PropertyStorage, DescriptorsChooseNameOverId) {
    ObjectRef descriptor(host(), host().New("WIAPropertyZVK"));
    host().SetInt(descriptor, "ID", 4);  // kDevicePropertyDevDesc
    std::string byId = TakeVariantText(host(), host().Call<REALobject>(storage(), "Read", descriptor));
    EXPECT_FALSE(byId.empty());
    EXPECT_EQ(simwia::SpecsOf("IWiaPropertyStorage::ReadMultiple"), "id 4");

    host().SetString(descriptor, "Name", "Name");  // kDevicePropertyDevNameString
    host().SetInt(descriptor, "ID", 9999);
    EXPECT_FALSE(TakeVariantText(host(), host().Call<REALobject>(storage(), "Read", descriptor)).empty());
    EXPECT_EQ(simwia::SpecsOf("IWiaPropertyStorage::ReadMultiple"), "name Name");

    host().SetString(descriptor, "Name", "Brand new");
    host().SetInt(descriptor, "ID", 7100);
    ObjectRef value(host(), Int32(-3));
    host().Call<void>(storage(), "Write", descriptor, value);
    EXPECT_EQ(simwia::SpecsOf("IWiaPropertyStorage::WriteMultiple"), "name Brand new first 7100") << "the ID is the first id";
    EXPECT_EQ(simwia::StoredName(kTable, 7100), std::wstring(L"Brand new"));
}

TEST_F(PropertyStorage, DeleteAndPropertyNames) {
    ObjectRef value(host(), Int32(1));
    host().Call<void>(storage(), "Write", 5001, value);
    host().Call<void>(storage(), "WritePropertyName", 5001, "Fifty");
    EXPECT_EQ(Lasterror(), 0);
    EXPECT_EQ(simwia::StoredName(kTable, 5001), std::wstring(L"Fifty"));
    StringRef name(host(), host().Call<REALstring>(storage(), "ReadPropertyName", 5001));
    EXPECT_EQ(host().Bytes(name), "Fifty");

    host().Call<void>(storage(), "DeletePropertyName", 5001);
    EXPECT_EQ(Lasterror(), 0);
    EXPECT_EQ(host().Call<REALstring>(storage(), "ReadPropertyName", 5001), nullptr);
    EXPECT_EQ(Lasterror(), 1) << "an id without a name";

    host().Call<void>(storage(), "Delete", 5001);
    host().Call<void>(storage(), "Write", "Gone", value, 5002);
    host().Call<void>(storage(), "Delete", "Gone");
    EXPECT_EQ(Lasterror(), 0);
    EXPECT_EQ(simwia::StoredValue(kTable, 5001).vt() + simwia::StoredValue(kTable, 5002).vt(), VT_EMPTY);
}

TEST_F(PropertyStorage, CountCommitRevertAndEnumeration) {
    const int64_t count = host().Call<int64_t>(storage(), "Count");
    host().Call<void>(storage(), "Commit", 1);
    EXPECT_EQ(simwia::LastCall("IWiaPropertyStorage::Commit").flags, 1);
    host().Call<void>(storage(), "Revert");
    EXPECT_EQ(Lasterror(), 0);

    ObjectRef properties(host(), host().Call<REALobject>(storage(), "Enumerate"));
    auto next = [&](REALobject from) {  // "id name type" of the next descriptor, or "nil"
        ObjectRef p(host(), host().Call<REALobject>(from, "NextItem"));
        if (p.get() == nullptr) return std::string("nil");
        REALstring name = host().GetString(p, "Name");
        return std::to_string(host().GetInt(p, "ID")) + " " + (name ? host().Bytes(name) : "") + " " +
               std::to_string(host().GetInt(p, "Type"));
    };
    std::vector<std::string> seen;
    for (std::string p = next(properties); p != "nil"; p = next(properties)) seen.push_back(p);
    EXPECT_EQ(static_cast<int64_t>(seen.size()), count);
    EXPECT_NE(std::find(seen.begin(), seen.end(), "2 Unique Device ID 8"), seen.end());
    EXPECT_EQ(host().GetInt(properties, "Lasterror"), 1);
    EXPECT_EQ(next(properties), "nil") << "and after the end again";
    host().Call<void>(properties, "Reset");
    ObjectRef clone(host(), host().Call<REALobject>(properties, "Clone"));
    EXPECT_EQ(next(properties), seen.at(0));
    EXPECT_EQ(next(clone), seen.at(0)) << "the clone moves on its own";
    host().Call<void>(properties, "Skip", 1000);
    EXPECT_EQ(host().GetInt(properties, "Lasterror"), 1);
    EXPECT_EQ(next(properties), "nil");
}

// Every constant kX = id has its kXString = "name", and the pairs are exactly the platform's (wiadef.h's table and the
// camera properties it leaves out), ids included: the camera's from focus distance on run 2086 to 2092, as the
// platform numbers them; focus metering 2072 carries the name of the platform's focus metering mode.
// clang-format off
#define P(macro) {macro, macro##_STR}
const std::pair<PROPID, const wchar_t*> kCamera[] = {
    P(WIA_DPC_THUMB_WIDTH), P(WIA_DPC_THUMB_HEIGHT), P(WIA_DPC_PICT_WIDTH), P(WIA_DPC_PICT_HEIGHT),
    P(WIA_DPC_COMPRESSION_SETTING), {WIA_DPC_FOCUS_METERING, L"Focus Metering Mode"}, P(WIA_DPC_TIMELAPSE_INTERVAL),
    P(WIA_DPC_TIMELAPSE_NUMBER), P(WIA_DPC_BURST_INTERVAL), P(WIA_DPC_BURST_NUMBER), P(WIA_DPC_EFFECT_MODE),
    P(WIA_DPC_DIGITAL_ZOOM), P(WIA_DPC_SHARPNESS), P(WIA_DPC_CONTRAST), P(WIA_DPC_CAPTURE_MODE), P(WIA_DPC_CAPTURE_DELAY),
    P(WIA_DPC_EXPOSURE_INDEX), P(WIA_DPC_EXPOSURE_METERING_MODE), P(WIA_DPC_FOCUS_DISTANCE), P(WIA_DPC_FOCAL_LENGTH),
    P(WIA_DPC_RGB_GAIN), P(WIA_DPC_WHITE_BALANCE), P(WIA_DPC_UPLOAD_URL), P(WIA_DPC_ARTIST), P(WIA_DPC_COPYRIGHT_INFO),
};
#undef P
// clang-format on

TEST(PropertyConstants, EveryIdAndNameIsThePlatformsPair) {
    SimHost host;
    host.Load();
    std::map<std::string, std::string> values;  // constant name -> value text
    for (const std::string& constant : host.Class("WIAPropertyStorageZVK").constants) values.insert(SplitConstant(constant));
    std::set<std::pair<std::string, std::string>> registered, platform;
    for (const auto& [name, value] : values)
        if (values.count(name + "String") != 0) registered.insert({value, values[name + "String"]});
    auto add = [&](PROPID id, const wchar_t* name) {
        platform.insert({std::to_string(id), "\"" + std::string(name, name + wcslen(name)) + "\""});
    };
    for (const WIA_PROPID_TO_NAME& pair : g_wiaPropIdToName)
        if (pair.propid != 0) add(pair.propid, pair.pszName);
    for (const auto& [id, name] : kCamera) add(id, name);
    EXPECT_EQ(registered, platform);
    EXPECT_EQ(values.size(), 303u);
    EXPECT_EQ(values["kTymedMultiPageCallback"], std::to_string(TYMED_MULTIPAGE_CALLBACK));
}

}  // namespace
}  // namespace simhost
