// The wrapper object model: creators taking over or copying what they wrap, destructors releasing it
// once, handle accessors, the window-handle read and the Lasterror rule.
#include <cstring>
#include <string>

#include "tests/platform/SimPlatform.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/PluginTest.h"
#include "tests/host/BootedHost.h"
#include "wia/Classes.h"
#include "wia/GUIDClass.h"
#include "wia/Wrapper.h"

namespace simhost {
namespace {

REALobject Host(zvk::REALobject object) {
    return reinterpret_cast<REALobject>(object);
}
zvk::REALobject Lib(REALobject object) {
    return reinterpret_cast<zvk::REALobject>(object);
}
int64_t Address(const void* pointer) {
    return static_cast<int64_t>(reinterpret_cast<uintptr_t>(pointer));
}

class Wrapper : public zvk::BootedHostTest {
protected:
    SimHost& host() { return sim(); }
};

struct CreatorRow {
    const char* cls;
    zvk::REALobject (*make)(IUnknown*);
    const char* field;  // where the pointer goes besides Handle, or null
    const char* label;  // logged by the destructor, or null
};

template <typename I, zvk::REALobject (*Creator)(I*)>
zvk::REALobject Make(IUnknown* pointer) {
    return Creator(reinterpret_cast<I*>(pointer));
}

const CreatorRow kCreators[] = {
    {"WIAPropertyStorageZVK", Make<IWiaPropertyStorage, zvk::NewPropertyStorageObject>, nullptr, "WIAPropertyStorageDestructor"},
    {"WIAPropertyEnumeratorZVK", Make<IEnumSTATPROPSTG, zvk::NewPropertyEnumeratorObject>, nullptr,
     "WIAPropertyEnumeratorDestructor"},
    {"WIADeviceInfoEnumeratorZVK", Make<IEnumWIA_DEV_INFO, zvk::NewDeviceInfoEnumeratorObject>, nullptr, nullptr},
    {"WIADeviceCapabilitiesEnumeratorZVK", Make<IEnumWIA_DEV_CAPS, zvk::NewDeviceCapabilitiesEnumeratorObject>, nullptr, nullptr},
    {"WIAFormatInfoEnumeratorZVK", Make<IEnumWIA_FORMAT_INFO, zvk::NewFormatInfoEnumeratorObject>, nullptr, nullptr},
    {"WIATransferZVK", Make<IWiaTransfer, zvk::NewTransferObject>, nullptr, nullptr},
    {"WIADataTransferZVK", Make<IWiaDataTransfer, zvk::NewDataTransferObject>, nullptr, nullptr},
    {"WIAItemZVK", Make<IWiaItem, zvk::NewItemObject>, "Handle1", nullptr},
    {"WIAItemZVK", Make<IWiaItem2, zvk::NewItemObject>, "Handle2", nullptr},
    {"WIAItemEnumeratorZVK", Make<IEnumWiaItem, zvk::NewItemEnumeratorObject>, "Handle1", nullptr},
    {"WIAItemEnumeratorZVK", Make<IEnumWiaItem2, zvk::NewItemEnumeratorObject>, "Handle2", nullptr},
};

// Each creator takes over the caller's reference (no AddRef), the object's destructor gives it back
// once (Handle repeats the generation field), and a refused instance releases it at once. The test
// holds one extra reference to watch the count.
TEST_F(Wrapper, InterfaceCreatorsTakeOverOneReference) {
    EnableLogging();
    for (const CreatorRow& row : kCreators) {
        const std::string label = std::string(row.cls) + (row.field ? std::string(" ") + row.field : "");
        EXPECT_EQ(row.make(nullptr), nullptr) << label;
        EXPECT_EQ(host().instancesRequested[row.cls], 0) << label << ": nil before asking the host";

        IUnknown* pointer = simwia::NewCountedObject();
        pointer->AddRef();
        REALobject object = Host(row.make(pointer));
        ASSERT_NE(object, nullptr) << label;
        EXPECT_EQ(host().ClassName(object), row.cls);
        EXPECT_EQ(simwia::RefCount(pointer), 2u) << label;
        EXPECT_EQ(host().GetInt(object, "Handle"), Address(pointer)) << label;
        EXPECT_EQ(host().GetInt(object, "Lasterror"), 0) << label;
        for (const char* other : {"Handle1", "Handle2"}) {
            if (row.field == nullptr) continue;
            EXPECT_EQ(host().GetInt(object, other), std::strcmp(other, row.field) == 0 ? Address(pointer) : 0)
                << label << " " << other;
        }
        log().Clear();
        host().Unlock(object);
        EXPECT_EQ(simwia::RefCount(pointer), 1u) << label << ": destroyed objects release exactly once";
        EXPECT_EQ(log().Lines().size(), row.label ? 1u : 0u) << label << "\n" << log().Dump();
        if (row.label != nullptr) {
            EXPECT_TRUE(log().Contains(std::string("ZVK Debug: ") + row.label)) << log().Dump();
        }

        host().refuseInstance = [](const std::string&) { return true; };
        pointer->AddRef();
        EXPECT_EQ(row.make(pointer), nullptr) << label;
        EXPECT_EQ(simwia::RefCount(pointer), 1u) << label << ": refused instances release the reference";
        host().refuseInstance = nullptr;
        pointer->Release();
        host().instancesRequested.clear();
    }
}

// Objects that scripts make wrap nothing and die quietly; the classes that acquire their interface in
// a constructor release what their Handle holds once and clear it.
TEST_F(Wrapper, DestructorsOfScriptMadeObjects) {
    for (const ClassView& cls : host().Classes()) host().Unlock(host().New(cls.name));

    const std::pair<const char*, const char*> rows[] = {{"WIADeviceManager1ZVK", "WIADeviceManager1Destructor"},
                                                        {"WIADeviceManager2ZVK", "WIADeviceManager2Destructor"},
                                                        {"WIAStreamZVK", nullptr},
                                                        {"WIAVideoZVK", nullptr}};
    EnableLogging();
    for (const auto& [cls, label] : rows) {
        IUnknown* pointer = simwia::NewCountedObject();
        REALobject object = host().New(cls);
        host().SetInt(object, "Handle", Address(pointer));
        pointer->AddRef();
        log().Clear();
        host().Class(cls).destructor(object);
        EXPECT_EQ(simwia::RefCount(pointer), 1u) << cls;
        EXPECT_EQ(host().GetInt(object, "Handle"), 0) << cls;
        EXPECT_EQ(log().Lines().size(), label ? 1u : 0u) << cls << "\n" << log().Dump();
        if (label != nullptr) {
            EXPECT_TRUE(log().Contains(std::string("ZVK Debug: ") + label)) << log().Dump();
        }
        host().Unlock(object);
        pointer->Release();
    }
}

TEST_F(Wrapper, DataTransferDestructorReleasesTheKeptMedium) {
    IUnknown* stream = simwia::NewCountedObject(IID_IStream);
    REALobject object = host().New("WIADataTransferZVK");
    auto* medium = reinterpret_cast<STGMEDIUM*>(host().Data(object) + 16);
    medium->tymed = TYMED_ISTREAM;
    medium->pstm = reinterpret_cast<IStream*>(stream);
    stream->AddRef();
    host().Class("WIADataTransferZVK").destructor(object);
    EXPECT_EQ(simwia::RefCount(stream), 1u);
    EXPECT_EQ(medium->tymed, 0u);
    EXPECT_EQ(medium->pstm, nullptr);
    host().Unlock(object);
    stream->Release();
}

TEST_F(Wrapper, RecordCreatorsCopyAndTheirDestructorsGiveBack) {
    EXPECT_EQ(zvk::NewPropertyObject(nullptr), nullptr);
    EXPECT_EQ(zvk::NewFormatInfoObject(nullptr), nullptr);
    EXPECT_EQ(zvk::NewDeviceCapabilitiesObject(nullptr), nullptr);
    EXPECT_EQ(zvk::NewExtendedTransferInfoObject(nullptr), nullptr);

    wchar_t name[] = L"Item Name";
    STATPROPSTG description{name, 0x80000001u, 0xFFFF};
    ObjectRef property(host(), Host(zvk::NewPropertyObject(&description)));
    EXPECT_EQ(host().Bytes(host().GetString(property, "Name")), "Item Name");
    EXPECT_EQ(host().GetInt(property, "ID"), 0x80000001);
    EXPECT_EQ(host().GetInt(property, "Type"), 0xFFFF);
    description.lpwstrName = nullptr;
    ObjectRef unnamed(host(), Host(zvk::NewPropertyObject(&description)));
    EXPECT_EQ(host().GetString(unnamed, "Name"), nullptr);

    const GUID bmp = {0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const WIA_FORMAT_INFO format{bmp, -2};
    ObjectRef formatInfo(host(), Host(zvk::NewFormatInfoObject(&format)));
    EXPECT_EQ(host().GetInt(formatInfo, "Tymed"), -2);
    const GUID* formatID = zvk::GUIDOf(Lib(host().GetObjectProp(formatInfo, "FormatID")));
    ASSERT_NE(formatID, nullptr);
    EXPECT_EQ(std::memcmp(formatID, &bmp, 16), 0);

    wchar_t scan[] = L"Scan", empty[] = L"", kanji[] = L"\x753B\x50CF";
    const WIA_DEV_CAP capability{bmp, 0xFFFFFFFFu, scan, empty, nullptr, kanji};
    ObjectRef caps(host(), Host(zvk::NewDeviceCapabilitiesObject(&capability)));
    EXPECT_EQ(host().Bytes(host().GetString(caps, "GUID")), std::string(reinterpret_cast<const char*>(&bmp), 16));
    EXPECT_EQ(host().GetInt(caps, "Flags"), 0xFFFFFFFFll);
    EXPECT_EQ(host().Bytes(host().GetString(caps, "Name")), "Scan");
    EXPECT_EQ(host().GetString(caps, "Description"), nullptr);
    EXPECT_EQ(host().GetString(caps, "Icon"), nullptr);
    EXPECT_EQ(host().Bytes(host().GetString(caps, "Commandline")), "\xE7\x94\xBB\xE5\x83\x8F");

    const WIA_EXTENDED_TRANSFER_INFO info{20, 0xFFFFFFFFu, 65536, 0x80000000u, 2};
    ObjectRef extended(host(), Host(zvk::NewExtendedTransferInfoObject(&info)));
    const char* fields[] = {"Size", "MinBufferSize", "OptimalBufferSize", "MaxBufferSize", "NumBuffers"};
    const int64_t values[] = {20, 0xFFFFFFFFll, 65536, 0x80000000ll, 2};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(host().GetInt(extended, fields[i]), values[i]) << fields[i];

    // The destructors give back what the records own; the host then finds the fields cleared.
    const int64_t strings = host().LiveStrings(), objects = host().LiveObjects();
    for (REALobject record : {property.get(), formatInfo.get(), caps.get()})
        host().Class(host().ClassName(record)).destructor(record);
    EXPECT_EQ(host().LiveStrings(), strings - 4) << "Name; GUID, Name and Commandline";
    EXPECT_EQ(host().LiveObjects(), objects - 1) << "FormatID";

    host().refuseInstance = [](const std::string& cls) { return cls != "WIAGUIDZVK"; };
    EXPECT_EQ(zvk::NewPropertyObject(&description), nullptr);
    EXPECT_EQ(zvk::NewDeviceCapabilitiesObject(&capability), nullptr);
    host().refuseInstance = [](const std::string& cls) { return cls == "WIAGUIDZVK"; };
    ObjectRef noGuid(host(), Host(zvk::NewFormatInfoObject(&format)));
    EXPECT_EQ(host().GetObjectProp(noGuid, "FormatID"), nullptr);
    EXPECT_EQ(host().GetInt(noGuid, "Tymed"), -2);
}

TEST_F(Wrapper, HandleAccessorsAndWindowRead) {
    IUnknown* pointer = simwia::NewCountedObject();
    ObjectRef item1(host(), Host(zvk::NewItemObject(reinterpret_cast<IWiaItem*>(pointer))));
    pointer->AddRef();
    ObjectRef item2(host(), Host(zvk::NewItemObject(reinterpret_cast<IWiaItem2*>(pointer))));
    ObjectRef stream(host(), host().New("WIAStreamZVK"));
    host().SetInt(stream, "Handle", 0x5000);
    EXPECT_EQ(zvk::ItemHandleOf(Lib(item1)), reinterpret_cast<IWiaItem*>(pointer));
    EXPECT_EQ(zvk::ItemHandleOf(Lib(item2)), nullptr) << "a WIA 2.0 item has no WIA 1.0 interface";
    EXPECT_EQ(zvk::ItemHandleOf(nullptr), nullptr);
    EXPECT_EQ(zvk::StreamHandleOf(Lib(stream)), reinterpret_cast<IStream*>(0x5000));
    EXPECT_EQ(zvk::StreamHandleOf(nullptr), nullptr);
    host().SetInt(stream, "Handle", 0);

    ObjectRef window(host(), NewWindow(host(), 0x1234));
    ObjectRef desktop(host(), NewWindow(host(), 0x5678, "DesktopWindow"));
    ObjectRef bare(host(), host().NewBuiltin("Window"));
    EXPECT_EQ(zvk::WindowHandleOf(Lib(window)), reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(zvk::WindowHandleOf(Lib(desktop)), reinterpret_cast<HWND>(0x5678));
    EXPECT_EQ(zvk::WindowHandleOf(Lib(bare)), nullptr) << "a failed read";
    EXPECT_EQ(zvk::WindowHandleOf(nullptr), nullptr) << "nil window";
}

TEST_F(Wrapper, LasterrorKeepsTheSignOfTheResultCode) {
    const struct {
        HRESULT code;
        int64_t stored;
    } rows[] = {{S_OK, 0},
                {S_FALSE, 1},
                {E_OUTOFMEMORY, -2147024882},
                {E_INVALIDARG, -2147024809},
                {static_cast<HRESULT>(0x80000000u), -2147483648ll},
                {0x7FFFFFFF, 2147483647}};
    ObjectRef object(host(), host().New("WIAPropertyStorageZVK"));
    EnableLogging();
    for (const auto& row : rows) {
        auto* data = zvk::BeginMethod<zvk::InterfaceData>(zvk::gPropertyStorageClass, Lib(object), "rbTest");
        EXPECT_EQ(host().GetInt(object, "Lasterror"), -1) << "before the call";
        zvk::StoreResult(data->Lasterror, row.code, "handle->Call");
        EXPECT_EQ(host().GetInt(object, "Lasterror"), row.stored) << std::hex << "code 0x" << row.code;
        EXPECT_EQ(log().Lines().back(), "ZVK Debug: handle->Call " + std::to_string(row.stored));
    }
    EXPECT_EQ(log().Count("ZVK Debug: rbTest"), std::size(rows));
    EXPECT_EQ(zvk::BeginMethod<zvk::InterfaceData>(zvk::gPropertyStorageClass, nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace simhost
