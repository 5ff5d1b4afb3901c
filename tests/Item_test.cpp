// Items and item enumerators of both generations, driven as a script drives them: open a device, walk
// its tree, open property storages, run commands, show the device dialogs, and check that every call
// goes to the generation it belongs to and that every failure lands in Lasterror.
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostVariants.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

constexpr const char* kItemClass = "WIAItemZVK";
constexpr const char* kCreateDevice = "CreateDevice(DeviceID as string) as WIAItemZVK";
constexpr const char* kRootItem = "RootItem as WIAItemZVK";
constexpr const char* kParentItem = "ParentItem as WIAItemZVK";
constexpr const char* kItemType = "ItemType as integer";
constexpr const char* kFindItemByName = "FindItemByName(name as string) as WIAItemZVK";
constexpr const char* kAnalyzeItem = "AnalyzeItem";
constexpr const char* kDeleteItem = "DeleteItem";
constexpr const char* kCreateChildItem =
    "CreateChildItem(ItemFlags as integer, CreationFlags as integer, ItemName as string, FullItemName as string) as WIAItemZVK";
constexpr const char* kDeviceCommand = "DeviceCommand(command as WIAGUIDZVK) as WIAItemZVK";
constexpr const char* kPropertyStorage = "PropertyStorage as WIAPropertyStorageZVK";
constexpr const char* kEnumChildren = "EnumerateChildItems(CategoryGUID as WIAGUIDZVK=nil) as WIAItemEnumeratorZVK";
constexpr const char* kEnumCapabilities = "EnumerateDeviceCapabilities(Flags as integer) as WIADeviceCapabilitiesEnumeratorZVK";
constexpr const char* kItemCategory = "ItemCategory as WIAGUIDZVK";
constexpr const char* kDataTransfer = "DataTransfer as WIADataTransferZVK";
constexpr const char* kTransfer = "Transfer as WIATransferZVK";
constexpr const char* kDialog1Window = "DeviceDialog(Win as window, Flags as integer, Intent as integer) as WIAItemZVK()";
constexpr const char* kDialog1Desktop = "DeviceDialog(Win as DesktopWindow, Flags as integer, Intent as integer) as WIAItemZVK()";
constexpr const char* kDialog1Handle =
    "DeviceDialog(WindowHandle as integer, Flags as integer, Intent as integer) as WIAItemZVK()";
constexpr const char* kDialog2Window =
    "DeviceDialog(Flags as integer, Win as window, FolderName as string, Filename as string, paths() as string, items() as "
    "WIAItemZVK)";
constexpr const char* kDialog2Desktop =
    "DeviceDialog(Flags as integer, Win as DesktopWindow, FolderName as string, Filename as string, paths() as string, "
    "items() as WIAItemZVK)";
constexpr const char* kDialog2Handle =
    "DeviceDialog(Flags as integer, WindowHandle as integer, FolderName as string, Filename as string, paths() as string, "
    "items() as WIAItemZVK)";
constexpr const char* kNext = "NextItem as WIAItemZVK";
constexpr const char* kCount = "Count as integer";
constexpr const char* kSkip = "Skip(celt as integer)";
constexpr const char* kReset = "Reset";
constexpr const char* kClone = "Clone as WIAItemEnumeratorZVK";
constexpr const char* kReadById = "Read(id as integer) as variant";
constexpr int64_t kFullItemNameId = 4099;  // WIA_IPA_FULL_ITEM_NAME

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// One generation: the manager that opens its devices, the field its objects use, its platform interfaces.
struct Generation {
    int number;
    const char* manager;
    const char* field;
    const char* otherField;
    const char* item;
    const char* enumerator;
};

const Generation kWia1{1, "WIADeviceManager1ZVK", "Handle1", "Handle2", "IWiaItem", "IEnumWiaItem"};
const Generation kWia2{2, "WIADeviceManager2ZVK", "Handle2", "Handle1", "IWiaItem2", "IEnumWiaItem2"};

void PrintTo(const Generation& g, std::ostream* os) {
    *os << "WIA " << g.number;
}

std::string Platform(const char* iface, const char* method) {
    return std::string(iface) + "::" + method;
}

// Shared helpers of the item suites.
class ItemTest : public PluginTest {
protected:
    // The root item of a device; the manager that opened it is gone again.
    REALobject OpenDevice(const Generation& g, const wchar_t* deviceId) {
        ObjectRef manager(host(), host().New(g.manager));
        host().Call<void>(manager.get(), "Constructor");
        StringRef id(host(), host().Str(Narrow(deviceId)));
        return host().Call<REALobject>(manager.get(), kCreateDevice, id.get());
    }

    REALobject Find(REALobject item, const wchar_t* fullName) {
        StringRef name(host(), host().Str(Narrow(fullName)));
        return host().Call<REALobject>(item, kFindItemByName, name.get());
    }

    // The simulated tree node an item object wraps ("" for none).
    std::wstring NodeOf(REALobject object) {
        if (object == nullptr) return L"";
        return simwia::TableOf(reinterpret_cast<IUnknown*>(host().GetInt(object, "Handle")));
    }

    // The object holds one interface, in the field of its generation, repeated in Handle.
    void ExpectGeneration(REALobject object, const Generation& g, const char* cls) {
        ASSERT_NE(object, nullptr) << cls;
        EXPECT_EQ(host().ClassName(object), cls);
        EXPECT_NE(host().GetInt(object, g.field), 0) << cls;
        EXPECT_EQ(host().GetInt(object, "Handle"), host().GetInt(object, g.field)) << cls;
        EXPECT_EQ(host().GetInt(object, g.otherField), 0) << cls;
    }

public:
    // An empty host array as a script passes it (3 strings, 4 objects); the caller drops it.
    REALarray NewArray(int32_t elementType) {
        using Create = REALarray (*)(int32_t, int64_t);
        return reinterpret_cast<Create>(host().entries.at("RuntimeArrayCreateSingleDimBoundedArray"))(elementType, -1);
    }

    void Drop(REALarray array) { host().Unlock(reinterpret_cast<REALobject>(array)); }

protected:
    GUID GUIDValue(REALobject guid) {
        GUID value{};
        if (guid != nullptr) memcpy(&value, host().Data(guid), sizeof value);
        return value;
    }

    std::vector<std::wstring> Walk(REALobject enumerator) {
        std::vector<std::wstring> names;
        while (REALobject child = host().Call<REALobject>(enumerator, kNext)) {
            ObjectRef childRef(host(), child);
            names.push_back(NodeOf(child));
        }
        return names;
    }

    static std::string TempFolder() {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        std::string directory(folder);
        if (!directory.empty() && directory.back() == '\\') directory.pop_back();
        return directory;
    }
};

