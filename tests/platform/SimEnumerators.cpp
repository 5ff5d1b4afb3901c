// SimEnumerators.cpp - the six enumerators (IEnumWiaItem, IEnumWiaItem2, IEnumWIA_DEV_INFO, IEnumWIA_DEV_CAPS,
// IEnumWIA_FORMAT_INFO, IEnumSTATPROPSTG), all in the standard COM shape: Next hands out min(celt, left) elements
// and answers S_FALSE when it gave fewer than celt, Skip answers S_FALSE when it ran past the end, Reset goes back to
// the start, Clone starts where the original stands and moves on its own, GetCount (not IEnumSTATPROPSTG) counts all.
#include "tests/platform/SimModel.h"

#include <oleauto.h>

#include <cstddef>
#include <cstring>

namespace simwia {
namespace {

static_assert(sizeof(FormatInfo) == 20, "WIA_FORMAT_INFO is a GUID and a LONG");
static_assert(offsetof(SimDevCap, bstrName) == 24 && sizeof(SimDevCap) == 56, "WIA_DEV_CAP layout on x64");

// A capability's texts and a property's name are the caller's to free ("Memory Management Rules", "IEnumSTATPROPSTG::Next").
BSTR CopyText(const wchar_t* text) {
    return text == nullptr ? nullptr : HandOutBstr(SysAllocString(text), "IEnumWIA_DEV_CAPS::Next");
}

// Each kind names its interface, the element it holds (Item) and the element Next writes (Out).
struct ItemKind1 {
    static constexpr const char* kName = "IEnumWiaItem";
    static constexpr const IID& kIID = kSimIID_IEnumWiaItem;
    static constexpr bool kHasCount = true;
    using Item = ItemRef;
    using Out = IUnknown*;
    static void Fill(const Item& item, Out* out) { *out = NewItem(kWia1, item.device, item.node); }
};

struct ItemKind2 {
    static constexpr const char* kName = "IEnumWiaItem2";
    static constexpr const IID& kIID = kSimIID_IEnumWiaItem2;
    static constexpr bool kHasCount = true;
    using Item = ItemRef;
    using Out = IUnknown*;
    static void Fill(const Item& item, Out* out) { *out = NewItem(kWia2, item.device, item.node); }
};

struct DeviceInfoKind {
    static constexpr const char* kName = "IEnumWIA_DEV_INFO";
    static constexpr const IID& kIID = kSimIID_IEnumWIA_DEV_INFO;
    static constexpr bool kHasCount = true;
    using Item = DevicePtr;
    using Out = IUnknown*;
    static void Fill(const Item& device, Out* out) { *out = NewInfoStorage(device); }
};

struct CapsKind {
    static constexpr const char* kName = "IEnumWIA_DEV_CAPS";
    static constexpr const IID& kIID = kSimIID_IEnumWIA_DEV_CAPS;
    static constexpr bool kHasCount = true;
    using Item = Capability;
    using Out = SimDevCap;
    static void Fill(const Item& cap, Out* out) {
        out->guid = cap.guid;
        out->ulFlags = cap.flags;
        out->bstrName = CopyText(cap.name);
        out->bstrDescription = CopyText(cap.description);
        out->bstrIcon = CopyText(cap.icon);
        out->bstrCommandline = CopyText(cap.commandline);
    }
};

struct FormatKind {
    static constexpr const char* kName = "IEnumWIA_FORMAT_INFO";
    static constexpr const IID& kIID = kSimIID_IEnumWIA_FORMAT_INFO;
    static constexpr bool kHasCount = true;
    using Item = FormatInfo;
    using Out = FormatInfo;
    static void Fill(const Item& format, Out* out) { *out = format; }
};

struct StatKind {
    static constexpr const char* kName = "IEnumSTATPROPSTG";
    static constexpr const IID& kIID = IID_IEnumSTATPROPSTG;
    static constexpr bool kHasCount = false;
    using Item = StatEntry;
    using Out = STATPROPSTG;
    static void Fill(const Item& entry, Out* out) {
        out->lpwstrName = nullptr;
        if (entry.name) {
            const size_t size = (entry.name->size() + 1) * sizeof(wchar_t);
            out->lpwstrName = HandOut(static_cast<LPOLESTR>(CoTaskMemAlloc(size)), "IEnumSTATPROPSTG::Next");
            memcpy(out->lpwstrName, entry.name->c_str(), size);
        }
        out->propid = entry.id;
        out->vt = entry.vt;
    }
};

template <typename Kind>
class Enumerator : public SimObject {
public:
    using Items = std::vector<typename Kind::Item>;

