// SimDeviceManagers.cpp - the simulated WIA 1.0 and 2.0 device managers, the class objects of those and of the
// simulated WIA video object (SimVideo.cpp), and Install()/Uninstall().
//
// Every slot is written against Microsoft's documented signature and slot number; methods that are not simulated
// yet answer E_NOTIMPL (or the planned failure). The dialogs show nothing: SetDialogAnswer() decides them.
#include "tests/platform/SimModel.h"

#include <cstdio>
#include <cstdlib>

namespace simwia {
namespace {

constexpr CLSID kSimCLSID_WiaDevMgr = {0xa1f4e726, 0x8cf1, 0x11d1, {0xbf, 0x92, 0x00, 0x60, 0x08, 0x1e, 0xd8, 0x11}};
constexpr CLSID kSimCLSID_WiaDevMgr2 = {0xb6c292bc, 0x7c88, 0x41ee, {0x8b, 0x54, 0x8e, 0xc9, 0x26, 0x17, 0xe5, 0x99}};
constexpr CLSID kSimCLSID_WiaVideo = {0x3908c3cd, 0x4478, 0x4536, {0xaf, 0x2f, 0x10, 0xc2, 0x5d, 0x4e, 0xf8, 0x9a}};
constexpr IID kSimIID_IWiaDevMgr = {0x5eb2502a, 0x8cf1, 0x11d1, {0xbf, 0x92, 0x00, 0x60, 0x08, 0x1e, 0xd8, 0x11}};
constexpr IID kSimIID_IWiaDevMgr2 = {0x79c07cf1, 0xcbdd, 0x41ee, {0x8e, 0xc3, 0xf0, 0x00, 0x80, 0xca, 0xda, 0x7a}};

// --- methods shared by IWiaDevMgr and IWiaDevMgr2 (same signature, logged under the interface's name) ----------

Generation GenerationOf(const Interface* self);

// Every installed device, whatever the flags (all are local); the flags are recorded.
HRESULT STDMETHODCALLTYPE EnumDeviceInfo(Interface* self, LONG lFlag, IUnknown** ppIEnum) {
    Record(self, "EnumDeviceInfo").flags = lFlag;
    HRESULT hr;
    if (Intercept(self, "EnumDeviceInfo", &hr)) return hr;
    if (ppIEnum == nullptr) return E_POINTER;
    *ppIEnum = NewDeviceInfoEnum(InstalledList());
    return S_OK;
}

Call& RecordDialog(Interface* self, const char* method, HWND hwndParent, LONG lDeviceType, LONG lFlags) {
    Call& call = Record(self, method);
    call.window = hwndParent;
    call.deviceType = lDeviceType;
    call.flags = lFlags;
    return call;
}

// The chosen device's id, in both dialogs, is a BSTR the caller frees ("Memory Management Rules").
HRESULT STDMETHODCALLTYPE SelectDeviceDlg(Interface* self, HWND hwndParent, LONG lDeviceType, LONG lFlags, BSTR* pbstrDeviceID,
                                          IUnknown** ppItemRoot) {
    Call& call = RecordDialog(self, "SelectDeviceDlg", hwndParent, lDeviceType, lFlags);
    call.outputsClear = pbstrDeviceID != nullptr && *pbstrDeviceID == nullptr && ppItemRoot != nullptr && *ppItemRoot == nullptr;
    HRESULT hr;
    if (Intercept(self, "SelectDeviceDlg", &hr)) return hr;
    if (ppItemRoot == nullptr) return E_POINTER;
    *ppItemRoot = nullptr;
    if (pbstrDeviceID != nullptr) *pbstrDeviceID = nullptr;
    DevicePtr device;
    hr = PickDevice(lDeviceType, &device);
    if (hr != S_OK) return hr;
    if (pbstrDeviceID != nullptr)
        *pbstrDeviceID = HandOutBstr(SysAllocString(device->id.c_str()), MethodName(self, "SelectDeviceDlg"));
    *ppItemRoot = NewItem(GenerationOf(self), device, device->root.get());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SelectDeviceDlgID(Interface* self, HWND hwndParent, LONG lDeviceType, LONG lFlags,
                                            BSTR* pbstrDeviceID) {
    Call& call = RecordDialog(self, "SelectDeviceDlgID", hwndParent, lDeviceType, lFlags);
    call.outputsClear = pbstrDeviceID != nullptr && *pbstrDeviceID == nullptr;
    HRESULT hr;
    if (Intercept(self, "SelectDeviceDlgID", &hr)) return hr;
    if (pbstrDeviceID == nullptr) return E_POINTER;
    *pbstrDeviceID = nullptr;
    DevicePtr device;
    hr = PickDevice(lDeviceType, &device);
    if (hr != S_OK) return hr;
    *pbstrDeviceID = HandOutBstr(SysAllocString(device->id.c_str()), MethodName(self, "SelectDeviceDlgID"));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RegisterEventCallbackInterface(Interface* self, LONG /*lFlags*/, BSTR /*bstrDeviceID*/,
                                                         const GUID* /*pEventGUID*/, IUnknown* /*pIWiaEventCallback*/,
                                                         IUnknown** /*pEventObject*/) {
    return Stub(self, "RegisterEventCallbackInterface");
}

HRESULT STDMETHODCALLTYPE RegisterEventCallbackCLSID(Interface* self, LONG /*lFlags*/, BSTR /*bstrDeviceID*/,
                                                     const GUID* /*pEventGUID*/, const GUID* /*pClsID*/, BSTR /*bstrName*/,
                                                     BSTR /*bstrDescription*/, BSTR /*bstrIcon*/) {
    return Stub(self, "RegisterEventCallbackCLSID");
}

// A null identifier is E_INVALIDARG, one that is not installed WIA_S_NO_DEVICE_AVAILABLE.
HRESULT CreateRoot(Interface* self, BSTR bstrDeviceID, IUnknown** ppRoot) {
    if (ppRoot == nullptr) return E_POINTER;
    *ppRoot = nullptr;
    if (bstrDeviceID == nullptr) return E_INVALIDARG;
    DevicePtr device = FindInstalled(bstrDeviceID);
    if (device == nullptr) return WIA_S_NO_DEVICE_AVAILABLE;
    *ppRoot = NewItem(GenerationOf(self), device, device->root.get());
    return S_OK;
}

// --- IWiaDevMgr only ------------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE DevMgr1CreateDevice(Interface* self, BSTR bstrDeviceID, IUnknown** ppWiaItemRoot) {
    HRESULT hr;
    if (Intercept(self, "CreateDevice", &hr)) return hr;
    return CreateRoot(self, bstrDeviceID, ppWiaItemRoot);
}

// Writes the sample image to bstrFilename and answers the format written (BMP). A root item names the device.
HRESULT STDMETHODCALLTYPE DevMgr1GetImageDlg(Interface* self, HWND hwndParent, LONG lDeviceType, LONG lFlags, LONG lIntent,
                                             IUnknown* pItemRoot, BSTR bstrFilename, GUID* pguidFormat) {
    Call& call = RecordDialog(self, "GetImageDlg", hwndParent, lDeviceType, lFlags);
    call.intent = lIntent;
    call.item = pItemRoot;
    call.filename = TextOf(bstrFilename);
    if (pguidFormat != nullptr) call.guid = *pguidFormat;
    HRESULT hr;
    if (Intercept(self, "GetImageDlg", &hr)) return hr;
    if (pguidFormat == nullptr) return E_POINTER;
    if (bstrFilename == nullptr) return E_INVALIDARG;
    DevicePtr device;
    hr = pItemRoot == nullptr ? PickDevice(lDeviceType, &device) : CurrentDialogAnswer().hr;
    if (hr != S_OK) return hr;
    if (pItemRoot != nullptr) {
        device = DeviceOfItem(pItemRoot);
        if (device == nullptr) return E_INVALIDARG;
    }
    hr = WriteSampleImage(bstrFilename);
    if (FAILED(hr)) return hr;
    *pguidFormat = kSimFormatBmp;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DevMgr1RegisterEventCallbackProgram(Interface* self, LONG /*lFlags*/, BSTR /*bstrDeviceID*/,
                                                              const GUID* /*pEventGUID*/, BSTR /*bstrCommandline*/,
                                                              BSTR /*bstrName*/, BSTR /*bstrDescription*/, BSTR /*bstrIcon*/) {
    return Stub(self, "RegisterEventCallbackProgram");
}

HRESULT STDMETHODCALLTYPE DevMgr1AddDeviceDlg(Interface* self, HWND /*hwndParent*/, LONG /*lFlags*/) {
    return Stub(self, "AddDeviceDlg");
}

// --- IWiaDevMgr2 only -----------------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE DevMgr2CreateDevice(Interface* self, LONG lFlags, BSTR bstrDeviceID, IUnknown** ppWiaItem2Root) {
    Call& call = Record(self, "CreateDevice");
    call.flags = lFlags;
    HRESULT hr;
    if (Intercept(self, "CreateDevice", &hr)) return hr;
    return CreateRoot(self, bstrDeviceID, ppWiaItem2Root);
}

HRESULT STDMETHODCALLTYPE DevMgr2RegisterEventCallbackProgram(Interface* self, LONG /*lFlags*/, BSTR /*bstrDeviceID*/,
                                                              const GUID* /*pEventGUID*/, BSTR /*bstrFullAppName*/,
                                                              BSTR /*bstrCommandLineArg*/, BSTR /*bstrName*/,
                                                              BSTR /*bstrDescription*/, BSTR /*bstrIcon*/) {
    return Stub(self, "RegisterEventCallbackProgram");
}

// Writes the answer's number of files into bstrFolderName and returns their paths (a CoTaskMemAlloc array of
// SysAllocString paths, both the caller's to free: "DEVICEDIALOGDATA2 structure") and an item of the device: its first
// child, or its root when it has none. A device id names the device (WIA_S_NO_DEVICE_AVAILABLE when it is not
// installed); a null one lets the dialog pick.
HRESULT STDMETHODCALLTYPE DevMgr2GetImageDlg(Interface* self, LONG lFlags, BSTR bstrDeviceID, HWND hwndParent,
                                             BSTR bstrFolderName, BSTR bstrFilename, LONG* plNumFiles, BSTR** ppbstrFilePaths,
                                             IUnknown** ppItem) {
    Call& call = RecordDialog(self, "GetImageDlg", hwndParent, 0, lFlags);
    call.filename = TextOf(bstrFilename);
    call.outputsClear = plNumFiles != nullptr && *plNumFiles == 0 && ppbstrFilePaths != nullptr && *ppbstrFilePaths == nullptr &&
                        ppItem != nullptr && *ppItem == nullptr;
    HRESULT hr;
    if (Intercept(self, "GetImageDlg", &hr)) return hr;
    if (plNumFiles == nullptr || ppbstrFilePaths == nullptr || ppItem == nullptr) return E_POINTER;
    *plNumFiles = 0;
    *ppbstrFilePaths = nullptr;
    *ppItem = nullptr;
    if (bstrFolderName == nullptr || bstrFilename == nullptr) return E_INVALIDARG;
    DevicePtr device;
    hr = bstrDeviceID == nullptr ? PickDevice(0, &device) : CurrentDialogAnswer().hr;
    if (hr != S_OK) return hr;
    if (bstrDeviceID != nullptr) {
        device = FindInstalled(bstrDeviceID);
        if (device == nullptr) return WIA_S_NO_DEVICE_AVAILABLE;
    }

    std::vector<std::wstring> paths;
    std::wstring stem = bstrFolderName;
    if (!stem.empty() && stem.back() != L'\\') stem += L'\\';
    stem += bstrFilename;
    for (int i = 0; i < CurrentDialogAnswer().files; ++i) {
        paths.push_back(stem + (i == 0 ? L"" : L" (" + std::to_wstring(i + 1) + L")") + L".bmp");
        hr = WriteSampleImage(paths.back());
        if (FAILED(hr)) return hr;
    }
    if (!paths.empty()) {
        const std::string from = MethodName(self, "GetImageDlg");
        *ppbstrFilePaths = HandOut(static_cast<BSTR*>(CoTaskMemAlloc(paths.size() * sizeof(BSTR))), from);
        for (size_t i = 0; i < paths.size(); ++i) (*ppbstrFilePaths)[i] = HandOutBstr(SysAllocString(paths[i].c_str()), from);
    }
    *plNumFiles = static_cast<LONG>(paths.size());
    ItemNode* item = device->root->children.empty() ? device->root.get() : device->root->children.front().get();
    *ppItem = NewItem(kWia2, device, item);
    return S_OK;
}

// --- objects --------------------------------------------------------------------------------------------------

const Slot* DevMgr1Vtable() {
    static const Slot* const vtbl = MakeVtable("IWiaDevMgr", 12,
                                               {
                                                   {3, ToSlot(&EnumDeviceInfo)},
                                                   {4, ToSlot(&DevMgr1CreateDevice)},
                                                   {5, ToSlot(&SelectDeviceDlg)},
                                                   {6, ToSlot(&SelectDeviceDlgID)},
                                                   {7, ToSlot(&DevMgr1GetImageDlg)},
                                                   {8, ToSlot(&DevMgr1RegisterEventCallbackProgram)},
                                                   {9, ToSlot(&RegisterEventCallbackInterface)},
                                                   {10, ToSlot(&RegisterEventCallbackCLSID)},
                                                   {11, ToSlot(&DevMgr1AddDeviceDlg)},
                                               });
    return vtbl;
}

const Slot* DevMgr2Vtable() {
    static const Slot* const vtbl = MakeVtable("IWiaDevMgr2", 11,
                                               {
                                                   {3, ToSlot(&EnumDeviceInfo)},
                                                   {4, ToSlot(&DevMgr2CreateDevice)},
                                                   {5, ToSlot(&SelectDeviceDlg)},
                                                   {6, ToSlot(&SelectDeviceDlgID)},
                                                   {7, ToSlot(&RegisterEventCallbackInterface)},
                                                   {8, ToSlot(&DevMgr2RegisterEventCallbackProgram)},
                                                   {9, ToSlot(&RegisterEventCallbackCLSID)},
                                                   {10, ToSlot(&DevMgr2GetImageDlg)},
                                               });
    return vtbl;
}

// An object with a single interface besides IUnknown.
class SingleInterfaceObject : public SimObject {
public:
    SingleInterfaceObject(const char* name, const IID& iid, const Slot* vtbl) { AddInterface(&face_, name, iid, vtbl); }

private:
    Interface face_{};
};

class DeviceManager : public SingleInterfaceObject {
public:
    DeviceManager(Generation generation, const char* name, const IID& iid, const Slot* vtbl)
        : SingleInterfaceObject(name, iid, vtbl), generation_(generation) {}
    Generation generation() const { return generation_; }

private:
    Generation generation_;
};

Generation GenerationOf(const Interface* self) {
    return static_cast<const DeviceManager*>(self->owner)->generation();
}

SimObject* NewDeviceManager1() {
    return new DeviceManager(kWia1, "IWiaDevMgr", kSimIID_IWiaDevMgr, DevMgr1Vtable());
}

SimObject* NewDeviceManager2() {
    return new DeviceManager(kWia2, "IWiaDevMgr2", kSimIID_IWiaDevMgr2, DevMgr2Vtable());
}

// --- class objects --------------------------------------------------------------------------------------------

// Static class object; COM's references do not control its lifetime.
class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(SimObject* (*create)()) : create_(create) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        HRESULT hr;
        if (Intercept("ClassFactory::CreateInstance", &hr)) {
            return hr;
        }
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        SimObject* object = create_();
        hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL /*lock*/) override {
        HRESULT hr;
        return Intercept("ClassFactory::LockServer", &hr) ? hr : S_OK;
    }

private:
    SimObject* (*create_)();
};

ClassFactory g_devMgr1Factory(&NewDeviceManager1);
ClassFactory g_devMgr2Factory(&NewDeviceManager2);
ClassFactory g_videoFactory(&NewVideoObject);

struct Registration {
    const CLSID* clsid;
    ClassFactory* factory;
    DWORD context;
};

// The device managers are local servers only ("Creating a WIA Device Manager": the context must be
// CLSCTX_LOCAL_SERVER), the video object is in-process only: a request whose context lacks the class's own fails
// REGDB_E_CLASSNOTREG ("CoCreateInstance function", "CLSCTX enumeration"). The classes are served through the
// CoCreateInstance imports the fixture hooks, not registered with COM: a local-server registration is a call to
// Wine's rpcss, which made tests wait ten seconds and more when processes overlapped or one ended mid-test.
Registration g_registrations[] = {
    {&kSimCLSID_WiaDevMgr, &g_devMgr1Factory, CLSCTX_LOCAL_SERVER},
    {&kSimCLSID_WiaDevMgr2, &g_devMgr2Factory, CLSCTX_LOCAL_SERVER},
    {&kSimCLSID_WiaVideo, &g_videoFactory, CLSCTX_INPROC_SERVER},
};

bool g_installed = false;

}  // namespace

void Install() {
    g_installed = true;
}

void Uninstall() {
    g_installed = false;
}

bool CreateSimulated(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out, HRESULT* hr) {
    if (!g_installed) return false;
    for (Registration& reg : g_registrations) {
        if (!IsEqualCLSID(clsid, *reg.clsid)) continue;
        if (out != nullptr) *out = nullptr;
        *hr = (context & reg.context) == 0 ? REGDB_E_CLASSNOTREG
              : out == nullptr             ? E_POINTER
                                           : reg.factory->CreateInstance(outer, iid, out);
        return true;
    }
    return false;
}

}  // namespace simwia
