// Three sweeps over every class the plug-in registers, one test (and so one process) per class, driven by the
// class records the simulated host captured rather than by a list of our own:
//
// Declarations: every method, setter, getter and shared member is called on each made instance (tests/host/Sweep.h)
// and on one a script made itself, with each argument in turn at the worst values of its type (tests/host/Arguments.h)
// while the others stay ordinary; once quiet, once logging, once more with a host that makes no objects. Nothing may
// crash, raise anything but the exceptions listed below (each must be raised for its own nil, empty or out-of-range
// argument), call the platform after raising or without an object argument it needs, read a window on an object
// without a Handle, keep a host object, string or COM reference, or leave Lasterror other than -1 where no platform
// call was made. A record the platform hands out holds the platform's value in every registered field.
//
// Faults: every method is dry-run on each made instance with ordinary arguments to learn which platform calls it
// reaches; each is then failed once. When the failed call was the method's last, its code must be in Lasterror and
// the result must be empty; nothing may leak either way.
//
// Reentry (classes with events): a script calls back in from inside each event (below).
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "tests/host/Sweep.h"
#include "tests/host/Arguments.h"
#include "tests/host/Callables.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimFolderItems.h"
#include "tests/host/SimHostVariants.h"
#include "tests/host/SimScript.h"
#include "tests/host/SimStreamScript.h"
#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

// The exceptions the rules name: the member raises this one (its message begins with the text) when the parameter is
// nil or empty, or, for a range, outside it (0 is inside); no other exception is allowed.
struct Allowed {
    const char *cls, *member, *param, *exception, *message;
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
    for (const Allowed& a : kAllowed)
        if (cls == a.cls && member == a.member && raised.className == a.exception && raised.message.rfind(a.message, 0) == 0 &&
            raised.errorNumber == 0)
            return true;
    return false;
}

bool MustRaise(const std::string& cls, const std::string& member, const Param& param, const Value& value) {
    for (const Allowed& a : kAllowed) {
        if (cls != a.cls || member != a.member || param.name != a.param) continue;
        if (std::string(a.exception) == "OutOfBoundsException" ? value.label != "0"
                                                               : value.label == "nil" || value.label == "\"\"")
            return true;
    }
    return false;
}

// The object parameters a member hands the platform as null when nil: the WIA 1.0 transfers' (the platform answers
// for them), and those whose declaration defaults to nil. Every other nil object, and a callback whose Handle a script
// changed, stops the member before any platform call.
const std::set<std::string> kNilPassedOn = {
    "WIADataTransferZVK GetDataPath DataCallback", "WIADataTransferZVK GetDataFile DataCallback",
    "WIADataTransferZVK GetBandedData DataTransInfo", "WIADataTransferZVK GetBandedData DataCallback"};

bool StopsBeforeThePlatform(SimHost& host, const std::string& cls, const std::string& member, const Param& param,
                            const Value& value) {
    if (value.label != "nil" && value.label != kHandleChanged) return false;
    if (param.type != CType::Object || param.byRef || param.hasDefault || host.FindClass(param.typeName) == nullptr) return false;
    return kNilPassedOn.count(cls + " " + member + " " + param.name) == 0;
}

// Classes whose window forms read the window and continue in the integer form, which then tests Handle; the others
// (the video preview) read a window only once the platform call is going to be made.
const std::set<std::string> kWindowFirst = {"WIADeviceManager1ZVK", "WIADeviceManager2ZVK", "WIAItemZVK"};

bool HasProperty(const ClassView& cls, const char* name) {
    for (const PropertyView& p : cls.properties)
        if (p.name == name && p.bound()) return true;
    return false;
}

constexpr HRESULT kFault = static_cast<HRESULT>(0x80070015);  // the device is not ready

class Sweep : public PluginTest {
public:
    explicit Sweep(std::string className) : className_(std::move(className)) {}

protected:
    const ClassView& Class() { return host().Class(className_); }