    Enumerator(std::shared_ptr<const Items> items, size_t position) : items_(std::move(items)), position_(position) {
        AddInterface(&face_, Kind::kName, Kind::kIID, Vtable());
    }

private:
    static Enumerator& Of(Interface* self) { return *static_cast<Enumerator*>(self->owner); }

    static HRESULT STDMETHODCALLTYPE Next(Interface* self, ULONG celt, typename Kind::Out* rgelt, ULONG* fetched) {
        HRESULT hr;
        if (Intercept(self, "Next", &hr)) return hr;
        if (rgelt == nullptr) return E_POINTER;
        if (celt > 1 && fetched == nullptr) return E_INVALIDARG;
        Enumerator& e = Of(self);
        ULONG n = 0;
        for (; n < celt && e.position_ < e.items_->size(); ++n, ++e.position_) Kind::Fill((*e.items_)[e.position_], &rgelt[n]);
        if (fetched != nullptr) *fetched = n;
        return n == celt ? S_OK : S_FALSE;
    }

    static HRESULT STDMETHODCALLTYPE Skip(Interface* self, ULONG celt) {
        HRESULT hr;
        if (Intercept(self, "Skip", &hr)) return hr;
        Enumerator& e = Of(self);
        const size_t left = e.items_->size() - e.position_;
        e.position_ += celt < left ? celt : left;
        return celt <= left ? S_OK : S_FALSE;
    }

    static HRESULT STDMETHODCALLTYPE Reset(Interface* self) {
        HRESULT hr;
        if (Intercept(self, "Reset", &hr)) return hr;
        Of(self).position_ = 0;
        return S_OK;
    }

    static HRESULT STDMETHODCALLTYPE Clone(Interface* self, IUnknown** ppenum) {
        HRESULT hr;
        if (Intercept(self, "Clone", &hr)) return hr;
        if (ppenum == nullptr) return E_POINTER;
        *ppenum = (new Enumerator(Of(self).items_, Of(self).position_))->Unknown();
        return S_OK;
    }

    static HRESULT STDMETHODCALLTYPE GetCount(Interface* self, ULONG* celt) {
        HRESULT hr;
        if (Intercept(self, "GetCount", &hr)) return hr;
        if (celt == nullptr) return E_POINTER;
        *celt = static_cast<ULONG>(Of(self).items_->size());
        return S_OK;
    }

    static const Slot* Vtable() {
        // clang-format off
        static const Slot* const vtbl = Kind::kHasCount
            ? MakeVtable(Kind::kName, 8, {
                  {3, ToSlot(&Next)},
                  {4, ToSlot(&Skip)},
                  {5, ToSlot(&Reset)},
                  {6, ToSlot(&Clone)},
                  {7, ToSlot(&GetCount)},
              })
            : MakeVtable(Kind::kName, 7, {
                  {3, ToSlot(&Next)},
                  {4, ToSlot(&Skip)},
                  {5, ToSlot(&Reset)},
                  {6, ToSlot(&Clone)},
              });
        // clang-format on
        return vtbl;
    }

    std::shared_ptr<const Items> items_;  // shared with clones, never changed
    size_t position_;
    Interface face_{};
};

template <typename Kind>
IUnknown* NewEnum(std::vector<typename Kind::Item> items) {
    auto shared = std::make_shared<const std::vector<typename Kind::Item>>(std::move(items));
    return (new Enumerator<Kind>(std::move(shared), 0))->Unknown();
}

}  // namespace

IUnknown* NewItemEnum(Generation generation, std::vector<ItemRef> items) {
    return generation == kWia1 ? NewEnum<ItemKind1>(std::move(items)) : NewEnum<ItemKind2>(std::move(items));
}

IUnknown* NewDeviceInfoEnum(std::vector<DevicePtr> devices) {
    return NewEnum<DeviceInfoKind>(std::move(devices));
}

IUnknown* NewCapsEnum(std::vector<Capability> caps) {
    return NewEnum<CapsKind>(std::move(caps));
}

IUnknown* NewFormatEnum(std::vector<FormatInfo> formats) {
    return NewEnum<FormatKind>(std::move(formats));
}

IUnknown* NewStatEnum(std::vector<StatEntry> entries) {
    return NewEnum<StatKind>(std::move(entries));
}

}  // namespace simwia