// --- the tree of both generations --------------------------------------------------------------------------------

class Items : public ItemTest, public ::testing::WithParamInterface<Generation> {
protected:
    const Generation& gen() const { return GetParam(); }
};

TEST_P(Items, WalkTheScannerTree) {
    ObjectRef root(host(), OpenDevice(gen(), simwia::kScannerId));
    ExpectGeneration(root, gen(), kItemClass);
    EXPECT_EQ(host().Call<int64_t>(root.get(), kItemType), simwia::Item(simwia::kScannerRoot).type);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 0);

    ObjectRef children(host(), host().Call<REALobject>(root.get(), kEnumChildren, static_cast<REALobject>(nullptr)));
    ExpectGeneration(children, gen(), "WIAItemEnumeratorZVK");
    EXPECT_EQ(host().Call<int64_t>(children.get(), kCount), 2);
    std::vector<std::wstring> expected = simwia::Item(simwia::kScannerRoot).children;
    for (const std::wstring& name : expected) {
        ObjectRef child(host(), host().Call<REALobject>(children.get(), kNext));
        ExpectGeneration(child, gen(), kItemClass);
        EXPECT_EQ(NodeOf(child), name);
        EXPECT_EQ(host().GetInt(children, "Lasterror"), 0);
        EXPECT_EQ(host().Call<int64_t>(child.get(), kItemType), simwia::Item(name.c_str()).type) << Narrow(name);
        ObjectRef up(host(), host().Call<REALobject>(child.get(), kRootItem));
        ExpectGeneration(up, gen(), kItemClass);
        EXPECT_EQ(NodeOf(up), simwia::kScannerRoot);
    }
    EXPECT_EQ(host().Call<REALobject>(children.get(), kNext), nullptr) << "after the last child";
    EXPECT_EQ(host().GetInt(children, "Lasterror"), 1);
    EXPECT_EQ(host().Call<int64_t>(children.get(), kCount), 2) << "NextItem leaves the count alone";

    ObjectRef feeder(host(), Find(root, simwia::kScannerFeeder));
    ExpectGeneration(feeder, gen(), kItemClass);
    EXPECT_EQ(NodeOf(feeder), simwia::kScannerFeeder);
    EXPECT_EQ(simwia::LastCall(Platform(gen().item, "FindItemByName").c_str()).flags, 0);
    EXPECT_EQ(Find(root, L"0000\\Root\\Nowhere"), nullptr);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 1);
}

TEST_P(Items, TypeBitsMatchTheConstants) {
    ObjectRef root(host(), OpenDevice(gen(), simwia::kCameraId));
    ObjectRef picture(host(), Find(root, simwia::kCameraPicture1));
    const ClassView& cls = host().Class(kItemClass);
    auto bit = [&](const std::string& name) {
        for (const std::string& constant : cls.constants) {
            if (constant.rfind(name + " = &h", 0) == 0) return std::stoll(constant.substr(name.size() + 5), nullptr, 16);
        }
        ADD_FAILURE() << "no constant " << name;
        return 0LL;
    };
    int64_t rootType = host().Call<int64_t>(root.get(), kItemType);
    int64_t pictureType = host().Call<int64_t>(picture.get(), kItemType);
    EXPECT_NE(rootType & bit("kTypeFolder"), 0) << rootType;
    EXPECT_NE(rootType & bit("kTypeRoot"), 0) << rootType;
    EXPECT_NE(pictureType & bit("kTypeImage"), 0) << pictureType;
    EXPECT_NE(pictureType & bit("kTypeFile"), 0) << pictureType;
    EXPECT_NE(pictureType & bit("kTypeTransfer"), 0) << pictureType;
    EXPECT_EQ(pictureType & bit("kTypeFolder"), 0) << pictureType;
}

TEST_P(Items, EnumeratorSkipsResetsAndClones) {
    ObjectRef root(host(), OpenDevice(gen(), simwia::kScannerId));
    ObjectRef children(host(), host().Call<REALobject>(root.get(), kEnumChildren, static_cast<REALobject>(nullptr)));
    host().Call<void>(children.get(), kSkip, int64_t{1});
    EXPECT_EQ(host().GetInt(children, "Lasterror"), 0);
    EXPECT_EQ(simwia::LastCall(Platform(gen().enumerator, "Skip").c_str()).count, 1u);
    ObjectRef clone(host(), host().Call<REALobject>(children.get(), kClone));
    ExpectGeneration(clone, gen(), "WIAItemEnumeratorZVK");
    EXPECT_EQ(Walk(clone), std::vector<std::wstring>{simwia::kScannerFeeder}) << "the clone starts where the original stands";
    EXPECT_EQ(Walk(children), std::vector<std::wstring>{simwia::kScannerFeeder});
    host().Call<void>(children.get(), kReset);
    EXPECT_EQ(host().GetInt(children, "Lasterror"), 0);
    EXPECT_EQ(Walk(children), (std::vector<std::wstring>{simwia::kScannerFlatbed, simwia::kScannerFeeder}));
    host().Call<void>(children.get(), kSkip, int64_t{5});
    EXPECT_EQ(host().GetInt(children, "Lasterror"), 1) << "skipping past the end";
}

TEST_P(Items, PropertyStorageReadsTheItemAndLeavesLasterrorAlone) {
    ObjectRef root(host(), OpenDevice(gen(), simwia::kScannerId));
    ObjectRef flatbed(host(), Find(root, simwia::kScannerFlatbed));
    ObjectRef storage(host(), host().Call<REALobject>(flatbed.get(), kPropertyStorage));
    ASSERT_NE(storage.get(), nullptr);
    EXPECT_EQ(host().ClassName(storage), "WIAPropertyStorageZVK");
    EXPECT_EQ(host().GetInt(flatbed, "Lasterror"), -1) << "the query's code is not stored";
    ObjectRef value(host(), host().Call<REALobject>(storage.get(), kReadById, kFullItemNameId));
    ASSERT_NE(value.get(), nullptr);
    EXPECT_EQ(ReadVariant(host(), value).text, Narrow(simwia::kScannerFlatbed));
}

