// The fixture every black-box suite uses: a fresh simulated host with a freshly loaded plug-in whose frees of
// platform memory (and the test program's own) the simulated platform checks, and a leak check at the end (every
// host object and string the test or the plug-in made is given back, and all the platform handed out).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/host/LogCapture.h"
#include "tests/host/PlatformHooks.h"
#include "tests/host/SimHost.h"

namespace simhost {

// The leak checks every test ends with: the host's live objects and strings, and the simulated
// platform's live objects and outstanding COM references, all back at zero; nothing the platform handed out left
// unfreed and none of its rules broken (simwia::Leftovers).
void ExpectHostCountsAtZero(const SimHost& host);
void ExpectComReferencesGivenBack();

// What a call can leave alive: host objects and strings, simulated COM objects and outstanding references, and the
// platform's leftovers (blocks not freed, rules broken).
struct Alive {
    int64_t objects, strings, comObjects, comReferences;
    std::vector<std::string> leftovers;
    bool operator==(const Alive& other) const;
};
Alive AliveNow(const SimHost& host);
std::ostream& operator<<(std::ostream& out, const Alive& alive);

class PluginTest : public ::testing::Test {
public:
    // The call in progress, as a test describes it; a crash prints it, so that it names its member and arguments.
    static std::string& CurrentCall();

protected:
    // Suites override this to start with another host version or with entries withheld.
    virtual Options HostOptions() { return {}; }
    // Suites that run against the system's own WIA service (not the simulated devices) answer false.
    virtual bool SimulatedPlatform() { return true; }

    void SetUp() override;
    void TearDown() override;

    SimHost& host() { return *host_; }
    LogCapture& log() { return *log_; }

    // Turns the plug-in's diagnostics log on (and forgets the enabling line).
    void EnableLogging();

private:
    void* crashHandler_ = nullptr;
    std::unique_ptr<SimHost> host_;
    std::unique_ptr<LogCapture> log_;
    std::unique_ptr<PlatformHooks> hooks_;
    std::unique_ptr<SimulatedClasses> classes_;
};

// Owns one host reference for the length of a test scope.
class ObjectRef {
public:
    ObjectRef(SimHost& host, REALobject object) : host_(host), object_(object) {}
    ~ObjectRef() { host_.Unlock(object_); }
    ObjectRef(const ObjectRef&) = delete;
    ObjectRef& operator=(const ObjectRef&) = delete;
    REALobject get() const { return object_; }
    operator REALobject() const { return object_; }

private:
    SimHost& host_;
    REALobject object_;
};

class StringRef {
public:
    StringRef(SimHost& host, REALstring text) : host_(host), text_(text) {}
    ~StringRef() { host_.UnlockString(text_); }
    StringRef(const StringRef&) = delete;
    StringRef& operator=(const StringRef&) = delete;
    REALstring get() const { return text_; }
    operator REALstring() const { return text_; }

private:
    SimHost& host_;
    REALstring text_;
};

}  // namespace simhost
