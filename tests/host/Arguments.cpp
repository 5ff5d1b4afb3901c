#include "tests/host/Arguments.h"

#include <climits>
#include <map>
#include <optional>
#include <stdexcept>

#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimStreamScript.h"
#include "tests/host/Sweep.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {

const Value kNil = {"nil", [](CallArguments&) { return Word{0}; }};
const char* const kHandleChanged = "callback whose Handle a script changed";

bool Is(const Param& param, const char* typeName) {
    return _stricmp(param.typeName.c_str(), typeName) == 0;
}

namespace {

Value Integer(int64_t value) {
    return {std::to_string(value), [value](CallArguments&) { return static_cast<Word>(value); }};
}
Value Text(const std::string& label, const std::string& bytes, uint32_t encoding = enc::kUTF8) {
    return {label, [bytes, encoding](CallArguments& a) { return a.Keep(a.host.Str(bytes, encoding)); }};
}
Value Object(const std::string& label, std::function<REALobject(SimHost&)> make) {
    return {label, [make](CallArguments& a) { return a.Keep(make(a.host)); }};
}
Value Slot(const std::string& label, CType pointee, std::function<Word(SimHost&)> initial) {
    return {label, [pointee, initial](CallArguments& a) { return a.Slot(pointee, initial(a.host)); }};
}

Value EmptyArray(const Param& param) {
    return Object("empty array", [s = Is(param, "string")](SimHost& h) { return REALobject(NewArray(h, s ? 3 : 4)); });
}

// A window of the parameter's class with that Handle, or without one.
Value WindowValue(const Param& param, const std::string& label, std::optional<int64_t> handle) {
    const std::string cls = Is(param, "window") ? "Window" : "DesktopWindow";
    return Object(label, [cls, handle](SimHost& h) { return handle ? NewWindow(h, *handle, cls) : h.NewBuiltin(cls); });
}

}  // namespace

// Ordinary values: what a script passes when it means no harm. Strings named after what they carry get a value that
// lets the method reach its platform calls.
Value Ordinary(SimHost& host, const Param& param) {
    Value value = [&]() -> Value {
        if (param.byRef) return Slot("byref", TypeOfHostName(param.typeName), [](SimHost&) { return Word{0}; });
        if (param.type == CType::Array) return EmptyArray(param);
        if (param.type == CType::String) {
            const std::map<std::string, std::string> named = {{"deviceid", Narrow(simwia::kScannerId)},
                                                              {"name", Narrow(simwia::kScannerFlatbed)},
                                                              {"guid", "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}"},
                                                              {"foldername", Script().folder},
                                                              {"path", Script().folder}};
            auto found = named.find(CharLowerA(std::string(param.name).data()));
            const std::string text = found != named.end() ? found->second : "sweep";
            return Text("\"" + text + "\"", text);
        }
        if (param.type != CType::Object) return Integer(0);
        if (Is(param, "variant"))
            return Object("1", [](SimHost& h) { return NewVariant(h, vtype::kInt64, VariantKind::Int64, 1); });
        if (Is(param, "window") || Is(param, "desktopwindow")) return WindowValue(param, "window 0", 0);
        if (Is(param, "folderitem"))
            return Object("folder item", [](SimHost& h) { return NewFolderItemAt(h, Script().folder + "\\sweep.bmp"); });
        if (host.FindClass(param.typeName) == nullptr) return Integer(0);
        return Object("made " + param.typeName, [t = param.typeName](SimHost& h) { return sweep::Make(h, t); });
    }();
    value.worst = false;
    return value;
}

// The values a declared parameter is swept through.
std::vector<Value> Worst(SimHost& host, const Param& param) {
    const bool plugInClass = host.FindClass(param.typeName) != nullptr;
    if (param.byRef) {
        const CType pointee = TypeOfHostName(param.typeName);
        std::vector<Value> values{Slot("byref 0", pointee, [](SimHost&) { return Word{0}; })};
        if (pointee == CType::String)
            values.push_back(Slot("byref \"x\"", pointee, [](SimHost& h) { return reinterpret_cast<Word>(h.Str("x")); }));
        if (pointee == CType::Object && plugInClass)
            values.push_back(Slot("byref made", pointee,
                                  [t = param.typeName](SimHost& h) { return reinterpret_cast<Word>(sweep::Make(h, t)); }));
        return values;
    }
    switch (param.type) {
        case CType::Array:
            return {kNil, EmptyArray(param)};
        case CType::String:
            return {kNil,
                    Text("\"\"", ""),
                    Text("70000 characters", std::string(35000, 'x') + std::string(35000, '\xE9'), enc::kWindowsLatin1),
                    Text("malformed UTF-8", "\xFF\xFE\xC3(\xE2\x82", enc::kUTF8),
                    Text("odd UTF-16", std::string("a\0b", 3), enc::kUTF16LE),
                    Text("embedded zero", std::string("a\0b", 3)),
                    Text("unknown encoding", "\x80\x81", enc::kUnknown)};
        case CType::Bool:
            return {Integer(0), Integer(1)};
        case CType::Int64:
        case CType::UInt32:
        case CType::UInt64:
            return {Integer(0),         Integer(-1),        Integer(INT64_MIN),      Integer(INT64_MAX),
                    Integer(1LL << 31), Integer(1LL << 32), Integer((1LL << 32) + 1)};
        case CType::Object:
            if (Is(param, "variant"))
                return {
                    kNil, Object("\"\" variant", [](SimHost& h) { return NewStringVariant(h, vtype::kString, nullptr); }),
                    Object("max variant", [](SimHost& h) { return NewVariant(h, vtype::kInt64, VariantKind::Int64, INT64_MAX); }),
                    Object("object variant", [](SimHost& h) { return NewWindow(h, 1); })};
            if (Is(param, "window") || Is(param, "desktopwindow"))
                return {kNil, WindowValue(param, "window -1", -1), WindowValue(param, "window without Handle", {})};
            if (Is(param, "folderitem"))
                return {
                    kNil, Object("folder item \"\"", [](SimHost& h) { return NewFolderItemAt(h, ""); }),
                    Object("folder item long", [](SimHost& h) { return NewFolderItemAt(h, "C:\\" + std::string(40000, 'x')); }),
                    Object("folder item malformed", [](SimHost& h) { return NewFolderItemAt(h, "C:\\\xFF\xFE"); })};
            if (plugInClass && (Is(param, "WIADataCallbackZVK") || Is(param, "WIATransferCallbackZVK")))
                return {kNil, Object("script-made " + param.typeName, [t = param.typeName](SimHost& h) { return h.New(t); }),
                        Object(kHandleChanged, [t = param.typeName](SimHost& h) {
                            REALobject callback = sweep::Make(h, t);
                            h.SetInt(callback, "Handle", h.GetInt(callback, "Handle") + 16);
                            return callback;
                        })};
            if (plugInClass)
                return {kNil, Object("script-made " + param.typeName, [t = param.typeName](SimHost& h) { return h.New(t); })};
            return {kNil};
        default:
            throw std::runtime_error("the sweep cannot pass a " + param.typeName);
    }
}

}  // namespace simhost
