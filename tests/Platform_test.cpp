// Self-check of the simulated WIA platform, driven through wia/WiaInterfaces.h exactly as the library drives it:
// every declared slot reaches the simulated method of that name, both device managers offer the three devices,
// property storages, enumerators and dialogs answer as the platform does, and every reference is given back.
#include "wia/WiaInterfaces.h"

#include <wiadef.h>

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/host/PluginTest.h"
#include "tests/platform/SimPlatform.h"

namespace {

using simhost::PluginTest;

constexpr HRESULT kPlanned = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0777);

std::string Hr(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

// Owns one COM reference.
template <typename T>
class Ref {
public:
    Ref() = default;
    ~Ref() { reset(); }
    Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_ != nullptr) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// A PROPVARIANT cleared at the end of its scope.
struct Value {
    PROPVARIANT v;
    Value() { PropVariantInit(&v); }
    ~Value() { PropVariantClear(&v); }
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
};

class Bstr {
public:
    explicit Bstr(const wchar_t* text) : b_(text == nullptr ? nullptr : SysAllocString(text)) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return b_; }

private:
    BSTR b_;
};

template <typename To, typename From>
Ref<To> Query(From* from, const IID& iid) {
    Ref<To> to;
    EXPECT_EQ(Hr(from->QueryInterface(iid, to.put_void())), Hr(S_OK));
    return to;
}

Ref<IWiaDevMgr> Manager1() {
    Ref<IWiaDevMgr> manager;
    EXPECT_EQ(Hr(CoCreateInstance(kCLSID_WiaDevMgr, nullptr, CLSCTX_LOCAL_SERVER, kIID_IWiaDevMgr, manager.put_void())),
              Hr(S_OK));
    return manager;
}

Ref<IWiaDevMgr2> Manager2() {
    Ref<IWiaDevMgr2> manager;
    EXPECT_EQ(Hr(CoCreateInstance(kCLSID_WiaDevMgr2, nullptr, CLSCTX_LOCAL_SERVER, kIID_IWiaDevMgr2, manager.put_void())),
              Hr(S_OK));
    return manager;
}

// The item of that full name, reached from its device's root as the library does.
Ref<IWiaItem> Item1(const wchar_t* fullName) {
    Ref<IWiaItem> root, item;
    EXPECT_EQ(Hr(Manager1()->CreateDevice(Bstr(simwia::Item(fullName).deviceId.c_str()), root.put())), Hr(S_OK));
    EXPECT_EQ(Hr(root->FindItemByName(0, Bstr(fullName), item.put())), Hr(S_OK)) << "item " << fullName;
    return item;
}

Ref<IWiaItem2> Item2(const wchar_t* fullName) {
    Ref<IWiaItem2> root, item;
    EXPECT_EQ(Hr(Manager2()->CreateDevice(0, Bstr(simwia::Item(fullName).deviceId.c_str()), root.put())), Hr(S_OK));
    EXPECT_EQ(Hr(root->FindItemByName(0, Bstr(fullName), item.put())), Hr(S_OK)) << "item " << fullName;
    return item;
}

simwia::Text Opt(const wchar_t* text) {
    return text == nullptr ? simwia::Text() : simwia::Text(text);
}

PROPSPEC ById(PROPID id) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = id;
    return spec;
}

PROPSPEC ByName(const wchar_t* name) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_LPWSTR;
    spec.lpwstr = const_cast<LPOLESTR>(name);
    return spec;
}

