// Items and item enumerators of both generations, driven as a script drives them: open a device, walk its tree,
// run commands, show the device dialogs; every call goes to the generation it belongs to and every failure lands
// in Lasterror.
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimScript.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

constexpr const char* kItem = "WIAItemZVK";

// One generation: the manager that opens its devices, the field its objects fill, its platform interfaces.
struct Generation {
    const char *manager, *field, *item;
    friend std::ostream& operator<<(std::ostream& out, const Generation& g) { return out << g.manager; }
};
const Generation kWia1{"WIADeviceManager1ZVK", "Handle1", "IWiaItem"};
const Generation kWia2{"WIADeviceManager2ZVK", "Handle2", "IWiaItem2"};

class ItemTest : public PluginTest {
protected:
    void TearDown() override {
        for (REALarray array : kept_) host().Unlock(reinterpret_cast<REALobject>(array));
        PluginTest::TearDown();
    }
    REALobject Find(REALobject item, const wchar_t* fullName) {
        return host().Call<REALobject>(item, "FindItemByName", Narrow(fullName));
    }
    REALobject Shared(const char* name) { return host().CallShared<REALobject>(kItem, name); }
    // The simulated node an object wraps, after checking it holds its generation's field only.
    std::wstring NodeOf(REALobject object, const Generation& g) {
        if (object == nullptr) return L"(nil)";
        EXPECT_EQ(host().GetInt(object, "Handle"), host().GetInt(object, g.field));
        EXPECT_EQ(host().GetInt(object, "Handle1") + host().GetInt(object, "Handle2"), host().GetInt(object, "Handle"));
        return simwia::TableOf(reinterpret_cast<IUnknown*>(host().GetInt(object, "Handle")));
    }
    std::vector<std::wstring> Walk(REALobject enumerator, const Generation& g) {
        std::vector<std::wstring> nodes;
        while (REALobject child = host().Call<REALobject>(enumerator, "NextItem"))
            nodes.push_back(NodeOf(ObjectRef(host(), child), g));
        return nodes;
    }
    // The elements of a host array; the array stays alive until the test ends.
    std::vector<void*> Take(REALarray array) { return kept_.push_back(array), ReadArray(host(), array).elements; }
    GUID ValueOf(REALobject guid) { return *reinterpret_cast<const GUID*>(host().Data(guid)); }

private:
    std::vector<REALarray> kept_;
};

class Items : public ItemTest, public ::testing::WithParamInterface<Generation> {};

TEST_P(Items, WalkTheTree) {
    const Generation& g = GetParam();
    ObjectRef root(host(), OpenItem(host(), g.manager, simwia::kScannerRoot));
    EXPECT_EQ(host().Call<int64_t>(root, "ItemType"), simwia::Item(simwia::kScannerRoot).type);
    ObjectRef children(host(), host().Call<REALobject>(root, "EnumerateChildItems", REALobject{}));
    EXPECT_EQ(host().Call<int64_t>(children, "Count"), 2);
    EXPECT_EQ(Walk(children, g), simwia::Item(simwia::kScannerRoot).children);
    EXPECT_EQ(host().GetInt(children, "Lasterror"), 1) << "NextItem after the last child";
    host().Call<void>(children, "Reset");
    host().Call<void>(children, "Skip", 1);
    ObjectRef clone(host(), host().Call<REALobject>(children, "Clone"));
    EXPECT_EQ(Walk(clone, g), std::vector<std::wstring>{simwia::kScannerFeeder}) << "the clone starts where it stood";

    ObjectRef flatbed(host(), Find(root, simwia::kScannerFlatbed));
    EXPECT_EQ(NodeOf(flatbed, g), simwia::kScannerFlatbed);
    EXPECT_EQ(Find(root, L"0000\\Root\\Nowhere"), nullptr);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 1);
    ObjectRef up(host(), host().Call<REALobject>(flatbed, "RootItem"));
    EXPECT_EQ(NodeOf(up, g), simwia::kScannerRoot);

    ObjectRef storage(host(), host().Call<REALobject>(flatbed, "PropertyStorage"));
    EXPECT_EQ(host().GetInt(flatbed, "Lasterror"), -1) << "a successful query leaves Lasterror alone";
    ObjectRef name(host(), host().Call<REALobject>(storage, "Read", int64_t{4099}));
    EXPECT_EQ(ReadVariant(host(), name).text, Narrow(simwia::kScannerFlatbed));

    int64_t eventCount = 0;
    for (const simwia::Capability& cap : simwia::Capabilities(simwia::kScannerId)) eventCount += cap.event ? 1 : 0;
    ObjectRef events(host(), host().Call<REALobject>(root, "EnumerateDeviceCapabilities", 2));
    EXPECT_EQ(host().Call<int64_t>(events, "Count"), eventCount);
    simwia::FailNext((std::string(g.item) + "::EnumDeviceCapabilities").c_str(), S_FALSE);
    EXPECT_EQ(host().Call<REALobject>(root, "EnumerateDeviceCapabilities", 2), nullptr);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 1);
}