    // The platform back in its first state, with dialogs that write no files.
    void Fresh() {
        simwia::ResetAll();
        simwia::SetDialogAnswer(nullptr, S_OK, 0);
        simwia::SetItemDialogAnswer(S_OK, {true}, 0);
    }

    // Calls a member with the given values, after making them, forgetting the platform calls made so far and running
    // `armed`; the result and the arguments are given back. Tells whether the result was empty: void, nil, false, 0,
    // or a text or array without elements. `owner` names the member's class when it is not the swept one.
    bool Call(REALobject self, const Callable& member, const std::vector<Value>& values, const std::function<void()>& armed = {},
              const std::string& owner = "") {
        CallArguments arena(host());
        std::vector<Word> args;
        if (!member.shared) args.push_back(reinterpret_cast<Word>(self));
        args.insert(args.end(), member.leading.begin(), member.leading.end());
        CurrentCall() = (owner.empty() ? className_ : owner) + " " + member.description;
        for (const Value& value : values) {
            args.push_back(value.make(arena));
            CurrentCall() += " [" + value.label + "]";
        }
        simwia::ResetCounts();
        if (armed) armed();
        Word result = InvokeWords(member.function, args);
        bool empty = member.result == CType::Void || (member.result == CType::Bool ? (result & 0xFF) == 0 : result == 0);
        if (member.result == CType::String) {
            empty = empty || host().Bytes(reinterpret_cast<REALstring>(result)).empty();
            host().UnlockString(reinterpret_cast<REALstring>(result));
        }
        if (member.result == CType::Array)
            empty = empty || ReadArray(host(), reinterpret_cast<REALarray>(result)).elements.empty();
        if (member.result == CType::Object || member.result == CType::Array) host().Unlock(reinterpret_cast<REALobject>(result));
        return empty;
    }

    std::string className_;
};

class DeclarationSweep : public Sweep {
public:
    using Sweep::Sweep;