TEST_P(Items, CapabilitiesOnlyForCodeZero) {
    ObjectRef root(host(), OpenDevice(gen(), simwia::kCameraId));
    size_t commands = 0;
    for (const simwia::Capability& cap : simwia::Capabilities(simwia::kCameraId)) commands += cap.event ? 0 : 1;
    ObjectRef list(host(), host().Call<REALobject>(root.get(), kEnumCapabilities, int64_t{1}));
    ASSERT_NE(list.get(), nullptr);
    EXPECT_EQ(host().ClassName(list), "WIADeviceCapabilitiesEnumeratorZVK");
    EXPECT_EQ(host().Call<int64_t>(list.get(), kCount), static_cast<int64_t>(commands));
    EXPECT_EQ(simwia::LastCall(Platform(gen().item, "EnumDeviceCapabilities").c_str()).flags, 1);

    EXPECT_EQ(host().Call<REALobject>(root.get(), kEnumCapabilities, int64_t{0}), nullptr);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), static_cast<int32_t>(E_INVALIDARG));

    simwia::FailNext(Platform(gen().item, "EnumDeviceCapabilities").c_str(), S_FALSE);
    EXPECT_EQ(host().Call<REALobject>(root.get(), kEnumCapabilities, int64_t{1}), nullptr) << "a success code other than 0";
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 1);
}

TEST_P(Items, TakePictureGivesTheNewItem) {
    ObjectRef root(host(), OpenDevice(gen(), simwia::kCameraId));
    ObjectRef takePicture(host(), host().CallShared<REALobject>(kItemClass, "kCommandTakePicture as WIAGUIDZVK"));
    ObjectRef picture(host(), host().Call<REALobject>(root.get(), kDeviceCommand, takePicture.get()));
    ExpectGeneration(picture, gen(), kItemClass);
    EXPECT_EQ(NodeOf(picture), L"0001\\Root\\IMG_0003");
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 0);
    simwia::Call call = simwia::LastCall(Platform(gen().item, "DeviceCommand").c_str());
    EXPECT_EQ(call.flags, 0);
    ASSERT_TRUE(call.guid.has_value());
    EXPECT_EQ(*call.guid, GUIDValue(takePicture));

    simwia::ResetCounts();
    EXPECT_EQ(host().Call<REALobject>(root.get(), kDeviceCommand, static_cast<REALobject>(nullptr)), nullptr);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), -1);
    EXPECT_EQ(simwia::CallCount(Platform(gen().item, "DeviceCommand").c_str()), 0) << "no call without a command";
    EXPECT_TRUE(host().raised.empty());
}

TEST_P(Items, DeleteItemStaysAlive) {
    ObjectRef root(host(), OpenDevice(gen(), simwia::kCameraId));
    ObjectRef picture(host(), Find(root, simwia::kCameraPicture2));
    host().Call<void>(picture.get(), kDeleteItem);
    EXPECT_EQ(simwia::CallCount(Platform(gen().item, "DeleteItem").c_str()), 1);
    EXPECT_EQ(simwia::LastCall(Platform(gen().item, "DeleteItem").c_str()).flags, 0);
    EXPECT_EQ(host().GetInt(picture, "Lasterror"), static_cast<int32_t>(E_NOTIMPL));
    EXPECT_NE(host().GetInt(picture, "Handle"), 0);
    EXPECT_EQ(host().Call<int64_t>(picture.get(), kItemType), simwia::Item(simwia::kCameraPicture2).type);
}

TEST_F(ItemTest, AnObjectTheScriptMadeWrapsNothing) {
    ObjectRef item(host(), host().New(kItemClass));
    ObjectRef guid(host(), host().CallShared<REALobject>(kItemClass, "kCategoryRoot as WIAGUIDZVK"));
    StringRef name(host(), host().Str("Anything"));
    struct Row {
        const char* label;
        std::function<bool()> callIsEmpty;
    };
    const Row rows[] = {
        {"RootItem", [&] { return host().Call<REALobject>(item.get(), kRootItem) == nullptr; }},
        {"ParentItem", [&] { return host().Call<REALobject>(item.get(), kParentItem) == nullptr; }},
        {"ItemType", [&] { return host().Call<int64_t>(item.get(), kItemType) == 0; }},
        {"FindItemByName", [&] { return host().Call<REALobject>(item.get(), kFindItemByName, name.get()) == nullptr; }},
        {"AnalyzeItem", [&] { return host().Call<void>(item.get(), kAnalyzeItem), true; }},
        {"DeleteItem", [&] { return host().Call<void>(item.get(), kDeleteItem), true; }},
        {"CreateChildItem",
         [&] {
             return host().Call<REALobject>(item.get(), kCreateChildItem, int64_t{0}, int64_t{0}, name.get(), name.get()) ==
                    nullptr;
         }},
        {"DeviceCommand", [&] { return host().Call<REALobject>(item.get(), kDeviceCommand, guid.get()) == nullptr; }},
        {"PropertyStorage", [&] { return host().Call<REALobject>(item.get(), kPropertyStorage) == nullptr; }},
        {"EnumerateChildItems", [&] { return host().Call<REALobject>(item.get(), kEnumChildren, guid.get()) == nullptr; }},
        {"EnumerateDeviceCapabilities",
         [&] { return host().Call<REALobject>(item.get(), kEnumCapabilities, int64_t{1}) == nullptr; }},
        {"ItemCategory", [&] { return host().Call<REALobject>(item.get(), kItemCategory) == nullptr; }},
        {"DataTransfer", [&] { return host().Call<REALobject>(item.get(), kDataTransfer) == nullptr; }},
        {"Transfer", [&] { return host().Call<REALobject>(item.get(), kTransfer) == nullptr; }},
        {"DeviceDialog 1.0",
         [&] {
             REALarray result = host().Call<REALarray>(item.get(), kDialog1Handle, int64_t{0}, int64_t{0}, int64_t{0});
             bool empty = result != nullptr && ReadArray(host(), result).elements.empty();
             Drop(result);
             return empty;
         }},
    };
    for (const Row& row : rows) {
        host().SetInt(item, "Lasterror", 99);
        EXPECT_TRUE(row.callIsEmpty()) << row.label;
        EXPECT_EQ(host().GetInt(item, "Lasterror"), -1) << row.label;
    }
    EXPECT_EQ(simwia::LiveObjects(), 0);
    EXPECT_TRUE(host().raised.empty());
}

INSTANTIATE_TEST_SUITE_P(Generations, Items, ::testing::Values(kWia1, kWia2),
                         [](const ::testing::TestParamInfo<Generation>& param) {
                             return "Wia" + std::to_string(param.param.number);
                         });

// --- generation rules and their exceptions -----------------------------------------------------------------------

class ItemGenerations : public ItemTest {};

