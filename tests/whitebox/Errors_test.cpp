// Standard-library exceptions as host exceptions: the class and message each one gets, and the fallback class.
// (The range message a script meets is checked on WIAGUIDZVK.Byte.)
#include <any>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include "support/Errors.h"
#include "tests/host/BootedHost.h"

namespace zvk {
namespace {

class Exceptions : public BootedHostTest {};

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
