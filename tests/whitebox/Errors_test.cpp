// Host exceptions: classes, messages, fallbacks, standard exceptions, and guarded host calls.
#include <any>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include "support/Errors.h"
#include "tests/host/BootedHost.h"
#include "tests/host/ImportHook.h"

namespace zvk {
namespace {

class Exceptions : public BootedHostTest {};

TEST_F(Exceptions, RangeMessagesNameParameterMethodAndBounds) {
    struct Row {
        int64_t value, minimum, limit;
        const char *parameter, *method, *message;
    };
    const Row rows[] = {
        {20, 0, 16, "index", "Byte", "The parameter index to method Byte is too big. Range is 0 to 15, but value is 20."},
        {16, 0, 16, "index", "Byte", "The parameter index to method Byte is too big. Range is 0 to 15, but value is 16."},
        {-1, 0, 16, "index", "Byte", "The parameter index to method Byte is too small. Range is 0 to 15, but value is -1."},
        {5, 10, 20, "count", nullptr, "The parameter count  is too small. Range is 10 to 19, but value is 5."},
        {5, 10, 20, nullptr, "", "The parameter ?  is too small. Range is 10 to 19, but value is 5."},
        {INT64_MIN, -3, 0, "n", "M",
         "The parameter n to method M is too small. Range is -3 to -1, but value is -9223372036854775808."},
    };
    for (const Row& row : rows) {
        RaiseParameterRange(row.value, row.minimum, row.limit, row.parameter, row.method);
        EXPECT_EQ(TakeRaised(), std::string("OutOfBoundsException: ") + row.message) << "value " << row.value;
    }
    simhost::GlobalAllocHook alloc(GetModuleHandleA(nullptr), [](size_t bytes, int) { return bytes == 5 + 4 + 200; });
    RaiseParameterRange(20, 0, 16, "index", "Byte");
    EXPECT_EQ(TakeRaised(), "OutOfBoundsException: Out of Bounds");
}

struct QuietRangeError : std::range_error {
    QuietRangeError() : std::range_error("") {}
};

TEST_F(Exceptions, StandardExceptionsMapToHostClassesInTableOrder) {
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[] { throw std::bad_alloc(); }, "OutOfMemoryException: Failed to allocate memory: std::bad_alloc"},
        {[] { throw std::bad_array_new_length(); }, "OutOfMemoryException: Failed to allocate memory: std::bad_array_new_length"},
        {[] { throw std::range_error("r"); }, "OutOfBoundsException: C++ reports range error: r"},
        {[] { throw QuietRangeError(); }, "OutOfBoundsException: C++ reports range error."},
        {[] { throw std::out_of_range("at"); }, "OutOfBoundsException: C++ reports range error: at"},
        {[] { throw std::overflow_error("o"); }, "OutOfBoundsException: C++ reports overflow error: o"},
        {[] { throw std::underflow_error(""); }, "OutOfBoundsException: C++ reports underflow error."},
        {[] { throw std::bad_cast(); }, "IllegalCastException: C++ Illegal Cast Exception: std::bad_cast"},
        {[] { (void)std::any_cast<int>(std::any()); }, "IllegalCastException: C++ Illegal Cast Exception: bad any_cast"},
        {[] { throw std::length_error("too long"); }, "RuntimeException: C++ Exception: too long"},
        {[] { throw std::logic_error(""); }, "RuntimeException: C++ Exception."},
    };
    for (const auto& row : rows) {
        try {
            row.first();
        } catch (const std::exception& error) {
            TranslateCppException(error);
        }
        EXPECT_EQ(TakeRaised(), row.second);
    }
    Withhold("OutOfMemoryException");
    TranslateCppException(std::bad_alloc());
    EXPECT_EQ(TakeRaised(), "RuntimeException: Failed to allocate memory: std::bad_alloc");
}

}  // namespace
}  // namespace zvk
