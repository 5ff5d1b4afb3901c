// SimProperties.cpp - what the simulated devices declare about their properties and how they react to writes, as
// Microsoft documents the WIA service and its drivers:
// - "IWiaPropertyStorage::GetPropertyAttributes" and "Property Attributes": every device property has access flags
//   (WIA_PROP_READ, WIA_PROP_WRITE) and valid values of one kind: WIA_PROP_NONE, WIA_PROP_RANGE (min, nominal, max,
//   step), WIA_PROP_LIST (count, nominal, values) or WIA_PROP_FLAG (nominal, valid bits).
// - "wiasValidateItemProperties": a written value must have the property's type (VT_UI1, VT_UI2, VT_UI4, VT_UI8,
//   VT_I1, VT_I2, VT_I4, VT_R4, VT_R8, VT_CLSID, VT_BSTR as declared) and lie within its valid values; otherwise
//   E_INVALIDARG and nothing is written. A property without WIA_PROP_WRITE refuses every write (E_ACCESSDENIED).
// - "WIA_IPS_CUR_INTENT": writing the intent sets the data type and bit depth of its image type and, for the size
//   bits, the resolution. "WIA_IPA_DATATYPE", "WIA_IPA_DEPTH": the depth follows the data type (threshold 1, grayscale
//   8, color 24). "WIA_IPS_XRES", "WIA_IPS_XEXTENT", "WIA_IPS_XPOS": the extent's and position's valid ranges follow the
//   resolution and the scan area; "WIA_IPA_PIXELS_PER_LINE", "WIA_IPA_NUMBER_OF_LINES", "WIA_IPA_BYTES_PER_LINE" are
//   read-only and follow the extents and depth. "WIA_IPA_FORMAT": its valid values are the formats offered for the
//   current "WIA_IPA_TYMED"; "WIA_IPA_FILENAME_EXTENSION" follows the format.
#include "tests/platform/SimModel.h"

#include <algorithm>

