// Host exceptions: classes, messages, fallbacks, standard exceptions, and guarded host calls.
#include <any>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include "support/Errors.h"
#include "tests/host/ImportHook.h"
#include "tests/whitebox/BootedHost.h"

namespace zvk {
namespace {

class Exceptions : public BootedHostTest {
protected:
    // The one exception raised since the last call, as "Class: message" (ErrorNumber must be 0).
    std::string TakeRaised() {
        std::string text;
        for (const simhost::Raised& raised : sim().raised) {
            text += (text.empty() ? "" : " | ") + raised.className + ": " + raised.message;
            if (raised.errorNumber != 0) text += " (ErrorNumber " + std::to_string(raised.errorNumber) + ")";
        }
        sim().raised.clear();
        return text;
    }
};

TEST_F(Exceptions, RaisesTheNamedClassOrFallsBackToRuntimeException) {
    RaiseException("NilObjectException", "file is nil");
    EXPECT_EQ(TakeRaised(), "NilObjectException: file is nil");
    RaiseException("NilObjectException", "\xC3\xA9t\xC3\xA9");  // messages are UTF-8
    EXPECT_EQ(TakeRaised(), "NilObjectException: \xC3\xA9t\xC3\xA9");

    sim().Withhold("OutOfBoundsException");
    RaiseOutOfBounds("index");
    EXPECT_EQ(TakeRaised(), "RuntimeException: index");

    sim().Withhold("RuntimeException");
    RaiseOutOfBounds("index");
    EXPECT_EQ(TakeRaised(), "");
    EXPECT_EQ(sim().instancesRequested["RuntimeException"], 2);
}

TEST_F(Exceptions, RangeMessageNamesParameterMethodAndBounds) {
    struct Row {
        int64_t value, minimum, limit;
        const char* parameter;
        const char* method;
        const char* message;
    };
    const Row rows[] = {
        {20, 0, 16, "index", "Byte", "The parameter index to method Byte is too big. Range is 0 to 15, but value is 20."},
        {16, 0, 16, "index", "Byte", "The parameter index to method Byte is too big. Range is 0 to 15, but value is 16."},
        {-1, 0, 16, "index", "Byte", "The parameter index to method Byte is too small. Range is 0 to 15, but value is -1."},
        {5, 10, 20, "count", nullptr, "The parameter count  is too small. Range is 10 to 19, but value is 5."},
        {5, 10, 20, nullptr, "", "The parameter ?  is too small. Range is 10 to 19, but value is 5."},
        {INT64_MIN, -3, 0, "n", "M",
         "The parameter n to method M is too small. Range is -3 to -1, but value is "
         "-9223372036854775808."},
    };
    for (const Row& row : rows) {
        RaiseParameterRange(row.value, row.minimum, row.limit, row.parameter, row.method);
        EXPECT_EQ(TakeRaised(), std::string("OutOfBoundsException: ") + row.message) << "value " << row.value;
    }
}

TEST_F(Exceptions, RangeMessageWithoutABufferIsOutOfBounds) {
    simhost::GlobalAllocHook alloc(GetModuleHandleA(nullptr), [](size_t bytes, int) { return bytes == 209; });
    RaiseParameterRange(20, 0, 16, "index", "Byte");
    EXPECT_EQ(alloc.failures(), 1);
    EXPECT_EQ(TakeRaised(), "OutOfBoundsException: Out of Bounds");
}

// what() is empty, so the message ends with a full stop.
struct Quiet : std::range_error {
    Quiet() : std::range_error("") {}
};

TEST_F(Exceptions, StandardExceptionsMapToHostClassesInTableOrder) {
    struct Row {
        std::function<void()> thrower;
        std::string raised;
    };
    const Row rows[] = {
        {[] { throw std::bad_alloc(); }, "OutOfMemoryException: Failed to allocate memory: std::bad_alloc"},
        {[] { throw std::bad_array_new_length(); }, "OutOfMemoryException: Failed to allocate memory: std::bad_array_new_length"},
        {[] { throw std::range_error("r"); }, "OutOfBoundsException: C++ reports range error: r"},
        {[] { throw Quiet(); }, "OutOfBoundsException: C++ reports range error."},
        {[] { throw std::out_of_range("at"); }, "OutOfBoundsException: C++ reports range error: at"},
        {[] { throw std::overflow_error("o"); }, "OutOfBoundsException: C++ reports overflow error: o"},
        {[] { throw std::underflow_error(""); }, "OutOfBoundsException: C++ reports underflow error."},
        {[] { throw std::bad_cast(); }, "IllegalCastException: C++ Illegal Cast Exception: std::bad_cast"},
        {[] { (void)std::any_cast<int>(std::any()); }, "IllegalCastException: C++ Illegal Cast Exception: bad any_cast"},
        {[] { throw std::length_error("too long"); }, "RuntimeException: C++ Exception: too long"},
        {[] { throw std::logic_error(""); }, "RuntimeException: C++ Exception."},
    };
    for (const Row& row : rows) {
        try {
            row.thrower();
            ADD_FAILURE() << "nothing thrown for " << row.raised;
        } catch (const std::exception& error) {
            TranslateCppException(error);
        }
        EXPECT_EQ(TakeRaised(), row.raised);
    }
    sim().Withhold("OutOfMemoryException");
    TranslateCppException(std::bad_alloc());
    EXPECT_EQ(TakeRaised(), "RuntimeException: Failed to allocate memory: std::bad_alloc");
}

void RaiseInHost(void* className) {
    auto& host = simhost::SimHost::Current();
    simhost::REALobject exception = host.New(static_cast<const char*>(className));
    reinterpret_cast<void (*)(simhost::REALobject)>(host.entries["RuntimeRaiseException"])(exception);
    host.Unlock(exception);
}

void Quietly(void* calls) {
    ++*static_cast<int*>(calls);
}

TEST_F(Exceptions, GuardedHostCallsSwallowWhatTheHostRaises) {
    EnableLogging();
    EXPECT_FALSE(CallGuarded(RaiseInHost, const_cast<char*>("NilObjectException")));
    EXPECT_EQ(TakeRaised(), "") << "the exception reached the script";
    ASSERT_EQ(log().Lines().size(), 1u) << log().Dump();
    EXPECT_EQ(log().Lines()[0].rfind("ZVK Debug: exception ", 0), 0u) << log().Dump();

    int calls = 0;
    EXPECT_TRUE(CallGuarded(Quietly, &calls));
    sim().Withhold("PluginCallFunctionWithExceptionHandler");
    host::ResetEntryCache();
    EXPECT_TRUE(CallGuarded(Quietly, &calls));
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace zvk