// Methods of one generation give nil (or nothing) with Lasterror -1 on an item of the other, without a call.
TEST_F(ItemGenerations, MethodsOfTheOtherGenerationMakeNoCall) {
    ObjectRef root1(host(), OpenDevice(kWia1, simwia::kScannerId));
    ObjectRef root2(host(), OpenDevice(kWia2, simwia::kScannerId));
    ObjectRef flatbed1(host(), Find(root1, simwia::kScannerFlatbed));
    struct Row {
        const char* label;
        REALobject item;
        const char* platformMethod;  // the call that must not happen
        std::function<bool()> callIsEmpty;
    };
    const Row rows[] = {
        {"ParentItem on WIA 1.0", flatbed1, "IWiaItem2::GetParentItem",
         [&] { return host().Call<REALobject>(flatbed1.get(), kParentItem) == nullptr; }},
        {"ItemCategory on WIA 1.0", flatbed1, "IWiaItem2::GetItemCategory",
         [&] { return host().Call<REALobject>(flatbed1.get(), kItemCategory) == nullptr; }},
        {"Transfer on WIA 1.0", flatbed1, "IWiaItem::QueryInterface",
         [&] { return host().Call<REALobject>(flatbed1.get(), kTransfer) == nullptr; }},
        {"DataTransfer on WIA 2.0", root2, "IWiaItem2::QueryInterface",
         [&] { return host().Call<REALobject>(root2.get(), kDataTransfer) == nullptr; }},
        {"AnalyzeItem on WIA 2.0", root2, "IWiaItem2::AnalyzeItem",
         [&] { return host().Call<void>(root2.get(), kAnalyzeItem), true; }},
        {"DeviceDialog 1.0 on WIA 2.0", root2, "IWiaItem2::DeviceDlg",
         [&] {
             REALarray result = host().Call<REALarray>(root2.get(), kDialog1Handle, int64_t{0}, int64_t{0}, int64_t{0});
             bool empty = result != nullptr && ReadArray(host(), result).elements.empty();
             Drop(result);
             return empty;
         }},
    };
    for (const Row& row : rows) {
        simwia::ResetCounts();
        host().SetInt(row.item, "Lasterror", 99);
        EXPECT_TRUE(row.callIsEmpty()) << row.label;
        EXPECT_EQ(host().GetInt(row.item, "Lasterror"), -1) << row.label;
        EXPECT_EQ(simwia::CallCount(row.platformMethod), 0) << row.label;
    }
}

TEST_F(ItemGenerations, AnalyzeItemOnWia1PassesFlagsZero) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kScannerId));
    host().Call<void>(root.get(), kAnalyzeItem);
    EXPECT_EQ(simwia::CallCount("IWiaItem::AnalyzeItem"), 1);
    EXPECT_EQ(simwia::LastCall("IWiaItem::AnalyzeItem").flags, 0);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), static_cast<int32_t>(E_NOTIMPL));
}

TEST_F(ItemGenerations, ParentsOnlyOnWia2) {
    ObjectRef root(host(), OpenDevice(kWia2, simwia::kScannerId));
    ObjectRef flatbed(host(), Find(root, simwia::kScannerFlatbed));
    ObjectRef parent(host(), host().Call<REALobject>(flatbed.get(), kParentItem));
    ExpectGeneration(parent, kWia2, kItemClass);
    EXPECT_EQ(NodeOf(parent), simwia::kScannerRoot);
    EXPECT_EQ(host().GetInt(flatbed, "Lasterror"), 0);
    EXPECT_EQ(host().Call<REALobject>(root.get(), kParentItem), nullptr) << "a root has no parent";
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 1);
}

TEST_F(ItemGenerations, CategoryOfAWia2Item) {
    ObjectRef root(host(), OpenDevice(kWia2, simwia::kScannerId));
    ObjectRef feeder(host(), Find(root, simwia::kScannerFeeder));
    EnableLogging();
    ObjectRef category(host(), host().Call<REALobject>(feeder.get(), kItemCategory));
    ASSERT_NE(category.get(), nullptr);
    EXPECT_EQ(host().ClassName(category), "WIAGUIDZVK");
    EXPECT_EQ(GUIDValue(category), simwia::Item(simwia::kScannerFeeder).category);
    ObjectRef published(host(), host().CallShared<REALobject>(kItemClass, "kCategoryFeeder as WIAGUIDZVK"));
    EXPECT_EQ(GUIDValue(category), GUIDValue(published));
    EXPECT_EQ(host().GetInt(feeder, "Lasterror"), 0);
    EXPECT_TRUE(log().Contains("ZVK Debug: GetItemCategory 0")) << log().Dump();
}

TEST_F(ItemGenerations, ChildItemsByCategoryOnWia2) {
    ObjectRef root(host(), OpenDevice(kWia2, simwia::kScannerId));
    ObjectRef feederCategory(host(), host().CallShared<REALobject>(kItemClass, "kCategoryFeeder as WIAGUIDZVK"));
    ObjectRef feeders(host(), host().Call<REALobject>(root.get(), kEnumChildren, feederCategory.get()));
    ExpectGeneration(feeders, kWia2, "WIAItemEnumeratorZVK");
    ASSERT_TRUE(simwia::LastCall("IWiaItem2::EnumChildItems").guid.has_value());
    EXPECT_EQ(*simwia::LastCall("IWiaItem2::EnumChildItems").guid, GUIDValue(feederCategory));
    EXPECT_EQ(Walk(feeders), std::vector<std::wstring>{simwia::kScannerFeeder});

    ObjectRef all(host(), host().Call<REALobject>(root.get(), kEnumChildren, static_cast<REALobject>(nullptr)));
    EXPECT_FALSE(simwia::LastCall("IWiaItem2::EnumChildItems").guid.has_value()) << "nil passes no category";
    EXPECT_EQ(Walk(all), simwia::Item(simwia::kScannerRoot).children);
}

TEST_F(ItemGenerations, Wia1IgnoresTheCategory) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kScannerId));
    ObjectRef feederCategory(host(), host().CallShared<REALobject>(kItemClass, "kCategoryFeeder as WIAGUIDZVK"));
    ObjectRef children(host(), host().Call<REALobject>(root.get(), kEnumChildren, feederCategory.get()));
    ExpectGeneration(children, kWia1, "WIAItemEnumeratorZVK");
    EXPECT_EQ(Walk(children), simwia::Item(simwia::kScannerRoot).children);
}

TEST_F(ItemGenerations, ChildItemsOfAnItemWithoutChildren) {
    for (const Generation& g : {kWia1, kWia2}) {
        ObjectRef root(host(), OpenDevice(g, simwia::kScannerId));
        ObjectRef flatbed(host(), Find(root, simwia::kScannerFlatbed));
        EXPECT_EQ(host().Call<REALobject>(flatbed.get(), kEnumChildren, static_cast<REALobject>(nullptr)), nullptr) << g.number;
        EXPECT_EQ(host().GetInt(flatbed, "Lasterror"), static_cast<int32_t>(E_INVALIDARG)) << g.number;
    }
}