namespace simwia {
namespace {

void SetLong(PropertyTable& table, PROPID id, LONG value) {
    if (table.values.count(id) != 0) table.values[id] = I4(value);
}

bool InList(const Attributes& attributes, LONG value) {
    return std::find(attributes.values.begin() + 1, attributes.values.end(), value) != attributes.values.end();
}

bool ValidLong(const Attributes& a, LONG value) {
    switch (a.flags & (WIA_PROP_RANGE | WIA_PROP_LIST | WIA_PROP_FLAG)) {
        case WIA_PROP_RANGE:
            return value >= a.values[0] && value <= a.values[2] && (a.values[3] <= 0 || (value - a.values[0]) % a.values[3] == 0);
        case WIA_PROP_LIST:
            return InList(a, value);
        case WIA_PROP_FLAG:
            return (value & ~a.values[1]) == 0;
        default:
            return true;
    }
}

bool ValidGuid(const Attributes& a, const GUID& value) {
    if ((a.flags & WIA_PROP_LIST) == 0) return true;
    return std::any_of(a.guids.begin() + 1, a.guids.end(), [&](const GUID& g) { return IsEqualGUID(g, value); });
}

LONG DepthOf(LONG dataType) {
    return dataType == WIA_DATA_THRESHOLD ? 1 : dataType == WIA_DATA_GRAYSCALE ? 8 : 24;
}

// The extents' and positions' ranges at the current resolution; current values clipped into them.
void FitScanArea(PropertyTable& table) {
    const struct {
        PROPID res, pos, extent;
        LONG size;
    } axes[] = {{WIA_IPS_XRES, WIA_IPS_XPOS, WIA_IPS_XEXTENT, table.bedWidth},
                {WIA_IPS_YRES, WIA_IPS_YPOS, WIA_IPS_YEXTENT, table.bedHeight}};
    for (const auto& axis : axes) {
        const LONG most = std::max<LONG>(1, static_cast<LONG>(static_cast<LONGLONG>(axis.size) * table.Long(axis.res, 1) / 1000));
        const LONG extent = std::clamp<LONG>(table.Long(axis.extent, most), 1, most);
        const LONG pos = std::clamp<LONG>(table.Long(axis.pos, 0), 0, most - extent);
        table.attributes[axis.extent].values = {1, most, most, 1};
        table.attributes[axis.pos].values = {0, 0, most - 1, 1};
        SetLong(table, axis.extent, extent);
        SetLong(table, axis.pos, pos);
    }
}

void FitImage(PropertyTable& table) {
    const LONG width = table.Long(WIA_IPS_XEXTENT, table.Long(WIA_IPA_PIXELS_PER_LINE, 1));
    SetLong(table, WIA_IPA_PIXELS_PER_LINE, width);
    SetLong(table, WIA_IPA_NUMBER_OF_LINES, table.Long(WIA_IPS_YEXTENT, table.Long(WIA_IPA_NUMBER_OF_LINES, 1)));
    const LONG depth = table.Long(WIA_IPA_DEPTH, 24);
    SetLong(table, WIA_IPA_BYTES_PER_LINE, static_cast<LONG>((static_cast<LONGLONG>(width) * depth + 31) / 32 * 4));
}

// WIA_IPA_FORMAT's valid values: the formats offered for the current tymed; the format kept when still valid.
void FitFormat(PropertyTable& table) {
    const LONG tymed = table.Long(WIA_IPA_TYMED, TYMED_FILE);
    Attributes& format = table.attributes[WIA_IPA_FORMAT];
    format.guids.clear();
    for (const FormatInfo& offered : table.formats)
        if (offered.tymed == tymed) format.guids.push_back(offered.format);
    if (format.guids.empty()) return;
    format.guids.insert(format.guids.begin(), format.guids.front());  // the nominal value first
    const GUID current = table.Guid(WIA_IPA_FORMAT);
    if (!ValidGuid(format, current)) table.values[WIA_IPA_FORMAT] = Clsid(format.guids[0]);
    const GUID now = table.Guid(WIA_IPA_FORMAT);
    if (table.values.count(WIA_IPA_FILENAME_EXTENSION) != 0)
        table.values[WIA_IPA_FILENAME_EXTENSION] = Bstr(IsEqualGUID(now, kSimFormatJpeg) ? L"JPG" : L"BMP");
}

}  // namespace

LONG PropertyTable::Long(PROPID id, LONG fallback) const {
    auto value = values.find(id);
    return value == values.end() || value->second.vt() != VT_I4 ? fallback : value->second.get().lVal;
}

GUID PropertyTable::Guid(PROPID id) const {
    auto value = values.find(id);
    return value == values.end() || value->second.vt() != VT_CLSID || value->second.get().puuid == nullptr
               ? GUID_NULL
               : *value->second.get().puuid;
}

HRESULT CheckWrite(const PropertyTable& table, PROPID id, const PROPVARIANT& value) {
    auto attributes = table.attributes.find(id);
    auto current = table.values.find(id);
    if (attributes == table.attributes.end() || current == table.values.end()) return S_OK;  // the caller's own property
    const Attributes& a = attributes->second;
    if ((a.flags & WIA_PROP_WRITE) == 0) return E_ACCESSDENIED;
    if (value.vt != current->second.vt()) return E_INVALIDARG;
    if (value.vt == VT_I4) return ValidLong(a, value.lVal) ? S_OK : E_INVALIDARG;
    if (value.vt == VT_CLSID) return value.puuid != nullptr && ValidGuid(a, *value.puuid) ? S_OK : E_INVALIDARG;
    return S_OK;
}

ULONG AttributesOf(const PropertyTable& table, PROPID id, PROPVARIANT* out) {
    auto attributes = table.attributes.find(id);
    if (attributes == table.attributes.end()) return 0;
    const Attributes& a = attributes->second;
    std::vector<LONG> longs = a.values;
    std::vector<GUID> guids = a.guids;
    if ((a.flags & WIA_PROP_LIST) != 0) {  // the count first
        if (guids.empty())
            longs.insert(longs.begin(), static_cast<LONG>(longs.size() - 1));
        else
            guids.insert(guids.begin(), GUID{static_cast<unsigned long>(guids.size() - 1), 0, 0, {}});
    }
    if (!guids.empty()) {
        out->vt = VT_VECTOR | VT_CLSID;
        out->cauuid.cElems = static_cast<ULONG>(guids.size());
        out->cauuid.pElems = static_cast<CLSID*>(CoTaskMemAlloc(guids.size() * sizeof(GUID)));
        std::copy(guids.begin(), guids.end(), out->cauuid.pElems);
    } else if (!longs.empty()) {
        out->vt = VT_VECTOR | VT_I4;
        out->cal.cElems = static_cast<ULONG>(longs.size());
        out->cal.pElems = static_cast<LONG*>(CoTaskMemAlloc(longs.size() * sizeof(LONG)));
        std::copy(longs.begin(), longs.end(), out->cal.pElems);
    }
    return a.flags;
}

void ScannerAfterWrite(PropertyTable& table, PROPID id) {
    switch (id) {
        case WIA_IPS_CUR_INTENT: {
            const LONG intent = table.Long(WIA_IPS_CUR_INTENT, 0);
            const LONG type = intent & WIA_INTENT_IMAGE_TYPE_MASK;
            if (type != 0) {
                SetLong(table, WIA_IPA_DATATYPE,
                        type & WIA_INTENT_IMAGE_TYPE_COLOR       ? WIA_DATA_COLOR
                        : type & WIA_INTENT_IMAGE_TYPE_GRAYSCALE ? WIA_DATA_GRAYSCALE
                                                                 : WIA_DATA_THRESHOLD);
            }
            const LONG size = intent & WIA_INTENT_SIZE_MASK;
            if (size != 0) {
                const LONG resolution = size & WIA_INTENT_MINIMIZE_SIZE ? 150 : 300;
                SetLong(table, WIA_IPS_XRES, resolution);
                SetLong(table, WIA_IPS_YRES, resolution);
            }
            break;
        }
        case WIA_IPA_TYMED:
        case WIA_IPA_FORMAT:
            FitFormat(table);
            return;
        default:
            break;
    }
    const LONG depth = DepthOf(table.Long(WIA_IPA_DATATYPE, WIA_DATA_COLOR));
    SetLong(table, WIA_IPA_DEPTH, depth);
    table.attributes[WIA_IPA_DEPTH].values = {depth, depth};
    FitScanArea(table);
    FitImage(table);
}

void CameraAfterWrite(PropertyTable& table, PROPID id) {
    if (id == WIA_IPA_TYMED || id == WIA_IPA_FORMAT) FitFormat(table);
}

}  // namespace simwia
