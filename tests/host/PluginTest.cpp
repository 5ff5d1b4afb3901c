#include "tests/host/PluginTest.h"

#include "tests/platform/SimPlatform.h"

namespace simhost {

void PluginTest::SetUp() {
    simwia::Install();
    simwia::ResetAll();
    log_ = std::make_unique<LogCapture>();
    host_ = std::make_unique<SimHost>(HostOptions());
    host_->Load();
}

void PluginTest::TearDown() {
    std::string objects;
    for (const std::string& name : host_->LiveObjectClasses()) objects += " " + name;
    std::string strings;
    for (const std::string& text : host_->LiveStringTexts()) strings += " \"" + text + "\"";
    EXPECT_EQ(host_->LiveObjects(), 0) << "live host objects:" << objects;
    EXPECT_EQ(host_->LiveStrings(), 0) << "live host strings:" << strings;
    host_.reset();
    log_.reset();
    EXPECT_EQ(simwia::LiveObjects(), 0) << "simulated WIA objects left alive";
    EXPECT_EQ(simwia::OutstandingReferences(), 0) << "COM references not given back";
    simwia::ResetAll();
}

void PluginTest::EnableLogging() {
    host_->SetSharedBool("WIADeviceManager2ZVK", "Debugging", true);
    log_->Clear();
}

}  // namespace simhost