    void TestBody() override {
        std::vector<Callable> members = CallablesOf(Class());
        std::vector<sweep::NamedMaker> kinds = sweep::Makers()[className_];
        const bool needsInstance = std::any_of(members.begin(), members.end(), [](const Callable& m) { return !m.shared; });
        if (needsInstance && kinds.empty())
            ADD_FAILURE() << className_ << " has instance members but no maker (tests/host/Sweep.h)";
        for (const sweep::NamedMaker& kind : kinds) ExpectPlatformRecord(kind);
        kinds.push_back({"script-made", nullptr});
        for (int pass : {0, 1, 2}) {  // quiet, logging, and ordinary values on a host that then makes no objects
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

    // A record the platform handed out: every registered field holds the platform's value of it.
    void ExpectPlatformRecord(const sweep::NamedMaker& kind) {
        std::map<std::string, std::string> expected = simwia::RecordFields(className_);
        if (expected.empty()) return;
        REALobject record = kind.make(host());
        for (const PropertyView& field : Class().properties) {
            const bool text = _stricmp(field.type.c_str(), "string") == 0;
            std::string value;
            if (host().FindClass(field.type) != nullptr) {  // a GUID object, by its text
                auto object = *reinterpret_cast<REALobject*>(host().Data(record) + field.param);
                value = host().Bytes(StringRef(host(), host().Call<REALstring>(object, "DisplayString"))).substr(0, 38);
            } else {
                value =
                    text ? host().Bytes(host().GetString(record, field.name)) : std::to_string(host().GetInt(record, field.name));
            }
            EXPECT_EQ(value, expected[field.name]) << className_ << "." << field.name;
            expected.erase(field.name);
        }
        EXPECT_TRUE(expected.empty()) << className_ << ": the platform's fields are not all registered";
        host().Unlock(record);
    }

    void Run(const sweep::NamedMaker& kind, const Callable& member, const std::vector<Value>& values) {
        const ClassView& cls = Class();
        const bool scriptMade = kind.label == "script-made";
        Fresh();
        const Alive before = AliveNow(host());
        REALobject self = member.shared ? nullptr : scriptMade ? host().New(className_) : kind.make(host());
        if (self == nullptr && !member.shared) {
            ADD_FAILURE() << className_ << ": the " << kind.label << " maker made nothing";
            return;
        }
        const bool hasLasterror = self != nullptr && HasProperty(cls, "Lasterror");
        const int64_t handle = self != nullptr && HasProperty(cls, "Handle") ? host().GetInt(self, "Handle") : -1;
        const bool simulated = handle > 0 && simwia::RefCount(reinterpret_cast<IUnknown*>(handle)) != 0;
        if (hasLasterror) host().SetInt(self, "Lasterror", 12345);
        host().raised.clear();
        int windowReads = 0;  // an object without a Handle stops before it reads a window's
        host().onIntegerRead = [&](REALobject object, const std::string& name) {
            windowReads += object != self && name == "Handle";
        };
        const bool empty = Call(self, member, values, [this] {
            if (refuse_) host().refuseInstance = [](const std::string&) { return true; };
        });
        host().refuseInstance = nullptr;
        host().onIntegerRead = nullptr;
        const std::string where = "(" + kind.label + (refuse_ ? ", host makes no objects) " : ") ") + CurrentCall();
        EXPECT_TRUE(!refuse_ || host().FindClass(member.resultName) == nullptr || empty) << where << " returned an object";
        bool worst = false;
        for (const Value& v : values) worst = worst || v.worst;
        for (const Raised& raised : host().raised)
            EXPECT_TRUE(worst && IsAllowed(className_, member.name, raised))
                << where << " raised " << raised.className << " \"" << raised.message << "\"";
        for (size_t i = 0; i < values.size(); ++i)
            EXPECT_TRUE(!values[i].worst || !MustRaise(className_, member.name, member.params[i], values[i]) ||
                        !host().raised.empty())
                << where << " raised nothing";
        // A method that raised stops there: no platform call, and Lasterror as it was.
        const bool called = !simwia::CallSequence().empty();
        EXPECT_TRUE(host().raised.empty() || !called) << where << " called the platform after raising";
        for (size_t i = 0; i < values.size(); ++i) {
            if (!StopsBeforeThePlatform(host(), className_, member.name, member.params[i], values[i])) continue;
            EXPECT_FALSE(called) << where << " called the platform without its object";
            EXPECT_TRUE(!hasLasterror || host().GetInt(self, "Lasterror") == -1) << where << " left Lasterror set";
        }
        if (hasLasterror && member.name != "Constructor" && host().raised.empty()) {
            const int64_t lasterror = host().GetInt(self, "Lasterror");
            EXPECT_TRUE(!scriptMade || handle != 0 || lasterror == -1)
                << where << " on an object whose Handle is 0: " << lasterror;
            EXPECT_TRUE(!scriptMade || handle != 0 || windowReads == 0 || kWindowFirst.count(className_) != 0)
                << where << " read a window without a Handle of its own";
            EXPECT_TRUE(!simulated || called || lasterror == -1) << where << " made no platform call: " << lasterror;
        }
        host().raised.clear();
        host().Unlock(self);
        log().Clear();
        EXPECT_EQ(AliveNow(host()), before) << where << " kept something";
    }
};

// Members whose Lasterror the rules leave at -1 whatever their platform calls answer, and members that return
// something after a failure: a failed file transfer still hands its (empty) path to the host's folder-item lookup.
const std::set<std::string> kKeepsNoCode = {"WIAItemZVK PropertyStorage"};
const std::set<std::string> kResultAfterFailure = {"WIADataTransferZVK GetDataFile"};

class FaultSweep : public Sweep {
public:
    using Sweep::Sweep;

    void TestBody() override {
        std::set<std::string> failed, names;
        for (const sweep::NamedMaker& kind : sweep::Makers()[className_]) {
            for (const Callable& member : CallablesOf(Class())) {
                if (member.shared) continue;
                std::vector<Value> ordinary;
                for (const Param& p : member.params) ordinary.push_back(Ordinary(host(), p));
                Fresh();
                REALobject self = kind.make(host());
                ASSERT_NE(self, nullptr) << className_ << ": the " << kind.label << " maker made nothing";
                Call(self, member, ordinary);
                host().Unlock(self);
                for (const std::string& call : simwia::CallSequence())
                    if (failed.insert(kind.label + " " + member.description + " " + call).second)
                        Fail(kind, member, ordinary, call);
            }
        }
        std::string list;
        for (const std::string& call : failed) names.insert(call.substr(call.rfind(' ') + 1));
        for (const std::string& name : names) list += "\n  " + name;
        std::printf("%s: %zu platform calls failed once each:%s\n", className_.c_str(), names.size(), list.c_str());
    }

private:
    void Fail(const sweep::NamedMaker& kind, const Callable& member, const std::vector<Value>& values, const std::string& call) {
        Fresh();
        const Alive before = AliveNow(host());
        REALobject self = kind.make(host());
        host().raised.clear();
        const bool empty = Call(self, member, values, [&call] { simwia::FailNext(call.c_str(), kFault); });
        const std::string where = "(" + kind.label + ") " + CurrentCall() + " with " + call + " failing";
        for (const Raised& raised : host().raised) ADD_FAILURE() << where << " raised " << raised.className;
        host().raised.clear();
        const std::vector<std::string> calls = simwia::CallSequence();
        const bool last = !calls.empty() && calls.back() == call && simwia::CallCount(call.c_str()) == 1;
        if (last && HasProperty(Class(), "Lasterror") && kKeepsNoCode.count(className_ + " " + member.name) == 0) {
            EXPECT_EQ(host().GetInt(self, "Lasterror"), static_cast<int64_t>(static_cast<int32_t>(kFault))) << where;
            EXPECT_TRUE(empty || kResultAfterFailure.count(className_ + " " + member.name) != 0) << where << " returned a result";
        }
        host().Unlock(self);
        EXPECT_EQ(AliveNow(host()), before) << where << " kept something";
    }
};

// Reentry: each journey of a callback class runs once per event of the class, object in play and member of that
// object's class; the first time the event is raised, its handler calls the member with ordinary values (Constructor
// again, Handle changed, Cancel, a nested transfer ...), or the script drops its own reference to the object (the
// caller's frame still holds it). Nothing may raise, crash, touch what was released, or keep anything.
class ReentrySweep : public Sweep {
public:
    using Sweep::Sweep;

    void TestBody() override {
        for (const Journey& journey : Journeys()) {
            if (className_ != journey.callbackClass) continue;
            for (const std::string& event : Class().events)
                for (size_t role = 0; role < journey.roles.size(); ++role) {
                    std::vector<std::optional<Callable>> acts{std::nullopt};  // nullopt: the reference dropped
                    for (const Callable& member : CallablesOf(host().Class(journey.roles[role])))
                        if (!member.shared) acts.push_back(member);
                    for (const std::optional<Callable>& act : acts) Run(journey, event, role, act);
                }
        }
    }

private:
    void Run(const Journey& journey, const std::string& event, size_t role, const std::optional<Callable>& act) {
        Fresh();
        ResetScript();
        simwia::AllowScriptReleases(true);
        const Alive before = AliveNow(host());
        std::vector<REALobject> objects = journey.make(host());
        std::vector<bool> held(objects.size(), true);
        std::string where = className_ + " " + event.substr(0, event.find('(')) + ": " + journey.roles[role] + " ";
        where += act ? act->description : "dropped";
        bool fired = false;
        DuringEvent() = [&](const std::string& raised) {
            if (fired || raised != event) return;
            fired = true;
            if (!act) {
                host().Unlock(objects[role]);
                held[role] = false;
                return;
            }
            std::vector<Value> values;
            for (const Param& p : act->params) values.push_back(Ordinary(host(), p));
            Call(objects[role], *act, values, {}, journey.roles[role]);
        };
        for (REALobject object : objects) host().Lock(object);  // the caller's frame
        journey.run(host(), objects);
        for (REALobject object : objects) host().Unlock(object);
        DuringEvent() = nullptr;
        for (size_t i = 0; i < objects.size(); ++i)
            if (held[i]) host().Unlock(objects[i]);
        for (const Raised& raised : host().raised) ADD_FAILURE() << where << " raised " << raised.className;
        host().raised.clear();
        EXPECT_EQ(AliveNow(host()), before) << where << " kept something";
    }
};

// How a script comes by an instance of each device-access class: open a manager, a device, walk to an item, ask it
// for what it offers. (The other classes' suites register theirs next to their tests.)
constexpr const char* kWia1 = "WIADeviceManager1ZVK";
constexpr const char* kWia2 = "WIADeviceManager2ZVK";

// clang-format off
const sweep::Registration kMakers[] = {
    {kWia1, [](SimHost& host) { return NewConstructed(host, kWia1); }},
    {kWia2, [](SimHost& host) { return NewConstructed(host, kWia2); }},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia1, simwia::kScannerFlatbed); }, "WIA 1.0 flatbed"},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia1, simwia::kCameraRoot); }, "WIA 1.0 camera"},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed); }, "WIA 2.0 flatbed"},
    {"WIAItemZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot); }, "WIA 2.0 scanner"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia1, simwia::kCameraRoot, {"EnumerateChildItems"}); }, "WIA 1.0"},
    {"WIAItemEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot, {"EnumerateChildItems"}); }, "WIA 2.0"},
    {"WIATransferZVK", [](SimHost& host) { return OpenTransfer(host, simwia::kScannerFlatbed); }},
    {"WIAPropertyStorageZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage"}); }},
    {"WIAPropertyEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage", "Enumerate"}); }},
    {"WIAPropertyZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerFlatbed, {"PropertyStorage", "Enumerate", "NextItem"}); }},
    {"WIADeviceInfoEnumeratorZVK", [](SimHost& host) { return Then(host, NewConstructed(host, kWia2), {"EnumDeviceInfo"}); }},
    {"WIADeviceCapabilitiesEnumeratorZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot, {"EnumerateDeviceCapabilities"}); }},
    {"WIADeviceCapabilitiesZVK", [](SimHost& host) { return OpenItem(host, kWia2, simwia::kScannerRoot, {"EnumerateDeviceCapabilities", "NextItem"}); }},
    {"WIAFormatInfoEnumeratorZVK", [](SimHost& host) { return Then(host, OpenDataTransfer(host, simwia::kScannerFlatbed), {"EnumerateFormatInfo"}); }},
    {"WIAFormatInfoZVK", [](SimHost& host) { return Then(host, OpenDataTransfer(host, simwia::kScannerFlatbed), {"EnumerateFormatInfo", "NextItem"}); }},
    {"WIATransferParamsZVK", [](SimHost& host) { return host.New("WIATransferParamsZVK"); }},
    {"WIAGUIDZVK", [](SimHost& host) { return host.CallShared<REALobject>("WIAItemZVK", "kCommandTakePicture"); }},
};
// clang-format on

// One test per registered class and sweep, named after the class.
void AddSweeps() {
    std::vector<std::string> names, withEvents;
    {
        SimHost host;
        host.Load();
        for (const ClassView& cls : host.Classes()) {
            names.push_back(cls.name);
            if (!cls.events.empty()) withEvents.push_back(cls.name);
        }
    }
    for (const std::string& name : withEvents)
        ::testing::RegisterTest("Reentry", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                                [name]() -> ::testing::Test* { return new ReentrySweep(name); });
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
