// Our declarations of the WIA interfaces, slot by slot: each call through wia/WiaInterfaces.h must land on the
// simulated method of the same name (the simulated vtables are written down independently from the platform's
// documentation), so a slot out of place shows here even where no script method reaches it yet.
#include "wia/WiaInterfaces.h"

#include <wiadef.h>

#include <cstdio>
#include <string>

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

}  // namespace
