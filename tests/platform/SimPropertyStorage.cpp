// SimPropertyStorage.cpp - IWiaPropertyStorage over a property table, shared by the device-information storages and
// the items. Behaves as the platform's property storage: PROPSPECs by id or by name (names resolved through
// the table's names), a missing property reads as VT_EMPTY with S_FALSE, new names get ids from propidNameFirst on.
#include "tests/platform/SimModel.h"

#include <cstring>

namespace simwia {
namespace {

constexpr PROPID kFirstUsableId = 2;  // 0 is the dictionary, 1 the code page
constexpr PROPID kFirstReservedId = 0x80000000;

PropertyTable& Props(Interface* self) {
    return static_cast<PropertyOwner*>(self->owner)->Table();
}

std::vector<Spec> SpecsOf(ULONG count, const PROPSPEC* specs) {
    std::vector<Spec> list;
    for (ULONG i = 0; specs != nullptr && i < count; ++i) {
        Spec spec;
        spec.kind = specs[i].ulKind;
        if (spec.kind == PRSPEC_PROPID) spec.id = specs[i].propid;
        if (spec.kind == PRSPEC_LPWSTR) spec.name = TextOf(specs[i].lpwstr);
        list.push_back(spec);
    }
    return list;
}

bool UsableId(PROPID id) {
    return id >= kFirstUsableId && id < kFirstReservedId;
}

// Resolves one PROPSPEC to an id: S_OK with the id, S_FALSE for a name the table does not know, or the error.
HRESULT Resolve(const PropertyTable& table, const PROPSPEC& spec, PROPID* id) {
    *id = 0;
    if (spec.ulKind == PRSPEC_PROPID) {
        *id = spec.propid;
        return S_OK;
    }
    if (spec.ulKind != PRSPEC_LPWSTR || spec.lpwstr == nullptr || spec.lpwstr[0] == L'\0') {
        return STG_E_INVALIDPARAMETER;
    }
    *id = table.IdOf(spec.lpwstr);
    return *id == 0 ? S_FALSE : S_OK;
}

PROPID FreeId(const PropertyTable& table, PROPID first) {
    PROPID id = first;
    while (table.values.count(id) != 0 || table.names.count(id) != 0) ++id;
    return id;
}

// The values read are the caller's to free ("IPropertyStorage::ReadMultiple", with PropVariantClear).
HRESULT STDMETHODCALLTYPE ReadMultiple(Interface* self, ULONG cpspec, const PROPSPEC* rgpspec, PROPVARIANT* rgpropvar) {
    Call& call = Record(self, "ReadMultiple");
    call.specs = SpecsOf(cpspec, rgpspec);
    HRESULT hr;
    if (Intercept(self, "ReadMultiple", &hr)) return hr;
    if (cpspec > 0 && (rgpspec == nullptr || rgpropvar == nullptr)) return STG_E_INVALIDPOINTER;
    const PropertyTable& table = Props(self);
    for (ULONG i = 0; i < cpspec; ++i) PropVariantInit(&rgpropvar[i]);
    bool found = false;
    for (ULONG i = 0; i < cpspec; ++i) {
        PROPID id;
        hr = Resolve(table, rgpspec[i], &id);
        if (FAILED(hr)) {
            for (ULONG j = 0; j < i; ++j) PropVariantClear(&rgpropvar[j]);
            return hr;
        }
        auto value = table.values.find(id);
        if (hr == S_OK && value != table.values.end()) {
            value->second.CopyTo(&rgpropvar[i]);
            HandOutValue(rgpropvar[i], MethodName(self, "ReadMultiple"));
            found = true;
        }
    }
    return found ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE WriteMultiple(Interface* self, ULONG cpspec, const PROPSPEC* rgpspec, const PROPVARIANT* rgpropvar,
                                        PROPID propidNameFirst) {
    Call& call = Record(self, "WriteMultiple");
    call.specs = SpecsOf(cpspec, rgpspec);
    for (ULONG i = 0; rgpropvar != nullptr && i < cpspec; ++i) call.values.emplace_back(rgpropvar[i]);
    call.propidNameFirst = propidNameFirst;
    HRESULT hr;
    if (Intercept(self, "WriteMultiple", &hr)) return hr;
    if (cpspec > 0 && (rgpspec == nullptr || rgpropvar == nullptr)) return STG_E_INVALIDPOINTER;
    PropertyTable& table = Props(self);
    // Everything is checked before anything is written.
    for (ULONG i = 0; i < cpspec; ++i) {
        PROPID id;
        hr = Resolve(table, rgpspec[i], &id);
        if (FAILED(hr)) return hr;
        if (hr == S_FALSE && !UsableId(propidNameFirst)) return STG_E_INVALIDPARAMETER;
        if (hr == S_OK && !UsableId(id)) return STG_E_INVALIDPARAMETER;
        if (rgpropvar[i].vt == VT_EMPTY) return E_INVALIDARG;
        if (hr == S_OK && FAILED(hr = CheckWrite(table, id, rgpropvar[i]))) return hr;
    }
    std::vector<PROPID> written;
    for (ULONG i = 0; i < cpspec; ++i) {
        PROPID id;
        if (Resolve(table, rgpspec[i], &id) == S_FALSE) {
            id = FreeId(table, propidNameFirst);
            table.names[id] = rgpspec[i].lpwstr;
        }
        table.values[id] = PropValue(rgpropvar[i]);
        written.push_back(id);
    }
    for (PROPID id : written)
        if (table.afterWrite != nullptr && table.attributes.count(id) != 0) table.afterWrite(table, id);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DeleteMultiple(Interface* self, ULONG cpspec, const PROPSPEC* rgpspec) {
    Call& call = Record(self, "DeleteMultiple");
    call.specs = SpecsOf(cpspec, rgpspec);
    HRESULT hr;
    if (Intercept(self, "DeleteMultiple", &hr)) return hr;
    if (cpspec > 0 && rgpspec == nullptr) return STG_E_INVALIDPOINTER;
    PropertyTable& table = Props(self);
    for (ULONG i = 0; i < cpspec; ++i) {
        PROPID id;
        hr = Resolve(table, rgpspec[i], &id);
        if (FAILED(hr)) return hr;
    }
    for (ULONG i = 0; i < cpspec; ++i) {
        PROPID id;
        if (Resolve(table, rgpspec[i], &id) == S_OK) table.values.erase(id);
    }
    return S_OK;
}

// Each name is the caller's to free with CoTaskMemFree ("IPropertyStorage::ReadPropertyNames").
HRESULT STDMETHODCALLTYPE ReadPropertyNames(Interface* self, ULONG cpropid, const PROPID* rgpropid, LPOLESTR* rglpwstrName) {
    HRESULT hr;
    if (Intercept(self, "ReadPropertyNames", &hr)) return hr;
    if (cpropid > 0 && (rgpropid == nullptr || rglpwstrName == nullptr)) return STG_E_INVALIDPOINTER;
    const PropertyTable& table = Props(self);
    bool found = false;
    for (ULONG i = 0; i < cpropid; ++i) {
        rglpwstrName[i] = nullptr;
        auto name = table.names.find(rgpropid[i]);
        if (name == table.names.end()) continue;
        const size_t size = (name->second.size() + 1) * sizeof(wchar_t);
        rglpwstrName[i] = HandOut(static_cast<LPOLESTR>(CoTaskMemAlloc(size)), MethodName(self, "ReadPropertyNames"));
        memcpy(rglpwstrName[i], name->second.c_str(), size);
        found = true;
    }
    return found ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE WritePropertyNames(Interface* self, ULONG cpropid, const PROPID* rgpropid,
                                             const LPOLESTR* rglpwstrName) {
    Call& call = Record(self, "WritePropertyNames");
    for (ULONG i = 0; rgpropid != nullptr && rglpwstrName != nullptr && i < cpropid; ++i)
        call.names.push_back(TextOf(rglpwstrName[i]));
    HRESULT hr;
    if (Intercept(self, "WritePropertyNames", &hr)) return hr;
    if (cpropid > 0 && (rgpropid == nullptr || rglpwstrName == nullptr)) return STG_E_INVALIDPOINTER;
    PropertyTable& table = Props(self);
    for (ULONG i = 0; i < cpropid; ++i) {
        if (!UsableId(rgpropid[i]) || rglpwstrName[i] == nullptr || rglpwstrName[i][0] == L'\0') {
            return STG_E_INVALIDPARAMETER;
        }
        const PROPID owner = table.IdOf(rglpwstrName[i]);
        if (owner != 0 && owner != rgpropid[i]) return STG_E_INVALIDPARAMETER;  // a name names one id
    }
    for (ULONG i = 0; i < cpropid; ++i) table.names[rgpropid[i]] = rglpwstrName[i];
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DeletePropertyNames(Interface* self, ULONG cpropid, const PROPID* rgpropid) {
    HRESULT hr;
    if (Intercept(self, "DeletePropertyNames", &hr)) return hr;
    if (cpropid > 0 && rgpropid == nullptr) return STG_E_INVALIDPOINTER;
    for (ULONG i = 0; i < cpropid; ++i) Props(self).names.erase(rgpropid[i]);
    return S_OK;
}

// Writes land at once (the storage is not transacted): Commit and Revert only answer.
HRESULT STDMETHODCALLTYPE Commit(Interface* self, DWORD grfCommitFlags) {
    Record(self, "Commit").flags = static_cast<LONG>(grfCommitFlags);
    HRESULT hr;
    return Intercept(self, "Commit", &hr) ? hr : S_OK;
}

HRESULT STDMETHODCALLTYPE Revert(Interface* self) {
    HRESULT hr;
    return Intercept(self, "Revert", &hr) ? hr : S_OK;
}

HRESULT STDMETHODCALLTYPE Enum(Interface* self, IUnknown** ppenum) {
    HRESULT hr;
    if (Intercept(self, "Enum", &hr)) return hr;
    if (ppenum == nullptr) return STG_E_INVALIDPOINTER;
    const PropertyTable& table = Props(self);
    std::vector<StatEntry> entries;
    for (const auto& value : table.values) {
        auto name = table.names.find(value.first);
        entries.push_back({name == table.names.end() ? Text() : Text(name->second), value.first, value.second.vt()});
    }
    *ppenum = NewStatEnum(std::move(entries));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SetTimes(Interface* self, const FILETIME*, const FILETIME*, const FILETIME*) {
    return Stub(self, "SetTimes");
}

HRESULT STDMETHODCALLTYPE SetClass(Interface* self, REFCLSID) {
    return Stub(self, "SetClass");
}

HRESULT STDMETHODCALLTYPE Stat(Interface* self, STATPROPSETSTG*) {
    return Stub(self, "Stat");
}

// "IWiaPropertyStorage::GetPropertyAttributes": each property's access and kind flags and its valid values (a vector
// the caller frees with PropVariantClear); a property the device does not define answers flags 0 and VT_EMPTY, and
// S_FALSE when none of them is defined.
HRESULT STDMETHODCALLTYPE GetPropertyAttributes(Interface* self, ULONG cpspec, PROPSPEC* rgpspec, ULONG* rgflags,
                                                PROPVARIANT* rgpropvar) {
    Record(self, "GetPropertyAttributes").specs = SpecsOf(cpspec, rgpspec);
    HRESULT hr;
    if (Intercept(self, "GetPropertyAttributes", &hr)) return hr;
    if (cpspec > 0 && (rgpspec == nullptr || rgflags == nullptr || rgpropvar == nullptr)) return STG_E_INVALIDPOINTER;
    const PropertyTable& table = Props(self);
    bool found = false;
    for (ULONG i = 0; i < cpspec; ++i) {
        PropVariantInit(&rgpropvar[i]);
        PROPID id = 0;
        rgflags[i] = Resolve(table, rgpspec[i], &id) == S_OK ? AttributesOf(table, id, &rgpropvar[i]) : 0;
        HandOutValue(rgpropvar[i], MethodName(self, "GetPropertyAttributes"));
        found = found || rgflags[i] != 0;
    }
    return found ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE GetCount(Interface* self, ULONG* pulNumProps) {
    HRESULT hr;
    if (Intercept(self, "GetCount", &hr)) return hr;
    if (pulNumProps == nullptr) return STG_E_INVALIDPOINTER;
    *pulNumProps = static_cast<ULONG>(Props(self).values.size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetPropertyStream(Interface* self, GUID*, IStream**) {
    return Stub(self, "GetPropertyStream");
}

HRESULT STDMETHODCALLTYPE SetPropertyStream(Interface* self, GUID*, IStream*) {
    return Stub(self, "SetPropertyStream");
}

const Slot* StorageVtable() {
    // clang-format off
    static const Slot* const vtbl = MakeVtable("IWiaPropertyStorage", 19, {
        {3, ToSlot(&ReadMultiple)},
        {4, ToSlot(&WriteMultiple)},
        {5, ToSlot(&DeleteMultiple)},
        {6, ToSlot(&ReadPropertyNames)},
        {7, ToSlot(&WritePropertyNames)},
        {8, ToSlot(&DeletePropertyNames)},
        {9, ToSlot(&Commit)},
        {10, ToSlot(&Revert)},
        {11, ToSlot(&Enum)},
        {12, ToSlot(&SetTimes)},
        {13, ToSlot(&SetClass)},
        {14, ToSlot(&Stat)},
        {15, ToSlot(&GetPropertyAttributes)},
        {16, ToSlot(&GetCount)},
        {17, ToSlot(&GetPropertyStream)},
        {18, ToSlot(&SetPropertyStream)},
    });
    // clang-format on
    return vtbl;
}

// A device's information storage: IWiaPropertyStorage only.
class InfoStorage : public PropertyOwner {
public:
    explicit InfoStorage(const DevicePtr& device) : PropertyOwner(device->info) { AddStorageInterface(&face_); }

private:
    Interface face_{};
};

}  // namespace

void PropertyOwner::AddStorageInterface(Interface* face) {
    AddInterface(face, "IWiaPropertyStorage", kSimIID_IWiaPropertyStorage, StorageVtable());
}

IUnknown* NewInfoStorage(const DevicePtr& device) {
    return (new InfoStorage(device))->Unknown();
}

}  // namespace simwia