TEST_P(Items, CommandsAndTreeChanges) {
    const Generation& g = GetParam();
    ObjectRef root(host(), OpenItem(host(), g.manager, simwia::kCameraRoot));
    ObjectRef takePicture(host(), Shared("kCommandTakePicture"));
    ObjectRef picture(host(), host().Call<REALobject>(root, "DeviceCommand", takePicture));
    EXPECT_EQ(NodeOf(picture, g), L"0001\\Root\\IMG_0003");
    EXPECT_EQ(simwia::LastCall((std::string(g.item) + "::DeviceCommand").c_str()).guid.value_or(GUID_NULL), ValueOf(takePicture));

    host().Call<void>(picture, "DeleteItem");
    EXPECT_EQ(host().GetInt(picture, "Lasterror"), static_cast<int32_t>(E_NOTIMPL));
    EXPECT_NE(host().GetInt(picture, "Handle"), 0) << "the object stays alive";

    // CreationFlags reaches only WIA 2.0 and FullItemName only WIA 1.0; an empty name is a null string.
    const bool wia2 = std::string(g.field) == "Handle2";
    EXPECT_EQ(host().Call<REALobject>(root, "CreateChildItem", 4, 7, "Album", ""), nullptr);
    EXPECT_EQ(simwia::ArgumentsOf((std::string(g.item) + "::CreateChildItem").c_str()),
              wia2 ? "flags 4 creation 7 name \"Album\"" : "flags 4 name \"Album\"");
    host().Call<REALobject>(root, "CreateChildItem", 0, 0, "", "Album");
    EXPECT_EQ(simwia::ArgumentsOf((std::string(g.item) + "::CreateChildItem").c_str()), wia2 ? "" : "full \"Album\"");
}

INSTANTIATE_TEST_SUITE_P(Generations, Items, ::testing::Values(kWia1, kWia2),
                         [](const ::testing::TestParamInfo<Generation>& p) { return std::string(p.param.field); });

TEST_F(ItemTest, Wia2ParentsCategoriesAndTransfers) {
    ObjectRef root(host(), OpenItem(host(), kWia2.manager, simwia::kScannerRoot));
    ObjectRef feeder(host(), Find(root, simwia::kScannerFeeder));
    ObjectRef parent(host(), host().Call<REALobject>(feeder, "ParentItem"));
    EXPECT_EQ(NodeOf(parent, kWia2), simwia::kScannerRoot);
    EXPECT_EQ(host().Call<REALobject>(root, "ParentItem"), nullptr);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 1) << "a root has no parent";

    EnableLogging();
    ObjectRef feederCategory(host(), Shared("kCategoryFeeder"));
    ObjectRef category(host(), host().Call<REALobject>(feeder, "ItemCategory"));
    EXPECT_EQ(ValueOf(category), ValueOf(feederCategory));
    EXPECT_TRUE(log().Contains("ZVK Debug: GetItemCategory 0")) << log().Dump();
    ObjectRef transfer(host(), host().Call<REALobject>(feeder, "Transfer"));
    EXPECT_EQ(host().ClassName(transfer), "WIATransferZVK");
    EXPECT_TRUE(log().Contains("ZVK Debug: QueryInterface 0")) << log().Dump();

    ObjectRef feeders(host(), host().Call<REALobject>(root, "EnumerateChildItems", feederCategory));
    EXPECT_EQ(simwia::LastCall("IWiaItem2::EnumChildItems").guid.value_or(GUID_NULL), ValueOf(feederCategory));
    EXPECT_EQ(Walk(feeders, kWia2), std::vector<std::wstring>{simwia::kScannerFeeder});
    ObjectRef root1(host(), OpenItem(host(), kWia1.manager, simwia::kScannerRoot));
    ObjectRef all(host(), host().Call<REALobject>(root1, "EnumerateChildItems", feederCategory));
    EXPECT_EQ(Walk(all, kWia1), simwia::Item(simwia::kScannerRoot).children) << "WIA 1.0 ignores the category";
}