PROPVARIANT I4(LONG value) {
    PROPVARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

// The full name of a device's root item.
std::wstring RootOf(const wchar_t* deviceId) {
    for (const wchar_t* root : {simwia::kScannerRoot, simwia::kCameraRoot, simwia::kVideoRoot}) {
        if (simwia::Item(root).deviceId == deviceId) return root;
    }
    return L"";
}

std::vector<BYTE> FileBytes(const std::wstring& path) {
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    BYTE buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.insert(bytes.end(), buffer, buffer + read);
    CloseHandle(file);
    return bytes;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    std::wstring folder = std::wstring(path) + L"simwia" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// --- every slot -----------------------------------------------------------------------------------------------------

// One object per simulated interface, reached the way the library reaches it.
struct Objects {
    Ref<IWiaDevMgr> mgr1 = Manager1();
    Ref<IWiaDevMgr2> mgr2 = Manager2();
    Ref<IWiaItem> item1 = Item1(simwia::kScannerFlatbed);
    Ref<IWiaItem2> item2 = Item2(simwia::kScannerFlatbed);
    Ref<IWiaPropertyStorage> storage = Query<IWiaPropertyStorage>(item1.get(), kIID_IWiaPropertyStorage);
    Ref<IWiaDataTransfer> dataTransfer = Query<IWiaDataTransfer>(item1.get(), kIID_IWiaDataTransfer);
    Ref<IWiaTransfer> transfer = Query<IWiaTransfer>(item2.get(), kIID_IWiaTransfer);
    Ref<IEnumWIA_DEV_INFO> devices;
    Ref<IEnumWiaItem> children1;
    Ref<IEnumWiaItem2> children2;
    Ref<IEnumWIA_DEV_CAPS> caps;
    Ref<IEnumWIA_FORMAT_INFO> formats;
    Ref<IEnumSTATPROPSTG> stats;
    Ref<IWiaVideo> video;

    Objects() {
        Ref<IWiaItem> root1;
        Ref<IWiaItem2> root2;
        EXPECT_EQ(Hr(item1->GetRootItem(root1.put())), Hr(S_OK));
        EXPECT_EQ(Hr(item2->GetRootItem(root2.put())), Hr(S_OK));
        EXPECT_EQ(Hr(mgr1->EnumDeviceInfo(WIA_DEVINFO_ENUM_LOCAL, devices.put())), Hr(S_OK));
        EXPECT_EQ(Hr(root1->EnumChildItems(children1.put())), Hr(S_OK));
        EXPECT_EQ(Hr(root2->EnumChildItems(nullptr, children2.put())), Hr(S_OK));
        EXPECT_EQ(Hr(item1->EnumDeviceCapabilities(WIA_DEVICE_COMMANDS, caps.put())), Hr(S_OK));
        EXPECT_EQ(Hr(transfer->EnumWIA_FORMAT_INFO(formats.put())), Hr(S_OK));
        EXPECT_EQ(Hr(storage->Enum(stats.put())), Hr(S_OK));
        EXPECT_EQ(Hr(CoCreateInstance(kCLSID_WiaVideo, nullptr, CLSCTX_INPROC_SERVER, kIID_IWiaVideo, video.put_void())),
                  Hr(S_OK));
    }
};

struct SlotRow {
    const char* method;  // the name the simulated object logs
    HRESULT (*call)(Objects&);
};

// Each call goes through the library's declaration; with a failure planned, no argument is touched.
const SlotRow kSlotRows[] = {
    {"IWiaDevMgr::EnumDeviceInfo", [](Objects& o) { return o.mgr1->EnumDeviceInfo(0, nullptr); }},
    {"IWiaDevMgr::CreateDevice", [](Objects& o) { return o.mgr1->CreateDevice(nullptr, nullptr); }},
    {"IWiaDevMgr::SelectDeviceDlg", [](Objects& o) { return o.mgr1->SelectDeviceDlg(nullptr, 0, 0, nullptr, nullptr); }},
    {"IWiaDevMgr::SelectDeviceDlgID", [](Objects& o) { return o.mgr1->SelectDeviceDlgID(nullptr, 0, 0, nullptr); }},
    {"IWiaDevMgr::GetImageDlg", [](Objects& o) { return o.mgr1->GetImageDlg(nullptr, 0, 0, 0, nullptr, nullptr, nullptr); }},
    {"IWiaDevMgr::RegisterEventCallbackProgram",
     [](Objects& o) { return o.mgr1->RegisterEventCallbackProgram(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
    {"IWiaDevMgr::RegisterEventCallbackInterface",
     [](Objects& o) { return o.mgr1->RegisterEventCallbackInterface(0, nullptr, nullptr, nullptr, nullptr); }},
    {"IWiaDevMgr::RegisterEventCallbackCLSID",
     [](Objects& o) { return o.mgr1->RegisterEventCallbackCLSID(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
    {"IWiaDevMgr::AddDeviceDlg", [](Objects& o) { return o.mgr1->AddDeviceDlg(nullptr, 0); }},

    {"IWiaDevMgr2::EnumDeviceInfo", [](Objects& o) { return o.mgr2->EnumDeviceInfo(0, nullptr); }},
    {"IWiaDevMgr2::CreateDevice", [](Objects& o) { return o.mgr2->CreateDevice(0, nullptr, nullptr); }},
    {"IWiaDevMgr2::SelectDeviceDlg", [](Objects& o) { return o.mgr2->SelectDeviceDlg(nullptr, 0, 0, nullptr, nullptr); }},
    {"IWiaDevMgr2::SelectDeviceDlgID", [](Objects& o) { return o.mgr2->SelectDeviceDlgID(nullptr, 0, 0, nullptr); }},
    {"IWiaDevMgr2::RegisterEventCallbackInterface",
     [](Objects& o) { return o.mgr2->RegisterEventCallbackInterface(0, nullptr, nullptr, nullptr, nullptr); }},
    {"IWiaDevMgr2::RegisterEventCallbackProgram",
     [](Objects& o) {
         return o.mgr2->RegisterEventCallbackProgram(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
     }},
    {"IWiaDevMgr2::RegisterEventCallbackCLSID",
     [](Objects& o) { return o.mgr2->RegisterEventCallbackCLSID(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
    {"IWiaDevMgr2::GetImageDlg",
     [](Objects& o) { return o.mgr2->GetImageDlg(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},

    {"IWiaItem::GetItemType", [](Objects& o) { return o.item1->GetItemType(nullptr); }},
    {"IWiaItem::AnalyzeItem", [](Objects& o) { return o.item1->AnalyzeItem(0); }},
    {"IWiaItem::EnumChildItems", [](Objects& o) { return o.item1->EnumChildItems(nullptr); }},
    {"IWiaItem::DeleteItem", [](Objects& o) { return o.item1->DeleteItem(0); }},
    {"IWiaItem::CreateChildItem", [](Objects& o) { return o.item1->CreateChildItem(0, nullptr, nullptr, nullptr); }},
    {"IWiaItem::EnumRegisterEventInfo", [](Objects& o) { return o.item1->EnumRegisterEventInfo(0, nullptr, nullptr); }},
    {"IWiaItem::FindItemByName", [](Objects& o) { return o.item1->FindItemByName(0, nullptr, nullptr); }},
    {"IWiaItem::DeviceDlg", [](Objects& o) { return o.item1->DeviceDlg(nullptr, 0, 0, nullptr, nullptr); }},
    {"IWiaItem::DeviceCommand", [](Objects& o) { return o.item1->DeviceCommand(0, nullptr, nullptr); }},
    {"IWiaItem::GetRootItem", [](Objects& o) { return o.item1->GetRootItem(nullptr); }},
    {"IWiaItem::EnumDeviceCapabilities", [](Objects& o) { return o.item1->EnumDeviceCapabilities(0, nullptr); }},
    {"IWiaItem::DumpItemData", [](Objects& o) { return o.item1->DumpItemData(nullptr); }},
    {"IWiaItem::DumpDrvItemData", [](Objects& o) { return o.item1->DumpDrvItemData(nullptr); }},
    {"IWiaItem::DumpTreeItemData", [](Objects& o) { return o.item1->DumpTreeItemData(nullptr); }},
    {"IWiaItem::Diagnostic", [](Objects& o) { return o.item1->Diagnostic(0, nullptr); }},

    {"IWiaItem2::CreateChildItem", [](Objects& o) { return o.item2->CreateChildItem(0, 0, nullptr, nullptr); }},
    {"IWiaItem2::DeleteItem", [](Objects& o) { return o.item2->DeleteItem(0); }},
    {"IWiaItem2::EnumChildItems", [](Objects& o) { return o.item2->EnumChildItems(nullptr, nullptr); }},
    {"IWiaItem2::FindItemByName", [](Objects& o) { return o.item2->FindItemByName(0, nullptr, nullptr); }},
    {"IWiaItem2::GetItemCategory", [](Objects& o) { return o.item2->GetItemCategory(nullptr); }},
    {"IWiaItem2::GetItemType", [](Objects& o) { return o.item2->GetItemType(nullptr); }},
    {"IWiaItem2::DeviceDlg",
     [](Objects& o) { return o.item2->DeviceDlg(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
    {"IWiaItem2::DeviceCommand", [](Objects& o) { return o.item2->DeviceCommand(0, nullptr, nullptr); }},
    {"IWiaItem2::EnumDeviceCapabilities", [](Objects& o) { return o.item2->EnumDeviceCapabilities(0, nullptr); }},
    {"IWiaItem2::CheckExtension", [](Objects& o) { return o.item2->CheckExtension(0, nullptr, IID_IUnknown, nullptr); }},
    {"IWiaItem2::GetExtension", [](Objects& o) { return o.item2->GetExtension(0, nullptr, IID_IUnknown, nullptr); }},
    {"IWiaItem2::GetParentItem", [](Objects& o) { return o.item2->GetParentItem(nullptr); }},
    {"IWiaItem2::GetRootItem", [](Objects& o) { return o.item2->GetRootItem(nullptr); }},
    {"IWiaItem2::GetPreviewComponent", [](Objects& o) { return o.item2->GetPreviewComponent(0, nullptr); }},
    {"IWiaItem2::EnumRegisterEventInfo", [](Objects& o) { return o.item2->EnumRegisterEventInfo(0, nullptr, nullptr); }},
    {"IWiaItem2::Diagnostic", [](Objects& o) { return o.item2->Diagnostic(0, nullptr); }},

    {"IWiaPropertyStorage::ReadMultiple", [](Objects& o) { return o.storage->ReadMultiple(0, nullptr, nullptr); }},
    {"IWiaPropertyStorage::WriteMultiple", [](Objects& o) { return o.storage->WriteMultiple(0, nullptr, nullptr, 0); }},
    {"IWiaPropertyStorage::DeleteMultiple", [](Objects& o) { return o.storage->DeleteMultiple(0, nullptr); }},
    {"IWiaPropertyStorage::ReadPropertyNames", [](Objects& o) { return o.storage->ReadPropertyNames(0, nullptr, nullptr); }},
    {"IWiaPropertyStorage::WritePropertyNames", [](Objects& o) { return o.storage->WritePropertyNames(0, nullptr, nullptr); }},
    {"IWiaPropertyStorage::DeletePropertyNames", [](Objects& o) { return o.storage->DeletePropertyNames(0, nullptr); }},
    {"IWiaPropertyStorage::Commit", [](Objects& o) { return o.storage->Commit(0); }},
    {"IWiaPropertyStorage::Revert", [](Objects& o) { return o.storage->Revert(); }},
    {"IWiaPropertyStorage::Enum", [](Objects& o) { return o.storage->Enum(nullptr); }},
    {"IWiaPropertyStorage::SetTimes", [](Objects& o) { return o.storage->SetTimes(nullptr, nullptr, nullptr); }},
    {"IWiaPropertyStorage::SetClass", [](Objects& o) { return o.storage->SetClass(GUID_NULL); }},
    {"IWiaPropertyStorage::Stat", [](Objects& o) { return o.storage->Stat(nullptr); }},
    {"IWiaPropertyStorage::GetPropertyAttributes",
     [](Objects& o) { return o.storage->GetPropertyAttributes(0, nullptr, nullptr, nullptr); }},
    {"IWiaPropertyStorage::GetCount", [](Objects& o) { return o.storage->GetCount(nullptr); }},
    {"IWiaPropertyStorage::GetPropertyStream", [](Objects& o) { return o.storage->GetPropertyStream(nullptr, nullptr); }},
    {"IWiaPropertyStorage::SetPropertyStream", [](Objects& o) { return o.storage->SetPropertyStream(nullptr, nullptr); }},

    {"IWiaDataTransfer::idtGetData", [](Objects& o) { return o.dataTransfer->idtGetData(nullptr, nullptr); }},
    {"IWiaDataTransfer::idtGetBandedData", [](Objects& o) { return o.dataTransfer->idtGetBandedData(nullptr, nullptr); }},
    {"IWiaDataTransfer::idtQueryGetData", [](Objects& o) { return o.dataTransfer->idtQueryGetData(nullptr); }},
    {"IWiaDataTransfer::idtEnumWIA_FORMAT_INFO", [](Objects& o) { return o.dataTransfer->idtEnumWIA_FORMAT_INFO(nullptr); }},
    {"IWiaDataTransfer::idtGetExtendedTransferInfo",
     [](Objects& o) { return o.dataTransfer->idtGetExtendedTransferInfo(nullptr); }},

    {"IWiaTransfer::Download", [](Objects& o) { return o.transfer->Download(0, nullptr); }},
    {"IWiaTransfer::Upload", [](Objects& o) { return o.transfer->Upload(0, nullptr, nullptr); }},
    {"IWiaTransfer::Cancel", [](Objects& o) { return o.transfer->Cancel(); }},
    {"IWiaTransfer::EnumWIA_FORMAT_INFO", [](Objects& o) { return o.transfer->EnumWIA_FORMAT_INFO(nullptr); }},

    {"IEnumWIA_DEV_INFO::Next", [](Objects& o) { return o.devices->Next(0, nullptr, nullptr); }},
    {"IEnumWIA_DEV_INFO::Skip", [](Objects& o) { return o.devices->Skip(0); }},
    {"IEnumWIA_DEV_INFO::Reset", [](Objects& o) { return o.devices->Reset(); }},
    {"IEnumWIA_DEV_INFO::Clone", [](Objects& o) { return o.devices->Clone(nullptr); }},
    {"IEnumWIA_DEV_INFO::GetCount", [](Objects& o) { return o.devices->GetCount(nullptr); }},
    {"IEnumWiaItem::Next", [](Objects& o) { return o.children1->Next(0, nullptr, nullptr); }},
    {"IEnumWiaItem::Skip", [](Objects& o) { return o.children1->Skip(0); }},
    {"IEnumWiaItem::Reset", [](Objects& o) { return o.children1->Reset(); }},
    {"IEnumWiaItem::Clone", [](Objects& o) { return o.children1->Clone(nullptr); }},
    {"IEnumWiaItem::GetCount", [](Objects& o) { return o.children1->GetCount(nullptr); }},
    {"IEnumWiaItem2::Next", [](Objects& o) { return o.children2->Next(0, nullptr, nullptr); }},
    {"IEnumWiaItem2::Skip", [](Objects& o) { return o.children2->Skip(0); }},
    {"IEnumWiaItem2::Reset", [](Objects& o) { return o.children2->Reset(); }},
    {"IEnumWiaItem2::Clone", [](Objects& o) { return o.children2->Clone(nullptr); }},
    {"IEnumWiaItem2::GetCount", [](Objects& o) { return o.children2->GetCount(nullptr); }},
    {"IEnumWIA_DEV_CAPS::Next", [](Objects& o) { return o.caps->Next(0, nullptr, nullptr); }},
    {"IEnumWIA_DEV_CAPS::Skip", [](Objects& o) { return o.caps->Skip(0); }},
    {"IEnumWIA_DEV_CAPS::Reset", [](Objects& o) { return o.caps->Reset(); }},
    {"IEnumWIA_DEV_CAPS::Clone", [](Objects& o) { return o.caps->Clone(nullptr); }},
    {"IEnumWIA_DEV_CAPS::GetCount", [](Objects& o) { return o.caps->GetCount(nullptr); }},
    {"IEnumWIA_FORMAT_INFO::Next", [](Objects& o) { return o.formats->Next(0, nullptr, nullptr); }},
    {"IEnumWIA_FORMAT_INFO::Skip", [](Objects& o) { return o.formats->Skip(0); }},
    {"IEnumWIA_FORMAT_INFO::Reset", [](Objects& o) { return o.formats->Reset(); }},
    {"IEnumWIA_FORMAT_INFO::Clone", [](Objects& o) { return o.formats->Clone(nullptr); }},
    {"IEnumWIA_FORMAT_INFO::GetCount", [](Objects& o) { return o.formats->GetCount(nullptr); }},
    {"IEnumSTATPROPSTG::Next", [](Objects& o) { return o.stats->Next(0, nullptr, nullptr); }},
    {"IEnumSTATPROPSTG::Skip", [](Objects& o) { return o.stats->Skip(0); }},
    {"IEnumSTATPROPSTG::Reset", [](Objects& o) { return o.stats->Reset(); }},
    {"IEnumSTATPROPSTG::Clone", [](Objects& o) { return o.stats->Clone(nullptr); }},

    {"IWiaVideo::get_PreviewVisible", [](Objects& o) { return o.video->get_PreviewVisible(nullptr); }},
    {"IWiaVideo::put_PreviewVisible", [](Objects& o) { return o.video->put_PreviewVisible(FALSE); }},
    {"IWiaVideo::get_ImagesDirectory", [](Objects& o) { return o.video->get_ImagesDirectory(nullptr); }},
    {"IWiaVideo::put_ImagesDirectory", [](Objects& o) { return o.video->put_ImagesDirectory(nullptr); }},
    {"IWiaVideo::CreateVideoByWiaDevID",
     [](Objects& o) { return o.video->CreateVideoByWiaDevID(nullptr, nullptr, FALSE, FALSE); }},
    {"IWiaVideo::CreateVideoByDevNum", [](Objects& o) { return o.video->CreateVideoByDevNum(0, nullptr, FALSE, FALSE); }},
    {"IWiaVideo::CreateVideoByName", [](Objects& o) { return o.video->CreateVideoByName(nullptr, nullptr, FALSE, FALSE); }},
    {"IWiaVideo::DestroyVideo", [](Objects& o) { return o.video->DestroyVideo(); }},
    {"IWiaVideo::Play", [](Objects& o) { return o.video->Play(); }},
    {"IWiaVideo::Pause", [](Objects& o) { return o.video->Pause(); }},
    {"IWiaVideo::TakePicture", [](Objects& o) { return o.video->TakePicture(nullptr); }},
    {"IWiaVideo::ResizeVideo", [](Objects& o) { return o.video->ResizeVideo(FALSE); }},
    {"IWiaVideo::GetCurrentState", [](Objects& o) { return o.video->GetCurrentState(nullptr); }},
};

using PlatformSlots = PluginTest;

TEST_F(PlatformSlots, EveryDeclaredMethodReachesTheSimulatedMethodOfItsName) {
    Objects objects;
    for (const SlotRow& row : kSlotRows) {
        simwia::ResetCounts();
        simwia::FailNext(row.method, kPlanned);
        EXPECT_EQ(Hr(row.call(objects)), Hr(kPlanned)) << row.method;
        EXPECT_EQ(simwia::CallCount(row.method), 1) << row.method;
    }
    simwia::ResetFailures();
}

// --- devices --------------------------------------------------------------------------------------------------------

// Walks a device-information enumerator and gives the identifiers and types it lists.
void ExpectDevices(IEnumWIA_DEV_INFO* devices, const std::vector<std::wstring>& ids, const char* label) {
    ULONG count = 0;
    EXPECT_EQ(Hr(devices->GetCount(&count)), Hr(S_OK)) << label;
    EXPECT_EQ(count, ids.size()) << label;
    for (const std::wstring& id : ids) {
        Ref<IWiaPropertyStorage> info;
        ULONG fetched = 0;
        ASSERT_EQ(Hr(devices->Next(1, info.put(), &fetched)), Hr(S_OK)) << label;
        EXPECT_EQ(simwia::TableOf(info.get()), id) << label;
        PROPSPEC specs[] = {ById(WIA_DIP_DEV_ID), ByName(WIA_DIP_DEV_ID_STR), ById(WIA_DIP_DEV_TYPE)};
        Value values[3];
        PROPVARIANT raw[3];
        EXPECT_EQ(Hr(info->ReadMultiple(3, specs, raw)), Hr(S_OK)) << label;
        for (int i = 0; i < 3; ++i) values[i].v = raw[i];
        ASSERT_EQ(values[0].v.vt, VT_BSTR) << label;
        ASSERT_EQ(values[1].v.vt, VT_BSTR) << label;
        EXPECT_EQ(std::wstring(values[0].v.bstrVal), id) << label;
        EXPECT_EQ(std::wstring(values[1].v.bstrVal), id) << label << ": by name";
        ASSERT_EQ(values[2].v.vt, VT_I4) << label;
        const LONG type = HIWORD(values[2].v.lVal);
        EXPECT_EQ(type, id == simwia::kScannerId ? 1 : id == simwia::kCameraId ? 2 : 3) << label << " type of " << id;
    }
}

using PlatformDevices = PluginTest;

TEST_F(PlatformDevices, BothManagersEnumerateTheInstalledDevicesWithTheirInformation) {
    const std::vector<std::wstring> all = {simwia::kScannerId, simwia::kCameraId, simwia::kVideoId};
    ASSERT_EQ(simwia::InstalledDevices(), all);
    {
        Ref<IEnumWIA_DEV_INFO> devices;
        ASSERT_EQ(Hr(Manager1()->EnumDeviceInfo(WIA_DEVINFO_ENUM_LOCAL, devices.put())), Hr(S_OK));
        EXPECT_EQ(simwia::LastCall("IWiaDevMgr::EnumDeviceInfo").flags, WIA_DEVINFO_ENUM_LOCAL);
        ExpectDevices(devices.get(), all, "WIA 1.0");
    }
    simwia::UninstallDevice(simwia::kCameraId);
    Ref<IEnumWIA_DEV_INFO> devices;
    ASSERT_EQ(Hr(Manager2()->EnumDeviceInfo(0x0F, devices.put())), Hr(S_OK));
    EXPECT_EQ(simwia::LastCall("IWiaDevMgr2::EnumDeviceInfo").flags, 0x0F);
    ExpectDevices(devices.get(), {simwia::kScannerId, simwia::kVideoId}, "WIA 2.0 without the camera");
}

struct CreateRow {
    const char* label;
    const wchar_t* id;
    HRESULT expected;
    const wchar_t* root;  // table of the root item handed out
};

const CreateRow kCreateRows[] = {
    {"scanner", simwia::kScannerId, S_OK, simwia::kScannerRoot},
    {"camera", simwia::kCameraId, S_OK, simwia::kCameraRoot},
    {"video", simwia::kVideoId, S_OK, simwia::kVideoRoot},
    {"null id", nullptr, E_INVALIDARG, L""},
    {"empty id", L"", WIA_S_NO_DEVICE_AVAILABLE, L""},
    {"unknown id", L"{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}\\0009", WIA_S_NO_DEVICE_AVAILABLE, L""},
};

TEST_F(PlatformDevices, CreateDeviceGivesTheRootOfTheNamedDeviceInBothGenerations) {
    Ref<IWiaDevMgr> manager1 = Manager1();
    Ref<IWiaDevMgr2> manager2 = Manager2();
    for (const CreateRow& row : kCreateRows) {
        Bstr id(row.id);
        Ref<IWiaItem> root1;
        EXPECT_EQ(Hr(manager1->CreateDevice(id, root1.put())), Hr(row.expected)) << row.label;
        EXPECT_EQ(simwia::TableOf(root1.get()), row.root) << row.label;
        EXPECT_EQ(simwia::LastCall("IWiaDevMgr::CreateDevice").deviceId, Opt(row.id)) << row.label;
        Ref<IWiaItem2> root2;
        EXPECT_EQ(Hr(manager2->CreateDevice(0x20, id, root2.put())), Hr(row.expected)) << row.label;
        EXPECT_EQ(simwia::TableOf(root2.get()), row.root) << row.label;
        EXPECT_EQ(simwia::LastCall("IWiaDevMgr2::CreateDevice").flags, 0x20) << row.label;
        if (root1.get() != nullptr) {
            EXPECT_EQ(simwia::RefCount(root1.get()), 1u) << row.label;
            LONG type1 = 0, type2 = 0;
            EXPECT_EQ(Hr(root1->GetItemType(&type1)), Hr(S_OK));
            EXPECT_EQ(Hr(root2->GetItemType(&type2)), Hr(S_OK));
            EXPECT_EQ(type1, WiaItemTypeFolder | WiaItemTypeDevice | WiaItemTypeRoot) << row.label;
            EXPECT_EQ(type2, type1) << row.label;
        }
    }
}

// --- items ----------------------------------------------------------------------------------------------------------

// The tables of the items an item enumerator hands out, one Next at a time.
template <typename Enum, typename Item>
std::vector<std::wstring> Walk(Enum* items) {
    std::vector<std::wstring> tables;
    for (;;) {
        Ref<Item> item;
        ULONG fetched = 0;
        const HRESULT hr = items->Next(1, item.put(), &fetched);
        if (hr != S_OK) {
            EXPECT_EQ(Hr(hr), Hr(S_FALSE));
            EXPECT_EQ(fetched, 0u);
            EXPECT_EQ(item.get(), nullptr);
            return tables;
        }
        tables.push_back(simwia::TableOf(item.get()));
    }
}

using PlatformItems = PluginTest;

TEST_F(PlatformItems, TreesAnswerTheSameInBothGenerations) {
    for (const wchar_t* root : {simwia::kScannerRoot, simwia::kCameraRoot, simwia::kVideoRoot}) {
        const simwia::ItemInfo info = simwia::Item(root);
        Ref<IWiaItem> root1 = Item1(root);
        Ref<IWiaItem2> root2 = Item2(root);
        Ref<IEnumWiaItem> children1;
        Ref<IEnumWiaItem2> children2;
        ASSERT_EQ(Hr(root1->EnumChildItems(children1.put())), Hr(S_OK));
        ASSERT_EQ(Hr(root2->EnumChildItems(nullptr, children2.put())), Hr(S_OK));
        EXPECT_EQ((Walk<IEnumWiaItem, IWiaItem>(children1.get())), info.children);
        EXPECT_EQ((Walk<IEnumWiaItem2, IWiaItem2>(children2.get())), info.children);

        for (const std::wstring& name : info.children) {
            const simwia::ItemInfo child = simwia::Item(name.c_str());
            Ref<IWiaItem> child1 = Item1(name.c_str());
            Ref<IWiaItem2> child2 = Item2(name.c_str());
            LONG type1 = 0, type2 = 0;
            GUID category{};
            EXPECT_EQ(Hr(child1->GetItemType(&type1)), Hr(S_OK));
            EXPECT_EQ(Hr(child2->GetItemType(&type2)), Hr(S_OK));
            EXPECT_EQ(Hr(child2->GetItemCategory(&category)), Hr(S_OK));
            EXPECT_EQ(type1, child.type) << name;
            EXPECT_EQ(type2, child.type) << name;
            EXPECT_EQ(GuidText(category), GuidText(child.category)) << name;

            Ref<IWiaItem> top1;
            Ref<IWiaItem2> top2, parent;
            EXPECT_EQ(Hr(child1->GetRootItem(top1.put())), Hr(S_OK));
            EXPECT_EQ(Hr(child2->GetRootItem(top2.put())), Hr(S_OK));
            EXPECT_EQ(Hr(child2->GetParentItem(parent.put())), Hr(S_OK));
            EXPECT_EQ(simwia::TableOf(top1.get()), root) << name;
            EXPECT_EQ(simwia::TableOf(top2.get()), root) << name;
            EXPECT_EQ(simwia::TableOf(parent.get()), root) << name;

            Ref<IEnumWiaItem> none;
            EXPECT_EQ(Hr(child1->EnumChildItems(none.put())), Hr(E_INVALIDARG)) << name << " is no folder";
            EXPECT_EQ(none.get(), nullptr);
        }
        Ref<IWiaItem2> noParent;
        EXPECT_EQ(Hr(root2->GetParentItem(noParent.put())), Hr(S_FALSE));
        EXPECT_EQ(noParent.get(), nullptr);
    }
}

TEST_F(PlatformItems, ChildEnumerationFiltersByCategoryAndItemsShareTheirStorage) {
    Ref<IWiaItem2> root2 = Item2(simwia::kScannerRoot);
    const GUID feeder = simwia::Item(simwia::kScannerFeeder).category;
    Ref<IEnumWiaItem2> children;
    ASSERT_EQ(Hr(root2->EnumChildItems(&feeder, children.put())), Hr(S_OK));
    EXPECT_EQ((Walk<IEnumWiaItem2, IWiaItem2>(children.get())), std::vector<std::wstring>{simwia::kScannerFeeder});
    ASSERT_TRUE(simwia::LastCall("IWiaItem2::EnumChildItems").guid.has_value());
    EXPECT_EQ(GuidText(*simwia::LastCall("IWiaItem2::EnumChildItems").guid), GuidText(feeder));

    // One object per item answers the storage and transfer interfaces; QueryInterface adds one reference.
    Ref<IWiaItem> flatbed1 = Item1(simwia::kScannerFlatbed);
    Ref<IWiaItem2> flatbed2 = Item2(simwia::kScannerFlatbed);
    Ref<IWiaPropertyStorage> storage1 = Query<IWiaPropertyStorage>(flatbed1.get(), kIID_IWiaPropertyStorage);
    Ref<IWiaPropertyStorage> storage2 = Query<IWiaPropertyStorage>(flatbed2.get(), kIID_IWiaPropertyStorage);
    EXPECT_EQ(simwia::RefCount(flatbed1.get()), 2u);
    Ref<IWiaTransfer> wrongGeneration;
    EXPECT_EQ(Hr(flatbed1->QueryInterface(kIID_IWiaTransfer, wrongGeneration.put_void())), Hr(E_NOINTERFACE));
    EXPECT_EQ(wrongGeneration.get(), nullptr);

    PROPSPEC spec = ById(WIA_IPS_XRES);
    PROPVARIANT written = I4(600);
    ASSERT_EQ(Hr(storage1->WriteMultiple(1, &spec, &written, 2)), Hr(S_OK));
    Value read;
    ASSERT_EQ(Hr(storage2->ReadMultiple(1, &spec, &read.v)), Hr(S_OK));
    EXPECT_EQ(read.v.vt, VT_I4);
    EXPECT_EQ(read.v.lVal, 600) << "a write through WIA 1.0 is read through WIA 2.0";
}

TEST_F(PlatformItems, CapabilitiesAndFormatsFollowTheDevice) {
    struct CapsRow {
        const wchar_t* device;
        LONG flags;
    };
    const CapsRow rows[] = {{simwia::kScannerId, 1}, {simwia::kScannerId, 3}, {simwia::kCameraId, 2}, {simwia::kVideoId, 2}};
    for (const CapsRow& row : rows) {
        std::vector<simwia::Capability> expected;
        for (const simwia::Capability& cap : simwia::Capabilities(row.device)) {
            if ((row.flags & (cap.event ? WIA_DEVICE_EVENTS : WIA_DEVICE_COMMANDS)) != 0) expected.push_back(cap);
        }
        Ref<IWiaItem2> root = Item2(RootOf(row.device).c_str());
        Ref<IEnumWIA_DEV_CAPS> caps;
        ASSERT_EQ(Hr(root->EnumDeviceCapabilities(row.flags, caps.put())), Hr(S_OK));
        for (const simwia::Capability& want : expected) {
            WIA_DEV_CAP cap{};
            ASSERT_EQ(Hr(caps->Next(1, &cap, nullptr)), Hr(S_OK)) << row.flags;
            EXPECT_EQ(GuidText(cap.guid), GuidText(want.guid));
            EXPECT_EQ(cap.ulFlags, want.flags);
            EXPECT_EQ(cap.bstrName == nullptr, want.name == nullptr);
            EXPECT_EQ(cap.bstrCommandline == nullptr, want.commandline == nullptr);
            if (want.name != nullptr) {
                EXPECT_EQ(std::wstring(cap.bstrName), want.name);
            }
            for (BSTR text : {cap.bstrName, cap.bstrDescription, cap.bstrIcon, cap.bstrCommandline}) SysFreeString(text);
        }
        WIA_DEV_CAP end{};
        EXPECT_EQ(Hr(caps->Next(1, &end, nullptr)), Hr(S_FALSE)) << "flags " << row.flags;
    }
    Ref<IWiaItem> scanner = Item1(simwia::kScannerRoot);
    Ref<IEnumWIA_DEV_CAPS> none;
    EXPECT_EQ(Hr(scanner->EnumDeviceCapabilities(0, none.put())), Hr(E_INVALIDARG));
    EXPECT_EQ(none.get(), nullptr);
    const std::vector<simwia::Capability> scannerCaps = simwia::Capabilities(simwia::kScannerId);
    EXPECT_TRUE(scannerCaps[0].name != nullptr && scannerCaps[0].name[0] == L'\0') << "one capability has an empty name";

    // Formats: through IWiaDataTransfer on WIA 1.0 items, IWiaTransfer on WIA 2.0 items; none for roots.
    for (const wchar_t* name : {simwia::kScannerFlatbed, simwia::kCameraPicture2, simwia::kScannerRoot}) {
        const std::vector<simwia::FormatInfo> expected = simwia::Item(name).formats;
        Ref<IWiaItem> item1 = Item1(name);
        Ref<IWiaItem2> item2 = Item2(name);
        Ref<IEnumWIA_FORMAT_INFO> formats1, formats2;
        ASSERT_EQ(Hr(Query<IWiaDataTransfer>(item1.get(), kIID_IWiaDataTransfer)->idtEnumWIA_FORMAT_INFO(formats1.put())),
                  Hr(S_OK));
        ASSERT_EQ(Hr(Query<IWiaTransfer>(item2.get(), kIID_IWiaTransfer)->EnumWIA_FORMAT_INFO(formats2.put())), Hr(S_OK));
        for (IEnumWIA_FORMAT_INFO* formats : {formats1.get(), formats2.get()}) {
            std::vector<WIA_FORMAT_INFO> got(expected.size() + 1);
            ULONG fetched = 0;
            EXPECT_EQ(Hr(formats->Next(static_cast<ULONG>(got.size()), got.data(), &fetched)), Hr(S_FALSE));
            ASSERT_EQ(fetched, expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(GuidText(got[i].guidFormatID), GuidText(expected[i].format)) << name << " #" << i;
                EXPECT_EQ(got[i].lTymed, expected[i].tymed) << name << " #" << i;
            }
        }
    }
}

// --- enumerator protocol ------------------------------------------------------------------------------------------

std::wstring KeyOf(IWiaPropertyStorage*& p) {
    return simwia::TableOf(p);
}
std::wstring KeyOf(IWiaItem*& p) {
    return simwia::TableOf(p);
}
std::wstring KeyOf(IWiaItem2*& p) {
    return simwia::TableOf(p);
}
std::wstring KeyOf(WIA_DEV_CAP& c) {
    return GuidText(c.guid) + (c.bstrName ? c.bstrName : L"(null)");
}
std::wstring KeyOf(WIA_FORMAT_INFO& f) {
    return GuidText(f.guidFormatID) + std::to_wstring(f.lTymed);
}
std::wstring KeyOf(STATPROPSTG& s) {
    return std::to_wstring(s.propid) + (s.lpwstrName ? s.lpwstrName : L"(null)");
}

template <typename T>
void Free(T*& p) {
    if (p != nullptr) p->Release();
    p = nullptr;
}
void Free(WIA_DEV_CAP& c) {
    for (BSTR text : {c.bstrName, c.bstrDescription, c.bstrIcon, c.bstrCommandline}) SysFreeString(text);
    c = WIA_DEV_CAP{};
}
void Free(WIA_FORMAT_INFO&) {}
void Free(STATPROPSTG& s) {
    CoTaskMemFree(s.lpwstrName);
    s = STATPROPSTG{};
}

// Next to the end and past it, Next for more than is left, Skip past the end, Reset, and a Clone that starts
// where its original stands and moves on its own; GetCount where the interface has it.
template <typename Enum, typename Elem>
void CheckProtocol(Enum* e, size_t count) {
    if constexpr (!std::is_same_v<Enum, IEnumSTATPROPSTG>) {
        ULONG total = 99;
        EXPECT_EQ(Hr(e->GetCount(&total)), Hr(S_OK));
        EXPECT_EQ(total, count);
    }
    std::vector<std::wstring> keys;
    for (size_t i = 0; i < count; ++i) {
        Elem elem{};
        ULONG fetched = 99;
        EXPECT_EQ(Hr(e->Next(1, &elem, &fetched)), Hr(S_OK)) << "#" << i;
        EXPECT_EQ(fetched, 1u);
        keys.push_back(KeyOf(elem));
        Free(elem);
    }
    for (int again = 0; again < 2; ++again) {
        Elem elem{};
        ULONG fetched = 99;
        EXPECT_EQ(Hr(e->Next(1, &elem, &fetched)), Hr(S_FALSE)) << "past the end";
        EXPECT_EQ(fetched, 0u);
    }
    Elem two[2] = {};
    EXPECT_EQ(Hr(e->Next(2, two, nullptr)), Hr(E_INVALIDARG)) << "more than one without a counter";

    EXPECT_EQ(Hr(e->Reset()), Hr(S_OK));
    std::vector<Elem> all(count + 1);
    ULONG fetched = 99;
    EXPECT_EQ(Hr(e->Next(static_cast<ULONG>(all.size()), all.data(), &fetched)), Hr(S_FALSE));
    EXPECT_EQ(fetched, count);
    for (size_t i = 0; i < fetched && i < count; ++i) {
        EXPECT_EQ(KeyOf(all[i]), keys[i]) << "#" << i << " after Reset";
        Free(all[i]);
    }

    EXPECT_EQ(Hr(e->Reset()), Hr(S_OK));
    EXPECT_EQ(Hr(e->Skip(static_cast<ULONG>(count))), Hr(S_OK));
    EXPECT_EQ(Hr(e->Skip(1)), Hr(S_FALSE)) << "skip past the end";
    Elem last{};
    EXPECT_EQ(Hr(e->Next(1, &last, nullptr)), Hr(S_FALSE)) << "after skipping past the end";

    if (count < 2) return;
    EXPECT_EQ(Hr(e->Reset()), Hr(S_OK));
    EXPECT_EQ(Hr(e->Skip(1)), Hr(S_OK));
    Ref<Enum> clone;
    ASSERT_EQ(Hr(e->Clone(clone.put())), Hr(S_OK));
    Elem a{}, b{}, c{};
    EXPECT_EQ(Hr(e->Next(1, &a, nullptr)), Hr(S_OK));
    EXPECT_EQ(Hr(clone->Next(1, &b, nullptr)), Hr(S_OK));
    EXPECT_EQ(KeyOf(a), keys[1]) << "original";
    EXPECT_EQ(KeyOf(b), keys[1]) << "clone starts where the original stood";
    EXPECT_EQ(Hr(clone->Reset()), Hr(S_OK));
    EXPECT_EQ(Hr(clone->Next(1, &c, nullptr)), Hr(S_OK));
    EXPECT_EQ(KeyOf(c), keys[0]) << "clone moves on its own";
    Free(a);
    Free(b);
    Free(c);
}

struct ProtocolRow {
    const char* label;
    void (*run)();
};

const ProtocolRow kProtocolRows[] = {
    {"devices",
     [] {
         Ref<IEnumWIA_DEV_INFO> e;
         ASSERT_EQ(Hr(Manager2()->EnumDeviceInfo(WIA_DEVINFO_ENUM_LOCAL, e.put())), Hr(S_OK));
         CheckProtocol<IEnumWIA_DEV_INFO, IWiaPropertyStorage*>(e.get(), simwia::InstalledDevices().size());
     }},
    {"scanner children, WIA 1.0",
     [] {
         Ref<IEnumWiaItem> e;
         ASSERT_EQ(Hr(Item1(simwia::kScannerRoot)->EnumChildItems(e.put())), Hr(S_OK));
         CheckProtocol<IEnumWiaItem, IWiaItem*>(e.get(), simwia::Item(simwia::kScannerRoot).children.size());
     }},
    {"camera children, WIA 2.0",
     [] {
         Ref<IEnumWiaItem2> e;
         ASSERT_EQ(Hr(Item2(simwia::kCameraRoot)->EnumChildItems(nullptr, e.put())), Hr(S_OK));
         CheckProtocol<IEnumWiaItem2, IWiaItem2*>(e.get(), simwia::Item(simwia::kCameraRoot).children.size());
     }},
    {"video children (none), WIA 2.0",
     [] {
         Ref<IEnumWiaItem2> e;
         ASSERT_EQ(Hr(Item2(simwia::kVideoRoot)->EnumChildItems(nullptr, e.put())), Hr(S_OK));
         CheckProtocol<IEnumWiaItem2, IWiaItem2*>(e.get(), 0);
     }},
    {"camera capabilities",
     [] {
         Ref<IEnumWIA_DEV_CAPS> e;
         ASSERT_EQ(Hr(Item1(simwia::kCameraPicture1)->EnumDeviceCapabilities(3, e.put())), Hr(S_OK));
         CheckProtocol<IEnumWIA_DEV_CAPS, WIA_DEV_CAP>(e.get(), simwia::Capabilities(simwia::kCameraId).size());
     }},
    {"flatbed formats",
     [] {
         Ref<IEnumWIA_FORMAT_INFO> e;
         Ref<IWiaItem> item = Item1(simwia::kScannerFlatbed);
         ASSERT_EQ(Hr(Query<IWiaDataTransfer>(item.get(), kIID_IWiaDataTransfer)->idtEnumWIA_FORMAT_INFO(e.put())), Hr(S_OK));
         CheckProtocol<IEnumWIA_FORMAT_INFO, WIA_FORMAT_INFO>(e.get(), simwia::Item(simwia::kScannerFlatbed).formats.size());
     }},
    {"flatbed properties",
     [] {
         Ref<IEnumSTATPROPSTG> e;
         Ref<IWiaPropertyStorage> storage =
             Query<IWiaPropertyStorage>(Item2(simwia::kScannerFlatbed).get(), kIID_IWiaPropertyStorage);
         ULONG count = 0;
         ASSERT_EQ(Hr(storage->GetCount(&count)), Hr(S_OK));
         ASSERT_EQ(Hr(storage->Enum(e.put())), Hr(S_OK));
         CheckProtocol<IEnumSTATPROPSTG, STATPROPSTG>(e.get(), count);
     }},
};

using PlatformEnumerators = PluginTest;

TEST_F(PlatformEnumerators, EveryEnumeratorFollowsTheComProtocol) {
    for (const ProtocolRow& row : kProtocolRows) {
        SCOPED_TRACE(row.label);
        row.run();
    }
}

// --- property storage ---------------------------------------------------------------------------------------------

struct SampleRow {
    VARTYPE vt;
    bool (*check)(const PROPVARIANT& v);
};

const SampleRow kSampleRows[] = {
    {VT_I2, [](const PROPVARIANT& v) { return v.iVal == -12345; }},
    {VT_I4, [](const PROPVARIANT& v) { return v.lVal == -123456789; }},
    {VT_R4, [](const PROPVARIANT& v) { return v.fltVal == 1.5f; }},
    {VT_R8, [](const PROPVARIANT& v) { return v.dblVal == -2.25; }},
    {VT_BSTR,
     [](const PROPVARIANT& v) {
         return SysStringLen(v.bstrVal) == 8 && std::wstring(v.bstrVal, 8) == std::wstring(L"Flat\0bed", 8);
     }},
    {VT_BOOL, [](const PROPVARIANT& v) { return v.boolVal == VARIANT_TRUE; }},
    {VT_I1, [](const PROPVARIANT& v) { return v.cVal == -5; }},
    {VT_UI1, [](const PROPVARIANT& v) { return v.bVal == 200; }},
    {VT_UI2, [](const PROPVARIANT& v) { return v.uiVal == 60000; }},
    {VT_UI4, [](const PROPVARIANT& v) { return v.ulVal == 4000000000u; }},
    {VT_I8, [](const PROPVARIANT& v) { return v.hVal.QuadPart == -9000000000LL; }},
    {VT_UI8, [](const PROPVARIANT& v) { return v.uhVal.QuadPart == 18000000000000000000ULL; }},
    {VT_INT, [](const PROPVARIANT& v) { return v.intVal == -42; }},
    {VT_UINT, [](const PROPVARIANT& v) { return v.uintVal == 4294967295u; }},
    {VT_LPSTR, [](const PROPVARIANT& v) { return std::string(v.pszVal) == "\xE9"; }},
    {VT_LPWSTR, [](const PROPVARIANT& v) { return std::wstring(v.pwszVal) == L"Wide \x20AC"; }},
    {VT_CLSID, [](const PROPVARIANT& v) { return GuidText(*v.puuid) == L"{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}"; }},
    {VT_DATE, [](const PROPVARIANT& v) { return v.date == 45000.5; }},
    {VT_DECIMAL, [](const PROPVARIANT& v) { return v.decVal.scale == 2 && v.decVal.Lo64 == 1234 && v.decVal.Hi32 == 0; }},
    {VT_ERROR, [](const PROPVARIANT& v) { return v.scode == static_cast<SCODE>(0x80070005); }},
    {VT_NULL, [](const PROPVARIANT&) { return true; }},
    {VT_VECTOR | VT_UI1, [](const PROPVARIANT& v) { return v.caub.cElems == 3 && v.caub.pElems[2] == 3; }},
};

using PlatformStorage = PluginTest;

TEST_F(PlatformStorage, ReadsEveryValueTypeByIdAndByName) {
    Ref<IWiaPropertyStorage> storage = Query<IWiaPropertyStorage>(Item1(simwia::kScannerFlatbed).get(), kIID_IWiaPropertyStorage);
    for (const SampleRow& row : kSampleRows) {
        const std::wstring name = *simwia::StoredName(simwia::kScannerFlatbed, simwia::SampleId(row.vt));
        PROPSPEC specs[] = {ById(simwia::SampleId(row.vt)), ByName(name.c_str())};
        Value values[2];
        PROPVARIANT raw[2];
        EXPECT_EQ(Hr(storage->ReadMultiple(2, specs, raw)), Hr(S_OK)) << "vt " << row.vt;
        values[0].v = raw[0];
        values[1].v = raw[1];
        for (const Value& value : values) {
            EXPECT_EQ(value.v.vt, row.vt) << "vt " << row.vt;
            if (value.v.vt == row.vt) {
                EXPECT_TRUE(row.check(value.v)) << "vt " << row.vt;
            }
        }
    }
    PROPSPEC missing[] = {ById(0x7777), ByName(L"No Such Property")};
    PROPVARIANT raw[2];
    EXPECT_EQ(Hr(storage->ReadMultiple(2, missing, raw)), Hr(S_FALSE));
    EXPECT_EQ(raw[0].vt, VT_EMPTY);
    EXPECT_EQ(raw[1].vt, VT_EMPTY);
}

TEST_F(PlatformStorage, WritesKeepTheTypeWrittenAndNewNamesGetIdsFromTheFirstGiven) {
    Ref<IWiaPropertyStorage> storage = Query<IWiaPropertyStorage>(Item2(simwia::kScannerFeeder).get(), kIID_IWiaPropertyStorage);
    const wchar_t* table = simwia::kScannerFeeder;

    PROPSPEC byName = ByName(WIA_IPS_XRES_STR);
    PROPVARIANT asInt{};
    asInt.vt = VT_INT;
    asInt.intVal = 150;
    ASSERT_EQ(Hr(storage->WriteMultiple(1, &byName, &asInt, 0)), Hr(S_OK)) << "an existing name needs no first id";
    EXPECT_EQ(simwia::StoredValue(table, WIA_IPS_XRES).vt(), VT_INT);
    EXPECT_EQ(simwia::StoredValue(table, WIA_IPS_XRES).get().intVal, 150);
    const simwia::Call write = simwia::LastCall("IWiaPropertyStorage::WriteMultiple");
    EXPECT_EQ(write.table, table);
    ASSERT_EQ(write.specs.size(), 1u);
    EXPECT_EQ(write.specs[0].kind, static_cast<ULONG>(PRSPEC_LPWSTR));
    EXPECT_EQ(write.specs[0].name, Opt(WIA_IPS_XRES_STR));
    EXPECT_EQ(write.values[0].vt(), VT_INT);

    PROPSPEC fresh[] = {ByName(L"Custom A"), ByName(L"Custom B")};
    PROPVARIANT values[] = {I4(1), I4(2)};
    EXPECT_EQ(Hr(storage->WriteMultiple(2, fresh, values, 0)), Hr(STG_E_INVALIDPARAMETER)) << "new names need a first id";
    EXPECT_EQ(simwia::StoredValue(table, 0x5000).vt(), VT_EMPTY);
    ASSERT_EQ(Hr(storage->WriteMultiple(2, fresh, values, 0x5000)), Hr(S_OK));
    EXPECT_EQ(simwia::StoredName(table, 0x5000), Opt(L"Custom A"));
    EXPECT_EQ(simwia::StoredName(table, 0x5001), Opt(L"Custom B"));
    EXPECT_EQ(simwia::StoredValue(table, 0x5001).get().lVal, 2);
    EXPECT_EQ(simwia::LastCall("IWiaPropertyStorage::WriteMultiple").propidNameFirst, 0x5000u);

    PROPSPEC byId = ById(WIA_IPS_YRES);
    PROPVARIANT empty{};
    EXPECT_EQ(Hr(storage->WriteMultiple(1, &byId, &empty, WIA_IPS_YRES)), Hr(E_INVALIDARG));
    EXPECT_EQ(simwia::LastCall("IWiaPropertyStorage::WriteMultiple").values[0].vt(), VT_EMPTY) << "recorded though refused";
    EXPECT_EQ(simwia::StoredValue(table, WIA_IPS_YRES).vt(), VT_I4) << "unchanged";

    ULONG before = 0, after = 0;
    ASSERT_EQ(Hr(storage->GetCount(&before)), Hr(S_OK));
    PROPSPEC gone = ByName(L"Custom A");
    ASSERT_EQ(Hr(storage->DeleteMultiple(1, &gone)), Hr(S_OK));
    ASSERT_EQ(Hr(storage->GetCount(&after)), Hr(S_OK));
    EXPECT_EQ(after, before - 1);
    Value read;
    EXPECT_EQ(Hr(storage->ReadMultiple(1, &gone, &read.v)), Hr(S_FALSE)) << "the name stays, the value is gone";

    PROPID ids[] = {0x5001, 0x6000};
    LPOLESTR names[2] = {};
    ASSERT_EQ(Hr(storage->ReadPropertyNames(2, ids, names)), Hr(S_OK));
    EXPECT_EQ(std::wstring(names[0]), L"Custom B");
    EXPECT_EQ(names[1], nullptr);
    CoTaskMemFree(names[0]);
    EXPECT_EQ(Hr(storage->ReadPropertyNames(1, &ids[1], names)), Hr(S_FALSE)) << "no name for any id";

    LPOLESTR rename[] = {const_cast<LPOLESTR>(L"Renamed")};
    ASSERT_EQ(Hr(storage->WritePropertyNames(1, &ids[1], rename)), Hr(S_OK));
    EXPECT_EQ(simwia::StoredName(table, 0x6000), Opt(L"Renamed"));
    ASSERT_EQ(Hr(storage->DeletePropertyNames(1, &ids[1])), Hr(S_OK));
    EXPECT_EQ(simwia::StoredName(table, 0x6000), simwia::Text());

    EXPECT_EQ(Hr(storage->Commit(STGC_OVERWRITE)), Hr(S_OK));
    EXPECT_EQ(simwia::LastCall("IWiaPropertyStorage::Commit").flags, STGC_OVERWRITE);
    EXPECT_EQ(Hr(storage->Revert()), Hr(S_OK));
}

TEST_F(PlatformStorage, EnumerationListsEveryPropertyWithNameAndType) {
    Ref<IEnumWIA_DEV_INFO> devices;
    Ref<IWiaPropertyStorage> info;
    ASSERT_EQ(Hr(Manager1()->EnumDeviceInfo(WIA_DEVINFO_ENUM_LOCAL, devices.put())), Hr(S_OK));
    ASSERT_EQ(Hr(devices->Next(1, info.put(), nullptr)), Hr(S_OK));
    const std::wstring table = simwia::TableOf(info.get());
    Ref<IEnumSTATPROPSTG> stats;
    ASSERT_EQ(Hr(info->Enum(stats.put())), Hr(S_OK));
    ULONG count = 0, seen = 0;
    ASSERT_EQ(Hr(info->GetCount(&count)), Hr(S_OK));
    STATPROPSTG stat{};
    while (stats->Next(1, &stat, nullptr) == S_OK) {
        ++seen;
        EXPECT_EQ(stat.vt, simwia::StoredValue(table.c_str(), stat.propid).vt()) << "id " << stat.propid;
        EXPECT_EQ(Opt(stat.lpwstrName), simwia::StoredName(table.c_str(), stat.propid)) << "id " << stat.propid;
        Free(stat);
    }
    EXPECT_EQ(seen, count);
    EXPECT_EQ(simwia::StoredName(table.c_str(), WIA_DIP_DEV_ID), Opt(L"Unique Device ID"));
}

// --- dialogs --------------------------------------------------------------------------------------------------------

struct SelectRow {
    const char* label;
    const wchar_t* answer;  // device the test lets the dialog pick (null: first of the type)
    HRESULT answerHr;
    LONG deviceType;
    HRESULT expected;
    const wchar_t* picked;  // null: none
};

const SelectRow kSelectRows[] = {
    {"first device of any type", nullptr, S_OK, 0, S_OK, simwia::kScannerId},
    {"first camera", nullptr, S_OK, 2, S_OK, simwia::kCameraId},
    {"the device answered", simwia::kVideoId, S_OK, 1, S_OK, simwia::kVideoId},
    {"cancelled", nullptr, S_FALSE, 0, S_FALSE, nullptr},
    {"failed", nullptr, E_FAIL, 0, E_FAIL, nullptr},
    {"no device of the type", nullptr, S_OK, 7, WIA_S_NO_DEVICE_AVAILABLE, nullptr},
};

using PlatformDialogs = PluginTest;

TEST_F(PlatformDialogs, DeviceSelectionFollowsTheAnswerAndRecordsItsArguments) {
    Ref<IWiaDevMgr> manager1 = Manager1();
    Ref<IWiaDevMgr2> manager2 = Manager2();
    const HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    for (const SelectRow& row : kSelectRows) {
        simwia::SetDialogAnswer(row.answer, row.answerHr);
        BSTR id1 = nullptr, id2 = nullptr, id3 = nullptr;
        Ref<IWiaItem> root1;
        Ref<IWiaItem2> root2;
        EXPECT_EQ(Hr(manager1->SelectDeviceDlg(window, row.deviceType, 1, &id1, root1.put())), Hr(row.expected)) << row.label;
        EXPECT_EQ(Hr(manager2->SelectDeviceDlg(window, row.deviceType, 1, &id2, root2.put())), Hr(row.expected)) << row.label;
        EXPECT_EQ(Hr(manager2->SelectDeviceDlgID(window, row.deviceType, 4, &id3)), Hr(row.expected)) << row.label;
        for (BSTR id : {id1, id2, id3}) EXPECT_EQ(Opt(id), Opt(row.picked)) << row.label;
        const std::wstring root = row.picked == nullptr ? L"" : RootOf(row.picked);
        EXPECT_EQ(simwia::TableOf(root1.get()), root) << row.label;
        EXPECT_EQ(simwia::TableOf(root2.get()), root) << row.label;
        for (BSTR id : {id1, id2, id3}) SysFreeString(id);

        const simwia::Call call = simwia::LastCall("IWiaDevMgr::SelectDeviceDlg");
        EXPECT_EQ(call.window, window);
        EXPECT_EQ(call.deviceType, row.deviceType);
        EXPECT_EQ(call.flags, 1);
        EXPECT_TRUE(call.outputsClear);
        EXPECT_EQ(simwia::LastCall("IWiaDevMgr2::SelectDeviceDlgID").flags, 4);
    }
}

TEST_F(PlatformDialogs, ImageDialogsWriteTheSampleImage) {
    const std::wstring folder = TempFolder();
    const std::wstring path1 = folder + L"\\one.bmp";
    Ref<IWiaDevMgr> manager1 = Manager1();
    Ref<IWiaItem> camera = Item1(simwia::kCameraRoot);
    GUID format = GUID_NULL;
    ASSERT_EQ(Hr(manager1->GetImageDlg(nullptr, 1, 2, 4, camera.get(), Bstr(path1.c_str()), &format)), Hr(S_OK));
    EXPECT_EQ(FileBytes(path1), simwia::SampleImage());
    EXPECT_EQ(GuidText(format), L"{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}") << "BMP written";
    const simwia::Call call = simwia::LastCall("IWiaDevMgr::GetImageDlg");
    EXPECT_EQ(call.item, static_cast<IUnknown*>(camera.get()));
    EXPECT_EQ(call.intent, 4);
    EXPECT_EQ(call.filename, Opt(path1.c_str()));
    ASSERT_TRUE(call.guid.has_value());
    EXPECT_EQ(GuidText(*call.guid), GuidText(GUID_NULL)) << "format on entry";
    EXPECT_EQ(Hr(manager1->GetImageDlg(nullptr, 0, 0, 0, nullptr, nullptr, &format)), Hr(E_INVALIDARG)) << "no file name";
    DeleteFileW(path1.c_str());

    simwia::SetDialogAnswer(nullptr, S_OK, 2);
    LONG count = 0;
    BSTR* paths = nullptr;
    Ref<IWiaItem2> item;
    Ref<IWiaDevMgr2> manager2 = Manager2();
    ASSERT_EQ(Hr(manager2->GetImageDlg(0, Bstr(simwia::kScannerId), nullptr, Bstr(folder.c_str()), Bstr(L"scan"), &count, &paths,
                                       item.put())),
              Hr(S_OK));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::wstring(paths[0]), folder + L"\\scan.bmp");
    EXPECT_EQ(std::wstring(paths[1]), folder + L"\\scan (2).bmp");
    for (LONG i = 0; i < count; ++i) {
        EXPECT_EQ(FileBytes(paths[i]), simwia::SampleImage()) << "file " << i;
        DeleteFileW(paths[i]);
        SysFreeString(paths[i]);
    }
    CoTaskMemFree(paths);
    EXPECT_EQ(simwia::TableOf(item.get()), simwia::kScannerFlatbed) << "the device's first child";
    EXPECT_TRUE(simwia::LastCall("IWiaDevMgr2::GetImageDlg").outputsClear);

    simwia::SetDialogAnswer(nullptr, S_FALSE);
    count = 5;
    ASSERT_EQ(Hr(manager2->GetImageDlg(0, nullptr, nullptr, Bstr(folder.c_str()), Bstr(L"none"), &count, &paths, item.put())),
              Hr(S_FALSE));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(paths, nullptr);
    EXPECT_EQ(item.get(), nullptr);
    EXPECT_FALSE(simwia::LastCall("IWiaDevMgr2::GetImageDlg").outputsClear) << "count was not 0 on entry";
    EXPECT_TRUE(FileBytes(folder + L"\\none.bmp").empty()) << "a cancelled dialog writes nothing";
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
