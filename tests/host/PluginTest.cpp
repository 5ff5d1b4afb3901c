#include "tests/host/PluginTest.h"

#include <windows.h>

#include <cstdio>

#include "tests/platform/SimPlatform.h"

namespace simhost {
namespace {

LONG CALLBACK ReportCrash(EXCEPTION_POINTERS* info) {
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_STACK_OVERFLOW || code == EXCEPTION_ILLEGAL_INSTRUCTION) {
        std::fprintf(stderr, "crash 0x%08lX in: %s\n", code, PluginTest::CurrentCall().c_str());
        std::fflush(stderr);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

std::string& PluginTest::CurrentCall() {
    static std::string call;
    return call;
}

void PluginTest::SetUp() {
    CurrentCall() = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    crashHandler_ = AddVectoredExceptionHandler(1, ReportCrash);
    if (SimulatedPlatform()) {
        simwia::Install();
    } else {
        simwia::Uninstall();
    }
    simwia::ResetAll();
    log_ = std::make_unique<LogCapture>();
    host_ = std::make_unique<SimHost>(HostOptions());
    host_->Load();
    hooks_ = std::make_unique<PlatformHooks>(std::vector<HMODULE>{host_->Module(), GetModuleHandleW(nullptr)});
    classes_ = std::make_unique<SimulatedClasses>(std::vector<HMODULE>{host_->Module(), GetModuleHandleW(nullptr)});
}

void ExpectHostCountsAtZero(const SimHost& host) {
    std::string objects;
    for (const std::string& name : host.LiveObjectClasses()) objects += " " + name;
    std::string strings;
    for (const std::string& text : host.LiveStringTexts()) strings += " \"" + text + "\"";
    EXPECT_EQ(host.LiveObjects(), 0) << "live host objects:" << objects;
    EXPECT_EQ(host.LiveStrings(), 0) << "live host strings:" << strings;
}

void ExpectComReferencesGivenBack() {
    std::string objects;
    for (const std::string& name : simwia::LiveObjectNames()) objects += ", " + name;
    EXPECT_EQ(simwia::LiveObjects(), 0) << "simulated WIA objects left alive (interface, count)" << objects;
    EXPECT_EQ(simwia::OutstandingReferences(), 0) << "COM references not given back";
    for (const std::string& leftover : simwia::Leftovers()) ADD_FAILURE() << "simulated WIA platform: " << leftover;
}

bool Alive::operator==(const Alive& other) const {
    return objects == other.objects && strings == other.strings && comObjects == other.comObjects &&
           comReferences == other.comReferences && leftovers == other.leftovers;
}

Alive AliveNow(const SimHost& host) {
    return {host.LiveObjects(), host.LiveStrings(), simwia::LiveObjects(), simwia::OutstandingReferences(), simwia::Leftovers()};
}

std::ostream& operator<<(std::ostream& out, const Alive& alive) {
    out << alive.objects << " objects, " << alive.strings << " strings, " << alive.comObjects << " COM objects, "
        << alive.comReferences << " COM references";
    for (const std::string& leftover : alive.leftovers) out << "; " << leftover;
    return out;
}

void PluginTest::TearDown() {
    RemoveVectoredExceptionHandler(crashHandler_);
    ExpectHostCountsAtZero(*host_);
    classes_.reset();
    hooks_.reset();  // before the plug-in's import table goes
    host_.reset();
    log_.reset();
    ExpectComReferencesGivenBack();
    simwia::ForgetLeftovers();
    simwia::ResetAll();
}

void PluginTest::EnableLogging() {
    host_->SetSharedBool("WIADeviceManager2ZVK", "Debugging", true);
    log_->Clear();
}

}  // namespace simhost