TEST_F(ItemTest, Wia1DialogKeepsNilEntriesAligned) {
    ObjectRef root(host(), OpenItem(host(), kWia1.manager, simwia::kScannerRoot));
    ObjectRef window(host(), NewWindow(host(), 0x42));
    simwia::SetItemDialogAnswer(S_OK, {true, false, true});
    std::vector<void*> items = Take(host().Call<REALarray>(root, "DeviceDialog", window, 2, 0x10001));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(NodeOf(static_cast<REALobject>(items[0]), kWia1), simwia::kScannerFlatbed);
    EXPECT_EQ(items[1], nullptr);
    EXPECT_EQ(NodeOf(static_cast<REALobject>(items[2]), kWia1), simwia::kScannerFlatbed);
    EXPECT_EQ(simwia::ArgumentsOf("IWiaItem::DeviceDlg"), "window 0x42 flags 2 intent 0x10001 clear");

    host().refuseInstance = [](const std::string& className) { return className == kItem; };
    items = Take(host().Call<REALarray>(root, "DeviceDialog", 0, 0, 0));
    host().refuseInstance = nullptr;
    EXPECT_EQ(items, (std::vector<void*>{nullptr, nullptr, nullptr})) << "items the host does not make stay nil";
}

TEST_F(ItemTest, Wia2DialogFillsPathsAndItemsAheadOfWhatTheyHeld) {
    ObjectRef root(host(), OpenItem(host(), kWia2.manager, simwia::kScannerRoot));
    ObjectRef window(host(), NewWindow(host(), 0x55, "DesktopWindow"));
    const std::string folder = TempFolder();
    simwia::SetItemDialogAnswer(S_OK, {true}, 2);
    REALarray paths = NewArray(host(), 3);
    ObjectRef held(host(), host().New(kItem));
    REALarray items = NewArray(host(), 4, {held});
    EnableLogging();
    host().Call<void>(root,
                      "DeviceDialog(Flags as integer, Win as DesktopWindow, FolderName as string, Filename as string, paths() as "
                      "string, items() as WIAItemZVK)",
                      0x40, window, folder, "zvk-item-scan", paths, items);
    EXPECT_TRUE(log().Contains("ZVK Debug: rbDeviceDlg2")) << log().Dump();
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 0);
    std::vector<std::string> files;
    for (void* path : Take(paths)) files.push_back(host().Bytes(static_cast<REALstring>(path)));
    EXPECT_EQ(files, (std::vector<std::string>{folder + "\\zvk-item-scan.bmp", folder + "\\zvk-item-scan (2).bmp"}));
    std::vector<void*> chosen = Take(items);
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(NodeOf(static_cast<REALobject>(chosen[0]), kWia2), simwia::kScannerFlatbed);
    EXPECT_EQ(chosen[1], held);
    EXPECT_EQ(simwia::ArgumentsOf("IWiaItem2::DeviceDlg"), "window 0x55 flags 64 clear");
    // Without arrays to fill, the paths and the item are given back all the same.
    const long alive = simwia::LiveObjects();
    host().Call<void>(root, "DeviceDialog", 0, 0, folder, "zvk-item-scan", REALarray{}, REALarray{});
    EXPECT_EQ(simwia::LiveObjects(), alive) << "the chosen item is released";
    for (const std::string& file : files) DeleteFileA(file.c_str());
}

}  // namespace
}  // namespace simhost