TEST_F(ItemGenerations, PropertyStorageFailureLeavesLasterrorAtMinusOne) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kScannerId));
    simwia::FailNext("IWiaItem::QueryInterface", E_NOINTERFACE);
    EXPECT_EQ(host().Call<REALobject>(root.get(), kPropertyStorage), nullptr);
    EXPECT_EQ(simwia::CallCount("IWiaItem::QueryInterface"), 1);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), -1);
}

TEST_F(ItemGenerations, TransferInterfacesOfEachGeneration) {
    ObjectRef root1(host(), OpenDevice(kWia1, simwia::kScannerId));
    ObjectRef root2(host(), OpenDevice(kWia2, simwia::kScannerId));
    ObjectRef flatbed1(host(), Find(root1, simwia::kScannerFlatbed));
    ObjectRef flatbed2(host(), Find(root2, simwia::kScannerFlatbed));
    EnableLogging();
    ObjectRef dataTransfer(host(), host().Call<REALobject>(flatbed1.get(), kDataTransfer));
    ASSERT_NE(dataTransfer.get(), nullptr);
    EXPECT_EQ(host().ClassName(dataTransfer), "WIADataTransferZVK");
    EXPECT_EQ(host().GetInt(flatbed1, "Lasterror"), 0);
    EXPECT_TRUE(log().Contains("ZVK Debug: QueryInterface 0")) << log().Dump();
    ObjectRef transfer(host(), host().Call<REALobject>(flatbed2.get(), kTransfer));
    ASSERT_NE(transfer.get(), nullptr);
    EXPECT_EQ(host().ClassName(transfer), "WIATransferZVK");
    EXPECT_EQ(host().GetInt(flatbed2, "Lasterror"), 0);

    simwia::FailNext("IWiaItem::QueryInterface", E_NOINTERFACE);
    EXPECT_EQ(host().Call<REALobject>(flatbed1.get(), kDataTransfer), nullptr) << "a driver without the interface";
    EXPECT_EQ(host().GetInt(flatbed1, "Lasterror"), static_cast<int32_t>(E_NOINTERFACE));
}

// CreationFlags reaches only WIA 2.0, FullItemName only WIA 1.0; an empty name is a null string.
TEST_F(ItemGenerations, CreateChildItemRoutesItsArguments) {
    ObjectRef root1(host(), OpenDevice(kWia1, simwia::kCameraId));
    ObjectRef root2(host(), OpenDevice(kWia2, simwia::kCameraId));
    StringRef name(host(), host().Str("Album"));
    StringRef fullName(host(), host().Str("0001\\Root\\Album"));
    StringRef empty(host(), host().Str(""));

    EXPECT_EQ(host().Call<REALobject>(root1.get(), kCreateChildItem, int64_t{4}, int64_t{7}, name.get(), fullName.get()),
              nullptr);
    simwia::Call call = simwia::LastCall("IWiaItem::CreateChildItem");
    EXPECT_EQ(call.flags, 4);
    EXPECT_EQ(call.itemName.value_or(L"(null)"), L"Album");
    EXPECT_EQ(call.fullItemName.value_or(L"(null)"), L"0001\\Root\\Album");
    EXPECT_EQ(host().GetInt(root1, "Lasterror"), static_cast<int32_t>(E_NOTIMPL));
    EXPECT_EQ(simwia::CallCount("IWiaItem2::CreateChildItem"), 0);

    EXPECT_EQ(host().Call<REALobject>(root2.get(), kCreateChildItem, int64_t{4}, int64_t{7}, name.get(), fullName.get()),
              nullptr);
    call = simwia::LastCall("IWiaItem2::CreateChildItem");
    EXPECT_EQ(call.flags, 4);
    EXPECT_EQ(call.creationFlags, 7);
    EXPECT_EQ(call.itemName.value_or(L"(null)"), L"Album");
    EXPECT_FALSE(call.fullItemName.has_value());

    host().Call<REALobject>(root1.get(), kCreateChildItem, int64_t{0}, int64_t{0}, empty.get(), empty.get());
    call = simwia::LastCall("IWiaItem::CreateChildItem");
    EXPECT_FALSE(call.itemName.has_value());
    EXPECT_FALSE(call.fullItemName.has_value());
}

// --- device dialogs ----------------------------------------------------------------------------------------------

class ItemDialogs : public ItemTest {};

TEST_F(ItemDialogs, Wia1KeepsNilEntriesAligned) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kScannerId));
    ObjectRef window(host(), NewWindow(host(), 0x42));
    simwia::SetItemDialogAnswer(S_OK, {true, false, true});
    REALarray result = host().Call<REALarray>(root.get(), kDialog1Window, window.get(), int64_t{2}, int64_t{0x10001});
    ObjectRef resultRef(host(), reinterpret_cast<REALobject>(result));
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 0);
    ArrayContents contents = ReadArray(host(), result);
    EXPECT_EQ(contents.elementType, 4);
    ASSERT_EQ(contents.elements.size(), 3u);
    ExpectGeneration(static_cast<REALobject>(contents.elements[0]), kWia1, kItemClass);
    EXPECT_EQ(NodeOf(static_cast<REALobject>(contents.elements[0])), simwia::kScannerFlatbed);
    EXPECT_EQ(contents.elements[1], nullptr);
    EXPECT_EQ(NodeOf(static_cast<REALobject>(contents.elements[2])), simwia::kScannerFlatbed);
    for (void* element : contents.elements) {
        if (element != nullptr) {
            EXPECT_EQ(host().RefCount(static_cast<REALobject>(element)), 1) << "held by the array only";
        }
    }
    simwia::Call call = simwia::LastCall("IWiaItem::DeviceDlg");
    EXPECT_EQ(call.window, reinterpret_cast<HWND>(0x42));
    EXPECT_EQ(call.flags, 2);
    EXPECT_EQ(call.intent, 0x10001);
    EXPECT_TRUE(call.outputsClear);
}

// When the host makes no object for a chosen item, its place stays nil and its reference goes back.
TEST_F(ItemDialogs, Wia1ItemsTheHostRefusesStayNil) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kCameraId));
    simwia::SetItemDialogAnswer(S_OK, {true, true});
    host().refuseInstance = [](const std::string& className) { return className == kItemClass; };
    REALarray result = host().Call<REALarray>(root.get(), kDialog1Handle, int64_t{0}, int64_t{0}, int64_t{0});
    host().refuseInstance = nullptr;
    ObjectRef resultRef(host(), reinterpret_cast<REALobject>(result));
    ArrayContents contents = ReadArray(host(), result);
    EXPECT_EQ(contents.elements, (std::vector<void*>{nullptr, nullptr}));
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 0);
    EXPECT_EQ(simwia::LiveObjects(), 1) << "only the root is alive";
}

