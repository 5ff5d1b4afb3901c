// The steps the two device manager classes share. Each class file instantiates DeviceManager<G> with
// its generation G (the manager interface, its item type, its class record and its log labels) and
// lists the methods in its own table. Included only by DeviceManager1.cpp and DeviceManager2.cpp.
#pragma once

#include <objbase.h>

#include "plugin/HostApi.h"
#include "support/Errors.h"
#include "support/FolderItem.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "support/Log.h"
#include "support/Text.h"
#include "wia/Wrapper.h"

namespace zvk {

// The 18 constants both classes declare (defined in DeviceManager1.cpp).
constexpr size_t kDeviceManagerConstantCount = 18;
extern ConstantDefinition gDeviceManagerConstants[kDeviceManagerConstantCount];

template <typename G>
struct DeviceManager {
    using Manager = typename G::Manager;
    using Item = typename G::Item;

    static InterfaceData* Begin(REALobject self, const char* label) {
        return BeginMethod<InterfaceData>(G::Class(), self, label);
    }

    static Manager* ManagerOf(const InterfaceData* data) {
        return data == nullptr ? nullptr : InterfaceOf<Manager>(data->Handle);
    }

    static void Constructor(REALobject self) {
        InterfaceData* data = Begin(self, "rbConstructor");
        if (data == nullptr) return;
        com_ptr<Manager> previous(ManagerOf(data));  // a second Constructor replaces the first manager
        data->Handle = 0;
        Manager* manager = nullptr;
        HRESULT hr =
            CoCreateInstance(G::kClassId, nullptr, CLSCTX_LOCAL_SERVER, G::kInterfaceId, reinterpret_cast<void**>(&manager));
        data->Handle = reinterpret_cast<int64_t>(manager);
        StoreResult(data->Lasterror, hr, G::kCreateLabel);
        if (DebugLoggingEnabled) DebugLogPointer(G::kHandleLabel, manager);
    }

    static REALobject EnumDeviceInfo(REALobject self, int64_t flags) {
        if (DebugLoggingEnabled) {
            DebugLog("rbEnumDeviceInfo");
            DebugLogInt64("flags", flags);
        }
        InterfaceData* data = Begin(self, nullptr);
        Manager* manager = ManagerOf(data);
        if (manager == nullptr) return nullptr;
        IEnumWIA_DEV_INFO* devices = nullptr;
        StoreResult(data->Lasterror, manager->EnumDeviceInfo(static_cast<LONG>(flags), &devices), "EnumDeviceInfo");
        return NewDeviceInfoEnumeratorObject(devices);
    }

    static REALobject CreateDevice(REALobject self, REALstring deviceId) {
        InterfaceData* data = Begin(self, "rbCreateDevice");
        Manager* manager = ManagerOf(data);
        if (DebugLoggingEnabled && data != nullptr) DebugLogPointer(G::kHandleLabel, manager);
        if (manager == nullptr) return nullptr;
        BSTRHolder id(deviceId);
        if (DebugLoggingEnabled) DebugLogWide("device", id.AsBSTR() != nullptr ? id.AsBSTR() : L"");
        Item* root = nullptr;
        StoreResultWithMessage(data->Lasterror, G::CreateDevice(manager, id.AsBSTR(), &root), G::kCreateDeviceLabel);
        if (DebugLoggingEnabled) G::LogCreatedRoot(root);
        return NewItemObject(root);
    }

    // The form every SelectDeviceDialog overload ends in.
    static REALobject SelectDevice(REALobject self, int64_t window, int64_t deviceType, int64_t flags, REALstring* deviceId) {
        if (DebugLoggingEnabled) {
            DebugLog("rbSelectDeviceDlg3");
            DebugLogInt64("win", window);
            DebugLogInt64("DeviceType", deviceType);
            DebugLogInt64("Flags", flags);
            DebugLogHostString("DeviceID", deviceId != nullptr ? *deviceId : nullptr);
        }
        InterfaceData* data = Begin(self, nullptr);
        if (deviceId != nullptr && *deviceId != nullptr) {
            host::UnlockString(*deviceId);
            *deviceId = nullptr;
        }
        Manager* manager = ManagerOf(data);
        if (manager == nullptr) return nullptr;
        unique_bstr chosen;
        Item* root = nullptr;
        HRESULT hr = manager->SelectDeviceDlg(WindowFromInteger(window), static_cast<LONG>(deviceType), static_cast<LONG>(flags),
                                              chosen.put(), &root);
        StoreResult(data->Lasterror, hr, "SelectDeviceDlg");
        REALstring text = WString2RB(chosen.get());
        if (deviceId != nullptr) {
            *deviceId = text;
        } else {
            host::UnlockString(text);
        }
        return NewItemObject(root);
    }

    static REALobject SelectDeviceDialogWindowById(REALobject self, REALobject window, int64_t deviceType, int64_t flags,
                                                   REALstring* deviceId) {
        if (DebugLoggingEnabled) DebugLog("rbSelectDeviceDlg1");
        return SelectDevice(self, WindowAsInteger(window), deviceType, flags, deviceId);
    }

    static REALobject SelectDeviceDialogWindow(REALobject self, REALobject window, int64_t deviceType, int64_t flags) {
        if (DebugLoggingEnabled) DebugLog("rbSelectDeviceDlg2");
        return SelectDeviceDialogHandle(self, WindowAsInteger(window), deviceType, flags);
    }

    static REALobject SelectDeviceDialogHandle(REALobject self, int64_t window, int64_t deviceType, int64_t flags) {
        REALstring deviceId = nullptr;
        REALobject root = SelectDevice(self, window, deviceType, flags, &deviceId);
        host::UnlockString(deviceId);
        return root;
    }

    static REALstring SelectDeviceId(InterfaceData* data, HWND window, int64_t deviceType, int64_t flags, bool logResult) {
        Manager* manager = ManagerOf(data);
        if (manager == nullptr) return nullptr;
        unique_bstr chosen;
        HRESULT hr = manager->SelectDeviceDlgID(window, static_cast<LONG>(deviceType), static_cast<LONG>(flags), chosen.put());
        StoreResult(data->Lasterror, hr, logResult ? "SelectDeviceDlgID" : nullptr);
        return WString2RB(chosen.get());
    }

    // The entry label comes before the window's handle is read.
    static REALstring SelectDeviceDialogIDWindow(REALobject self, REALobject window, int64_t deviceType, int64_t flags) {
        InterfaceData* data = Begin(self, "rbSelectDeviceDlgID2");
        return SelectDeviceId(data, WindowHandleOf(window), deviceType, flags, true);
    }

    static REALstring SelectDeviceDialogIDHandle(REALobject self, int64_t window, int64_t deviceType, int64_t flags) {
        InterfaceData* data = Begin(self, "rbSelectDeviceDlgID4");
        return SelectDeviceId(data, WindowFromInteger(window), deviceType, flags, false);
    }
};

}  // namespace zvk
