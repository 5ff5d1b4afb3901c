// Two sweeps over every class the plug-in registers, one test (and so one process) per class, driven by the
// class records the simulated host captured rather than by a list of our own:
//
// Declarations: every method, method setter, property getter and setter and shared member is called on each
// made instance (tests/Sweep.h) and on one a script made itself, with each argument in turn at the worst
// values of its type while the others stay ordinary; once quiet, once logging, once more with a host that makes
// no objects. Nothing may crash, raise anything but the exceptions listed below (each of which must be raised
// for its own nil, empty or out-of-range argument), call the platform after raising, keep a host object, host
// string or COM reference, or leave Lasterror other than -1 where no platform call was made.
//
// Faults: every method is dry-run on each made instance with ordinary arguments to learn which platform calls
// it reaches; each of those calls is then failed once. When the failed call was the method's last, its code
// must be in Lasterror and the result must be empty; nothing may leak either way.
#include <windows.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/Sweep.h"
#include "tests/host/Callables.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostVariants.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

using Word = uint64_t;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

struct Value {
    std::string label;
    std::function<Word(CallArguments&)> make;
    bool worst = true;  // a value the method may refuse (an exception is allowed only then)
};

std::string SweepFolder() {
    const std::string folder = TempFolder() + "\\wiazvk-sweep";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

Value Integer(int64_t value, bool worst = true) {
    return {std::to_string(value), [value](CallArguments&) { return static_cast<Word>(value); }, worst};
}

Value Text(const std::string& label, const std::string& bytes, uint32_t encoding = enc::kUTF8, bool worst = true) {
    return {label, [bytes, encoding](CallArguments& a) { return a.Keep(a.host.Str(bytes, encoding)); }, worst};
}

Value Object(const std::string& label, std::function<REALobject(SimHost&)> make, bool worst = true) {
    return {label, [make](CallArguments& a) { return a.Keep(make(a.host)); }, worst};
}

Value Nil() {
    return {"nil", [](CallArguments&) { return Word{0}; }};
}

Value Slot(const std::string& label, CType pointee, std::function<Word(SimHost&)> initial, bool worst = true) {
    return {label, [pointee, initial](CallArguments& a) { return a.Slot(pointee, initial(a.host)); }, worst};
}

std::string WindowClass(const std::string& type) {
    return type == "window" ? "Window" : "DesktopWindow";
}

// Ordinary values: what a script passes when it means no harm. Strings named after what they carry get a
// value that lets the method reach its platform calls.
Value Ordinary(SimHost& host, const Param& param) {
    const std::string type = Lower(param.typeName), name = Lower(param.name);
    if (param.byRef)
        return Slot(
            "byref", TypeOfHostName(param.typeName), [](SimHost&) { return Word{0}; }, false);
    switch (param.type) {
        case CType::Array:
            return Object(
                "empty array", [type](SimHost& h) { return REALobject(NewArray(h, type == "string" ? 3 : 4)); }, false);
        case CType::String: {
            const std::map<std::string, std::string> named = {{"deviceid", Narrow(simwia::kScannerId)},
                                                              {"name", Narrow(simwia::kScannerFlatbed)},
                                                              {"guid", "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}"},
                                                              {"foldername", SweepFolder()},
                                                              {"path", SweepFolder()}};
            const std::string text = named.count(name) != 0 ? named.at(name) : "sweep";
            return Text("\"" + text + "\"", text, enc::kUTF8, false);
        }
        case CType::Object:
            if (type == "variant")
                return Object(
                    "1", [](SimHost& h) { return NewVariant(h, vtype::kInt64, VariantKind::Int64, 1); }, false);
            if (type == "window" || type == "desktopwindow")
                return Object(
                    "window 0", [cls = WindowClass(type)](SimHost& h) { return NewWindow(h, 0, cls); }, false);
            if (type == "folderitem")
                return Object(
                    "folder item", [](SimHost& h) { return NewFolderItemAt(h, SweepFolder() + "\\sweep.bmp"); }, false);
            if (host.FindClass(param.typeName) != nullptr)
                return Object(
                    "made " + param.typeName, [t = param.typeName](SimHost& h) { return sweep::Make(h, t); }, false);
            return Integer(0, false);
        default:
            return Integer(0, false);
    }
}

// The values a declared parameter is swept through.
std::vector<Value> Worst(SimHost& host, const Param& param) {
    const std::string type = Lower(param.typeName);
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
            return {Nil(),
                    Object("empty array", [type](SimHost& h) { return REALobject(NewArray(h, type == "string" ? 3 : 4)); })};
        case CType::String:
            return {Nil(),
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
            return {Integer(0),
                    Integer(-1),
                    Integer(INT64_MIN),
                    Integer(INT64_MAX),
                    Integer(int64_t{1} << 31),
                    Integer(int64_t{1} << 32),
                    Integer((int64_t{1} << 32) + 1)};
        case CType::Object:
            if (type == "variant")
                return {
                    Nil(), Object("\"\" variant", [](SimHost& h) { return NewStringVariant(h, vtype::kString, nullptr); }),
                    Object("max variant", [](SimHost& h) { return NewVariant(h, vtype::kInt64, VariantKind::Int64, INT64_MAX); }),
                    Object("object variant", [](SimHost& h) { return NewWindow(h, 1); })};
            if (type == "window" || type == "desktopwindow")
                return {Nil(), Object("window -1", [cls = WindowClass(type)](SimHost& h) { return NewWindow(h, -1, cls); }),
                        Object("window without Handle", [cls = WindowClass(type)](SimHost& h) { return h.NewBuiltin(cls); })};
            if (type == "folderitem")
                return {
                    Nil(), Object("folder item \"\"", [](SimHost& h) { return NewFolderItemAt(h, ""); }),
                    Object("folder item long", [](SimHost& h) { return NewFolderItemAt(h, "C:\\" + std::string(40000, 'x')); }),
                    Object("folder item malformed", [](SimHost& h) { return NewFolderItemAt(h, "C:\\\xFF\xFE"); })};
            if (plugInClass)
                return {Nil(), Object("script-made " + param.typeName, [t = param.typeName](SimHost& h) { return h.New(t); })};
            return {Nil()};
        default:
            throw std::runtime_error("the sweep cannot pass a " + param.typeName);
    }
}

// The exceptions the rules name: the member raises this one (its message begins with the text) when the
// parameter is nil or empty, or, for a range, outside it (0 is inside); no other exception is allowed.
struct Allowed {
    const char* cls;
    const char* member;
    const char* param;
    const char* exception;
    const char* message;
};
const Allowed kAllowed[] = {
    {"WIADeviceManager1ZVK", "GetImageDialog", "file", "NilObjectException", "file parameter is nil"},
    {"WIAGUIDZVK", "Byte", "index", "OutOfBoundsException", "The parameter index to method Byte is too "},
    {"WIAStreamZVK", "Constructor", "file", "NilObjectException", "file is nil"},
    {"WIAStreamZVK", "Constructor", "path", "NilObjectException", "path is empty"},
    {"WIAVideoZVK", "ImagesDirectory", "value", "NilObjectException", "path is empty"},
    {"WIAVideoZVK", "ImagesFolder", "value", "NilObjectException", "folderitem is nil"},
};

bool IsAllowed(const std::string& cls, const std::string& member, const Raised& raised) {
    for (const Allowed& allowed : kAllowed) {
        if (cls == allowed.cls && member == allowed.member && raised.className == allowed.exception &&
            raised.message.rfind(allowed.message, 0) == 0 && raised.errorNumber == 0)
            return true;
    }
    return false;
}

bool MustRaise(const std::string& cls, const std::string& member, const Param& param, const Value& value) {
    for (const Allowed& allowed : kAllowed) {
        if (cls != allowed.cls || member != allowed.member || param.name != allowed.param) continue;
        bool range = std::string(allowed.exception) == "OutOfBoundsException";
        if (range ? value.label != "0" : value.label == "nil" || value.label == "\"\"") return true;
    }
    return false;
}

bool HasProperty(const ClassView& cls, const char* name) {
    for (const PropertyView& p : cls.properties)
        if (p.name == name && p.bound()) return true;
    return false;
}

// Counts that must come back after every call: host objects and strings, simulated COM objects and references.
using Counts = std::array<int64_t, 4>;

Counts Snapshot(const SimHost& host) {
    return {host.LiveObjects(), host.LiveStrings(), simwia::LiveObjects(), simwia::OutstandingReferences()};
}

std::string Describe(const Counts& c) {
    return std::to_string(c[0]) + " objects, " + std::to_string(c[1]) + " strings, " + std::to_string(c[2]) + " COM objects, " +
           std::to_string(c[3]) + " COM references";
}

// Platform calls made, without reference counting.
std::vector<std::string> PlatformCalls() {
    std::vector<std::string> calls;
    for (const std::string& call : simwia::CallSequence()) {
        if (call.size() > 8 &&
            (call.compare(call.size() - 8, 8, "::AddRef") == 0 || call.compare(call.size() - 9, 9, "::Release") == 0))
            continue;
        calls.push_back(call);
    }
    return calls;
}

// The call being made, printed by the crash handler so a crash names its member and arguments.
std::string gCurrent;

LONG CALLBACK ReportCrash(EXCEPTION_POINTERS* info) {
    DWORD code = info->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_STACK_OVERFLOW || code == EXCEPTION_ILLEGAL_INSTRUCTION) {
        std::fprintf(stderr, "crash 0x%08lX in: %s\n", code, gCurrent.c_str());
        std::fflush(stderr);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

constexpr HRESULT kFault = static_cast<HRESULT>(0x80070015);  // the device is not ready

class Sweep : public PluginTest {
public:
    explicit Sweep(std::string className) : className_(std::move(className)) {}

protected:
    void SetUp() override {
        PluginTest::SetUp();
        crashHandler_ = AddVectoredExceptionHandler(1, ReportCrash);
    }
    void TearDown() override {
        RemoveVectoredExceptionHandler(crashHandler_);
        PluginTest::TearDown();
    }

    const ClassView& Class() { return host().Class(className_); }

    // The platform back in its first state, with dialogs that write no files.
    void Fresh() {
        simwia::ResetAll();
        simwia::SetDialogAnswer(nullptr, S_OK, 0);
        simwia::SetItemDialogAnswer(S_OK, {true}, 0);
    }

    // Calls a member with the given values, after making them, forgetting the platform calls made so far
    // and running `armed`; gives back the result and the arguments, and tells whether the result was empty.
    bool Call(REALobject self, const Callable& member, const std::vector<Value>& values,
              const std::function<void()>& armed = {}) {
        CallArguments arena(host());
        std::vector<Word> args;
        if (!member.shared) args.push_back(reinterpret_cast<Word>(self));
        args.insert(args.end(), member.leading.begin(), member.leading.end());
        std::string description = className_ + " " + member.description + " with";
        for (const Value& value : values) {
            args.push_back(value.make(arena));
            description += " [" + value.label + "]";
        }
        gCurrent = description;
        simwia::ResetCounts();
        if (armed) armed();
        Word result = InvokeWords(member.function, args);
        // Void results are empty; texts and arrays without elements count as empty too. Results are given back.
        bool empty = member.result == CType::Void || (member.result == CType::Bool ? (result & 0xFF) == 0 : result == 0);
        if (!empty && member.result == CType::String) empty = host().Bytes(reinterpret_cast<REALstring>(result)).empty();
        if (!empty && member.result == CType::Array)
            empty = ReadArray(host(), reinterpret_cast<REALarray>(result)).elements.empty();
        if (member.result == CType::String) host().UnlockString(reinterpret_cast<REALstring>(result));
        if (member.result == CType::Object || member.result == CType::Array) host().Unlock(reinterpret_cast<REALobject>(result));
        return empty;
    }

    std::string className_;
    void* crashHandler_ = nullptr;
};

class DeclarationSweep : public Sweep {
public:
    using Sweep::Sweep;

    void TestBody() override {
        const ClassView& cls = Class();
        std::vector<Callable> members = CallablesOf(cls);
        std::vector<sweep::NamedMaker> kinds = sweep::Makers()[className_];
        bool needsInstance = false;
        for (const Callable& m : members) needsInstance = needsInstance || !m.shared;
        if (needsInstance && kinds.empty()) ADD_FAILURE() << className_ << " has instance members but no maker (tests/Sweep.h)";
        kinds.push_back({"script-made", [](SimHost&) -> REALobject { return nullptr; }});
        // Once quiet, once with every log line written, so the log's own formatting meets the same values; then
        // with ordinary values and a host that makes no object once the arguments are made: results are nil.
        for (int pass : {0, 1, 2}) {
            host().SetSharedBool("WIADeviceManager2ZVK", "Debugging", pass == 1);
            refuse_ = pass == 2;
            for (const sweep::NamedMaker& kind : kinds) {
                for (const Callable& member : members) {
                    if (member.shared && kind.label != "script-made") continue;  // shared members once
                    std::vector<Value> ordinary;
                    for (const Param& p : member.params) ordinary.push_back(Ordinary(host(), p));
                    Run(kind, member, ordinary);
                    for (size_t i = 0; i < member.params.size() && !refuse_; ++i) {
                        for (const Value& worst : Worst(host(), member.params[i])) {
                            std::vector<Value> values = ordinary;
                            values[i] = worst;
                            Run(kind, member, values);
                        }
                    }
                }
            }
        }
    }

private:
    bool refuse_ = false;

    void Run(const sweep::NamedMaker& kind, const Callable& member, const std::vector<Value>& values) {
        Fresh();
        const ClassView& cls = Class();
        bool scriptMade = kind.label == "script-made";
        Counts before = Snapshot(host());
        REALobject self = nullptr;
        if (!member.shared) {
            self = scriptMade ? host().New(className_) : kind.make(host());
            if (self == nullptr) {
                ADD_FAILURE() << className_ << ": the " << kind.label << " maker made nothing";
                return;
            }
        }
        bool hasLasterror = self != nullptr && HasProperty(cls, "Lasterror");
        bool handleZero = self != nullptr && HasProperty(cls, "Handle") && host().GetInt(self, "Handle") == 0;
        bool simulated = self != nullptr && HasProperty(cls, "Handle") &&
                         simwia::RefCount(reinterpret_cast<IUnknown*>(host().GetInt(self, "Handle"))) != 0;
        if (hasLasterror) host().SetInt(self, "Lasterror", 12345);
        host().raised.clear();
        bool empty = Call(self, member, values, [this] {
            if (refuse_) host().refuseInstance = [](const std::string&) { return true; };
        });
        host().refuseInstance = nullptr;
        std::string where = className_ + " (" + kind.label + (refuse_ ? ", host makes no objects) " : ") ") +
                            gCurrent.substr(className_.size() + 1);
        if (refuse_ && host().FindClass(member.resultName) != nullptr) {
            EXPECT_TRUE(empty) << where << " returned an object";
        }
        bool worst = false;
        for (const Value& v : values) worst = worst || v.worst;
        for (const Raised& raised : host().raised) {
            EXPECT_TRUE(worst && IsAllowed(className_, member.name, raised))
                << where << " raised " << raised.className << " \"" << raised.message << "\"";
        }
        for (size_t i = 0; i < values.size(); ++i) {
            if (values[i].worst && MustRaise(className_, member.name, member.params[i], values[i])) {
                EXPECT_FALSE(host().raised.empty()) << where << " raised nothing";
            }
        }
        // A method that raised stops there: no platform call, and Lasterror as it was.
        if (!host().raised.empty()) {
            EXPECT_TRUE(PlatformCalls().empty()) << where << " called the platform after raising";
        }
        if (hasLasterror && member.name != "Constructor" && host().raised.empty()) {
            int64_t lasterror = host().GetInt(self, "Lasterror");
            if (scriptMade && handleZero) {
                EXPECT_EQ(lasterror, -1) << where << " on an object whose Handle is 0";
            }
            if (simulated && PlatformCalls().empty()) {
                EXPECT_EQ(lasterror, -1) << where << " made no platform call";
            }
        }
        host().raised.clear();
        host().Unlock(self);
        log().Clear();
        Counts after = Snapshot(host());
        EXPECT_TRUE(before == after) << where << " kept: before " << Describe(before) << "; after " << Describe(after);
    }
};

// Members whose Lasterror the rules leave at -1 whatever their platform calls answer, and members that
// return something after a failure: a failed file transfer still hands its (empty) path to the host's
// folder-item lookup, which decides what the script gets.
const std::set<std::string> kKeepsNoCode = {"WIAItemZVK PropertyStorage"};
const std::set<std::string> kResultAfterFailure = {"WIADataTransferZVK GetDataFile"};

class FaultSweep : public Sweep {
public:
    using Sweep::Sweep;

    void TestBody() override {
        const ClassView& cls = Class();
        for (const sweep::NamedMaker& kind : sweep::Makers()[className_]) {
            for (const Callable& member : CallablesOf(cls)) {
                if (member.shared) continue;
                std::vector<Value> ordinary;
                for (const Param& p : member.params) ordinary.push_back(Ordinary(host(), p));
                Fresh();
                REALobject self = kind.make(host());
                ASSERT_NE(self, nullptr) << className_ << ": the " << kind.label << " maker made nothing";
                Call(self, member, ordinary);
                host().Unlock(self);
                std::set<std::string> reached;
                for (const std::string& call : PlatformCalls()) {
                    if (reached.insert(call).second) Fail(kind, member, ordinary, call);
                }
                failed_.insert(reached.begin(), reached.end());
            }
        }
        std::string list;
        for (const std::string& call : failed_) list += "\n  " + call;
        std::printf("%s: %zu platform calls failed once each:%s\n", className_.c_str(), failed_.size(), list.c_str());
    }

    std::set<std::string> failed_;

private:
    void Fail(const sweep::NamedMaker& kind, const Callable& member, const std::vector<Value>& values, const std::string& call) {
        Fresh();
        Counts before = Snapshot(host());
        REALobject self = kind.make(host());
        ASSERT_NE(self, nullptr);
        bool hasLasterror = HasProperty(Class(), "Lasterror");
        host().raised.clear();
        bool empty = Call(self, member, values, [&call] { simwia::FailNext(call.c_str(), kFault); });
        std::string where = className_ + " (" + kind.label + ") " + member.description + " with " + call + " failing";
        for (const Raised& raised : host().raised) ADD_FAILURE() << where << " raised " << raised.className;
        host().raised.clear();
        std::vector<std::string> calls = PlatformCalls();
        bool last = !calls.empty() && calls.back() == call && simwia::CallCount(call.c_str()) == 1;
        if (last && hasLasterror && kKeepsNoCode.count(className_ + " " + member.name) == 0) {
            EXPECT_EQ(host().GetInt(self, "Lasterror"), static_cast<int64_t>(static_cast<int32_t>(kFault))) << where;
            if (kResultAfterFailure.count(className_ + " " + member.name) == 0) {
                EXPECT_TRUE(empty) << where << " returned a result";
            }
        }
        host().Unlock(self);
        Counts after = Snapshot(host());
        EXPECT_TRUE(before == after) << where << " kept: before " << Describe(before) << "; after " << Describe(after);
    }
};

// One test per registered class and sweep, named after the class.
void AddSweeps() {
    std::vector<std::string> names;
    {
        SimHost host;
        host.Load();
        for (const ClassView& cls : host.Classes()) names.push_back(cls.name);
    }
    for (const std::string& name : names) {
        ::testing::RegisterTest("Declarations", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                                [name]() -> ::testing::Test* { return new DeclarationSweep(name); });
        ::testing::RegisterTest("Faults", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                                [name]() -> ::testing::Test* { return new FaultSweep(name); });
    }
}

const bool kAdded = (sweep::RunTimeSuites().push_back(AddSweeps), true);

}  // namespace
}  // namespace simhost