TEST_F(ItemDialogs, Wia1OverloadsReachTheSameDialog) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kCameraId));
    ObjectRef desktop(host(), NewWindow(host(), 0x77, "DesktopWindow"));
    struct Row {
        const char* label;
        std::function<REALarray()> call;
        HWND window;
    };
    const Row rows[] = {
        {"DesktopWindow",
         [&] { return host().Call<REALarray>(root.get(), kDialog1Desktop, desktop.get(), int64_t{4}, int64_t{1}); },
         reinterpret_cast<HWND>(0x77)},
        {"handle", [&] { return host().Call<REALarray>(root.get(), kDialog1Handle, int64_t{0x99}, int64_t{4}, int64_t{1}); },
         reinterpret_cast<HWND>(0x99)},
        {"nil window",
         [&] {
             return host().Call<REALarray>(root.get(), kDialog1Window, static_cast<REALobject>(nullptr), int64_t{4}, int64_t{1});
         },
         nullptr},
    };
    for (const Row& row : rows) {
        REALarray result = row.call();
        EXPECT_EQ(ReadArray(host(), result).elements.size(), 1u) << row.label;
        Drop(result);
        EXPECT_EQ(simwia::LastCall("IWiaItem::DeviceDlg").window, row.window) << row.label;
    }
}

TEST_F(ItemDialogs, Wia1CancelGivesAnEmptyArray) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kScannerId));
    simwia::SetItemDialogAnswer(S_FALSE);
    REALarray result = host().Call<REALarray>(root.get(), kDialog1Handle, int64_t{0}, int64_t{0}, int64_t{0});
    ObjectRef resultRef(host(), reinterpret_cast<REALobject>(result));
    EXPECT_TRUE(ReadArray(host(), result).elements.empty());
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 1);
}

TEST_F(ItemDialogs, Wia2FillsPathsAndItemsAheadOfWhatTheyHeld) {
    ObjectRef root(host(), OpenDevice(kWia2, simwia::kScannerId));
    ObjectRef window(host(), NewWindow(host(), 0x55));
    const std::string folder = TempFolder();
    StringRef folderName(host(), host().Str(folder));
    StringRef fileName(host(), host().Str("zvk-item-scan"));
    simwia::SetItemDialogAnswer(S_OK, {true}, 2);

    REALarray paths = NewArray(3);
    REALarray items = NewArray(4);
    {
        StringRef old(host(), host().Str("held before"));
        using Insert = void (*)(REALarray, int64_t, REALstring);
        using Proc = void* (*)(REALarray);
        reinterpret_cast<Insert>(reinterpret_cast<Proc>(host().entries.at("PluginStringArrayInsertProc"))(paths))(paths, 0,
                                                                                                                  old.get());
    }
    EnableLogging();
    host().Call<void>(root.get(), kDialog2Window, int64_t{0x40}, window.get(), folderName.get(), fileName.get(), paths, items);
    EXPECT_TRUE(log().Contains("ZVK Debug: rbDeviceDlg2")) << log().Dump();
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 0);

    ArrayContents pathList = ReadArray(host(), paths);
    ASSERT_EQ(pathList.elements.size(), 3u);
    EXPECT_EQ(host().Bytes(static_cast<REALstring>(pathList.elements[0])), folder + "\\zvk-item-scan.bmp");
    EXPECT_EQ(host().Bytes(static_cast<REALstring>(pathList.elements[1])), folder + "\\zvk-item-scan (2).bmp");
    EXPECT_EQ(host().Bytes(static_cast<REALstring>(pathList.elements[2])), "held before");
    ArrayContents itemList = ReadArray(host(), items);
    ASSERT_EQ(itemList.elements.size(), 1u);
    ExpectGeneration(static_cast<REALobject>(itemList.elements[0]), kWia2, kItemClass);
    EXPECT_EQ(NodeOf(static_cast<REALobject>(itemList.elements[0])), simwia::kScannerFlatbed);

    simwia::Call call = simwia::LastCall("IWiaItem2::DeviceDlg");
    EXPECT_EQ(call.flags, 0x40);
    EXPECT_EQ(call.window, reinterpret_cast<HWND>(0x55));
    EXPECT_EQ(call.folder.value_or(L"(null)"), std::wstring(folder.begin(), folder.end()));
    EXPECT_EQ(call.filename.value_or(L"(null)"), L"zvk-item-scan");
    EXPECT_TRUE(call.outputsClear);
    Drop(paths);
    Drop(items);
    DeleteFileA((folder + "\\zvk-item-scan.bmp").c_str());
    DeleteFileA((folder + "\\zvk-item-scan (2).bmp").c_str());
}

TEST_F(ItemDialogs, Wia2OverloadsAndMissingArrays) {
    ObjectRef root(host(), OpenDevice(kWia2, simwia::kCameraId));
    ObjectRef desktop(host(), NewWindow(host(), 0x66, "DesktopWindow"));
    const std::string folder = TempFolder();
    StringRef folderName(host(), host().Str(folder));
    StringRef fileName(host(), host().Str("zvk-item-shot"));
    simwia::SetItemDialogAnswer(S_OK, {true}, 1);

    // Without arrays to fill, the paths and the item are given back all the same.
    host().Call<void>(root.get(), kDialog2Desktop, int64_t{0}, desktop.get(), folderName.get(), fileName.get(),
                      static_cast<REALarray>(nullptr), static_cast<REALarray>(nullptr));
    EXPECT_EQ(host().GetInt(root, "Lasterror"), 0);
    EXPECT_EQ(simwia::LastCall("IWiaItem2::DeviceDlg").window, reinterpret_cast<HWND>(0x66));
    EXPECT_EQ(simwia::LiveObjects(), 1) << "only the root is alive";

    // No item chosen: items() stays empty.
    simwia::SetItemDialogAnswer(S_OK, {false}, 1);
    REALarray paths = NewArray(3);
    REALarray items = NewArray(4);
    host().Call<void>(root.get(), kDialog2Handle, int64_t{0}, int64_t{0x88}, folderName.get(), fileName.get(), paths, items);
    EXPECT_EQ(ReadArray(host(), paths).elements.size(), 1u);
    EXPECT_TRUE(ReadArray(host(), items).elements.empty());
    EXPECT_EQ(simwia::LastCall("IWiaItem2::DeviceDlg").window, reinterpret_cast<HWND>(0x88));
    Drop(paths);
    Drop(items);
    DeleteFileA((folder + "\\zvk-item-shot.bmp").c_str());

    // An empty folder name reaches the system as a null string.
    StringRef empty(host(), host().Str(""));
    host().Call<void>(root.get(), kDialog2Handle, int64_t{0}, int64_t{0}, empty.get(), fileName.get(),
                      static_cast<REALarray>(nullptr), static_cast<REALarray>(nullptr));
    EXPECT_FALSE(simwia::LastCall("IWiaItem2::DeviceDlg").folder.has_value());
    EXPECT_EQ(host().GetInt(root, "Lasterror"), static_cast<int32_t>(E_INVALIDARG));
}

