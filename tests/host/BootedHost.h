// White-box fixture: the library linked into the test program and booted with a fresh simulated host
// (options chosen per suite), the log captured, and the black-box leak check at the end.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "plugin/HostApi.h"
#include "plugin/HostTypes.h"
#include "plugin/Registration.h"
#include "support/Log.h"
#include "support/Text.h"
#include "support/Variant.h"
#include "tests/host/LogCapture.h"
#include "tests/host/PluginTest.h"
#include "tests/host/SimHost.h"

namespace zvk {

// The simulated host's handles are the library's opaque handles.
inline simhost::REALstring S(REALstring text) {
    return reinterpret_cast<simhost::REALstring>(text);
}

class BootedHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        DebugLoggingEnabled = false;
        log_ = std::make_unique<simhost::LogCapture>();
        host::ResetEntryCache();
        ForgetStringLengthMethod();
        ForgetVariantLookups();
        host_ = std::make_unique<simhost::SimHost>();
        host_->Boot(&REALPluginMain);
    }

    void TearDown() override {
        simhost::ExpectHostCountsAtZero(*host_);
        DebugLoggingEnabled = false;
        host_.reset();
        host::ResetEntryCache();
        ForgetStringLengthMethod();
        ForgetVariantLookups();
        log_.reset();
        simhost::ExpectComReferencesGivenBack();
    }

    simhost::SimHost& sim() { return *host_; }
    simhost::LogCapture& log() { return *log_; }

    // Logging on through the shared property's setter, with the enabling line forgotten.
    void EnableLogging() {
        DebuggingSetter(1);
        log_->Clear();
    }
    // Withholds host entries (or global methods, or classes) from now on.
    void Withhold(const std::string& name) {
        host_->Withhold(name);
        host::ResetEntryCache();
        ForgetStringLengthMethod();
        ForgetVariantLookups();
    }

    // The exceptions raised since the last call, as "Class: message" joined by " | "; a non-zero
    // ErrorNumber is shown.
    std::string TakeRaised() {
        std::string text;
        for (const simhost::Raised& raised : host_->raised) {
            text += (text.empty() ? "" : " | ") + raised.className + ": " + raised.message;
            if (raised.errorNumber != 0) text += " (ErrorNumber " + std::to_string(raised.errorNumber) + ")";
        }
        host_->raised.clear();
        return text;
    }

private:
    std::unique_ptr<simhost::LogCapture> log_;
    std::unique_ptr<simhost::SimHost> host_;
};

}  // namespace zvk