TEST_F(ItemDialogs, Wia2FormOnAWia1ItemLeavesTheArraysUntouched) {
    ObjectRef root(host(), OpenDevice(kWia1, simwia::kScannerId));
    StringRef text(host(), host().Str("x"));
    REALarray paths = NewArray(3);
    REALarray items = NewArray(4);
    host().SetInt(root, "Lasterror", 5);
    host().Call<void>(root.get(), kDialog2Handle, int64_t{0}, int64_t{0}, text.get(), text.get(), paths, items);
    EXPECT_EQ(host().GetInt(root, "Lasterror"), -1);
    EXPECT_TRUE(ReadArray(host(), paths).elements.empty());
    EXPECT_TRUE(ReadArray(host(), items).elements.empty());
    EXPECT_EQ(simwia::CallCount("IWiaItem::DeviceDlg"), 0);
    Drop(paths);
    Drop(items);
}

// --- every platform call failed once -----------------------------------------------------------------------------

struct FailureRow {
    const Generation* gen;
    const char* platformMethod;  // "<interface of the generation>::<method>"
    const char* label;
    std::function<bool(ItemTest&, SimHost&, REALobject root)> callIsEmpty;  // on the camera's root
    bool storesCode;
};

TEST_F(ItemTest, EveryPlatformCallFailedOnce) {
    const std::string folder = TempFolder();
    auto object = [](const char* declaration) {
        return [declaration](ItemTest&, SimHost& host, REALobject root) {
            return host.Call<REALobject>(root, declaration) == nullptr;
        };
    };
    std::vector<FailureRow> rows;
    for (const Generation* g : {&kWia1, &kWia2}) {
        rows.push_back({g, "GetRootItem", "RootItem", object(kRootItem), true});
        rows.push_back({g, "GetItemType", "ItemType",
                        [](ItemTest&, SimHost& host, REALobject root) { return host.Call<int64_t>(root, kItemType) == 0; },
                        true});
        rows.push_back({g, "FindItemByName", "FindItemByName",
                        [](ItemTest&, SimHost& host, REALobject root) {
                            StringRef name(host, host.Str(Narrow(simwia::kCameraPicture1)));
                            return host.Call<REALobject>(root, kFindItemByName, name.get()) == nullptr;
                        },
                        true});
        rows.push_back({g, "DeleteItem", "DeleteItem",
                        [](ItemTest&, SimHost& host, REALobject root) { return host.Call<void>(root, kDeleteItem), true; },
                        true});
        rows.push_back({g, "CreateChildItem", "CreateChildItem",
                        [](ItemTest&, SimHost& host, REALobject root) {
                            StringRef name(host, host.Str("New"));
                            return host.Call<REALobject>(root, kCreateChildItem, int64_t{0}, int64_t{0}, name.get(),
                                                         name.get()) == nullptr;
                        },
                        true});
        rows.push_back({g, "DeviceCommand", "DeviceCommand",
                        [](ItemTest&, SimHost& host, REALobject root) {
                            ObjectRef command(host, host.CallShared<REALobject>(kItemClass, "kCommandTakePicture as WIAGUIDZVK"));
                            return host.Call<REALobject>(root, kDeviceCommand, command.get()) == nullptr;
                        },
                        true});
        rows.push_back({g, "QueryInterface", "PropertyStorage", object(kPropertyStorage), false});
        rows.push_back({g, "EnumDeviceCapabilities", "EnumerateDeviceCapabilities",
                        [](ItemTest&, SimHost& host, REALobject root) {
                            return host.Call<REALobject>(root, kEnumCapabilities, int64_t{1}) == nullptr;
                        },
                        true});
        rows.push_back({g, "EnumChildItems", "EnumerateChildItems",
                        [](ItemTest&, SimHost& host, REALobject root) {
                            return host.Call<REALobject>(root, kEnumChildren, static_cast<REALobject>(nullptr)) == nullptr;
                        },
                        true});
    }
    rows.push_back({&kWia1, "AnalyzeItem", "AnalyzeItem",
                    [](ItemTest&, SimHost& host, REALobject root) { return host.Call<void>(root, kAnalyzeItem), true; }, true});
    rows.push_back({&kWia1, "QueryInterface", "DataTransfer", object(kDataTransfer), true});
    rows.push_back({&kWia1, "DeviceDlg", "DeviceDialog",
                    [](ItemTest& test, SimHost& host, REALobject root) {
                        REALarray result = host.Call<REALarray>(root, kDialog1Handle, int64_t{0}, int64_t{0}, int64_t{0});
                        bool empty = ReadArray(host, result).elements.empty();
                        test.Drop(result);
                        return empty;
                    },
                    true});
    rows.push_back({&kWia2, "GetParentItem", "ParentItem", object(kParentItem), true});
    rows.push_back({&kWia2, "GetItemCategory", "ItemCategory", object(kItemCategory), true});
    rows.push_back({&kWia2, "QueryInterface", "Transfer", object(kTransfer), true});
    rows.push_back({&kWia2, "DeviceDlg", "DeviceDialog",
                    [folder](ItemTest& test, SimHost& host, REALobject root) {
                        StringRef folderName(host, host.Str(folder));
                        StringRef fileName(host, host.Str("zvk-never"));
                        REALarray paths = test.NewArray(3);
                        REALarray items = test.NewArray(4);
                        host.Call<void>(root, kDialog2Handle, int64_t{0}, int64_t{0}, folderName.get(), fileName.get(), paths,
                                        items);
                        bool empty = ReadArray(host, paths).elements.empty() && ReadArray(host, items).elements.empty();
                        test.Drop(paths);
                        test.Drop(items);
                        return empty;
                    },
                    true});

    for (const FailureRow& row : rows) {
        std::string method = Platform(row.gen->item, row.platformMethod);
        SCOPED_TRACE(std::string(row.label) + " through " + method);
        ObjectRef root(host(), OpenDevice(*row.gen, simwia::kCameraId));
        simwia::ResetCounts();
        simwia::FailNext(method.c_str(), E_ACCESSDENIED);
        EXPECT_TRUE(row.callIsEmpty(*this, host(), root)) << "gave a result";
        EXPECT_EQ(simwia::CallCount(method.c_str()), 1);
        EXPECT_EQ(host().GetInt(root, "Lasterror"), row.storesCode ? static_cast<int32_t>(E_ACCESSDENIED) : -1);
        simwia::ResetFailures();
    }
}

TEST_F(ItemTest, EveryEnumeratorCallFailedOnce) {
    struct Row {
        const char* method;
        std::function<bool(SimHost&, REALobject)> callIsEmpty;
    };
    const Row rows[] = {
        {"Next", [](SimHost& host, REALobject e) { return host.Call<REALobject>(e, kNext) == nullptr; }},
        {"Skip", [](SimHost& host, REALobject e) { return host.Call<void>(e, kSkip, int64_t{1}), true; }},
        {"Reset", [](SimHost& host, REALobject e) { return host.Call<void>(e, kReset), true; }},
        {"Clone", [](SimHost& host, REALobject e) { return host.Call<REALobject>(e, kClone) == nullptr; }},
        {"GetCount", [](SimHost& host, REALobject e) { return host.Call<int64_t>(e, kCount) == 0; }},
    };
    for (const Generation* g : {&kWia1, &kWia2}) {
        ObjectRef root(host(), OpenDevice(*g, simwia::kScannerId));
        for (const Row& row : rows) {
            std::string method = Platform(g->enumerator, row.method);
            SCOPED_TRACE(method);
            ObjectRef children(host(), host().Call<REALobject>(root.get(), kEnumChildren, static_cast<REALobject>(nullptr)));
            ASSERT_NE(children.get(), nullptr);
            simwia::ResetCounts();
            simwia::FailNext(method.c_str(), E_ACCESSDENIED);
            EXPECT_TRUE(row.callIsEmpty(host(), children)) << "gave a result";
            EXPECT_EQ(simwia::CallCount(method.c_str()), 1);
            EXPECT_EQ(host().GetInt(children, "Lasterror"), static_cast<int32_t>(E_ACCESSDENIED));
        }
    }
}

TEST_F(ItemTest, EnumeratorTheScriptMadeWrapsNothing) {
    ObjectRef enumerator(host(), host().New("WIAItemEnumeratorZVK"));
    host().SetInt(enumerator, "Lasterror", 3);
    EXPECT_EQ(host().Call<REALobject>(enumerator.get(), kNext), nullptr);
    EXPECT_EQ(host().Call<REALobject>(enumerator.get(), kClone), nullptr);
    EXPECT_EQ(host().Call<int64_t>(enumerator.get(), kCount), 0);
    host().Call<void>(enumerator.get(), kSkip, int64_t{1});
    host().Call<void>(enumerator.get(), kReset);
    EXPECT_EQ(host().GetInt(enumerator, "Lasterror"), -1);
}

// --- class tables ------------------------------------------------------------------------------------------------

struct TableRow {
    double version;
    size_t methods;
};

void PrintTo(const TableRow& row, std::ostream* os) {
    *os << "host " << row.version;
}

class ItemTables : public ::testing::TestWithParam<TableRow> {};

TEST_P(ItemTables, DesktopWindowOverloadsComeLastAndAreTrimmed) {
    Options options;
    options.version = GetParam().version;
    SimHost host(options);
    host.Load();
    const ClassView& item = host.Class(kItemClass);
    ASSERT_EQ(item.methods.size(), GetParam().methods);
    size_t windows = 0;
    for (size_t i = 0; i < item.methods.size(); ++i) {
        const std::string& declaration = item.methods[i].declaration;
        bool desktop = declaration.find("as DesktopWindow") != std::string::npos;
        bool window = desktop || declaration.find("as window") != std::string::npos;
        windows += window ? 1 : 0;
        EXPECT_EQ(desktop, i >= 18) << declaration;
        EXPECT_EQ(item.methods[i].flags, window ? 512u : 4u) << declaration;
    }
    EXPECT_EQ(windows, GetParam().methods - 16);
    EXPECT_EQ(host.Class("WIAItemEnumeratorZVK").methods.size(), 5u);
    EXPECT_EQ(item.sharedMethods.size(), 14u);
    ExpectHostCountsAtZero(host);
    ExpectComReferencesGivenBack();
}

INSTANTIATE_TEST_SUITE_P(Hosts, ItemTables, ::testing::Values(TableRow{2021.02, 18}, TableRow{2021.03, 20}),
                         [](const ::testing::TestParamInfo<TableRow>& param) {
                             return "Host" + std::to_string(static_cast<int>(param.param.version * 100 + 0.5));
                         });

// The constants carry the platform's documented values.
TEST_F(ItemTest, ConstantsCarryThePlatformValues) {
    struct Row {
        const char* name;
        int64_t value;
    };
    const Row rows[] = {
        {"kDeviceCommands", 1},
        {"kDeviceEvents", 2},
        {"kSelectDeviceNoDefault", 1},
        {"kDeviceDialogSingleImage", 2},
        {"kDeviceDialogUseCommonUI", 4},
        {"kIntentNone", 0},
        {"kIntentImageTypeColor", 1},
        {"kIntentImageTypeGrayscale", 2},
        {"kIntentImageTypeText", 4},
        {"kIntentImageTypeMask", 0xF},
        {"kIntentMinimizeSize", 0x10000},
        {"kIntentMaximizeQuality", 0x20000},
        {"kIntentBestPreview", 0x40000},
        {"kIntentSizeMask", 0xF0000},
        {"kTypeFree", 0},
        {"kTypeImage", 0x1},
        {"kTypeFile", 0x2},
        {"kTypeFolder", 0x4},
        {"kTypeRoot", 0x8},
        {"kTypeAnalyze", 0x10},
        {"kTypeAudio", 0x20},
        {"kTypeDevice", 0x40},
        {"kTypeDeleted", 0x80},
        {"kTypeDisconnected", 0x100},
        {"kTypeHPanorama", 0x200},
        {"kTypeVPanorama", 0x400},
        {"kTypeBurst", 0x800},
        {"kTypeStorage", 0x1000},
        {"kTypeTransfer", 0x2000},
        {"kTypeGenerated", 0x4000},
        {"kTypeHasAttachments", 0x8000},
        {"kTypeVideo", 0x10000},
    };
    const std::vector<std::string>& constants = host().Class(kItemClass).constants;
    ASSERT_EQ(constants.size(), std::size(rows));
    for (size_t i = 0; i < constants.size(); ++i) {
        const std::string& declaration = constants[i];
        size_t equals = declaration.find(" = ");
        ASSERT_NE(equals, std::string::npos) << declaration;
        EXPECT_EQ(declaration.substr(0, equals), rows[i].name) << "position " << i;
        std::string text = declaration.substr(equals + 3);
        int64_t value = text.rfind("&h", 0) == 0 ? std::stoll(text.substr(2), nullptr, 16) : std::stoll(text);
        EXPECT_EQ(value, rows[i].value) << declaration;
    }
}

}  // namespace
}  // namespace simhost
