#include "support/Errors.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include "plugin/HostApi.h"
#include "support/Holders.h"
#include "support/HostString.h"
#include "support/Log.h"

namespace zvk {

namespace {

constexpr const char* kRuntimeException = "RuntimeException";
constexpr const char* kOutOfBoundsException = "OutOfBoundsException";

struct CppExceptionRow {
    bool (*matches)(const std::exception&);
    const char* baseText;
    const char* hostClass;
};

template <typename T>
bool Is(const std::exception& error) {
    return dynamic_cast<const T*>(&error) != nullptr;
}

// Tested in this order; the first match decides.
const CppExceptionRow kCppExceptions[] = {
    {Is<std::bad_alloc>, "Failed to allocate memory", "OutOfMemoryException"},
    {Is<std::range_error>, "C++ reports range error", kOutOfBoundsException},
    {Is<std::out_of_range>, "C++ reports range error", kOutOfBoundsException},
    {Is<std::overflow_error>, "C++ reports overflow error", kOutOfBoundsException},
    {Is<std::underflow_error>, "C++ reports underflow error", kOutOfBoundsException},
    {Is<std::bad_cast>, "C++ Illegal Cast Exception", "IllegalCastException"},
    {[](const std::exception&) { return true; }, "C++ Exception", kRuntimeException},
};

}  // namespace

void RaiseException(const char* className, const char* message) {
    if (className == nullptr) className = kRuntimeException;
    unique_host_string text(CString2RB(message, encoding::kUTF8));
    unique_host_object exception(host::NewInstance(className));
    if (exception.get() == nullptr) exception.reset(host::NewInstance(kRuntimeException));
    if (exception.get() == nullptr) return;
    host::SetPropValueString(exception.get(), "Message", text.get());
    host::SetPropValueInteger(exception.get(), "ErrorNumber", 0);
    host::RaiseException(exception.get());
}

void RaiseOutOfBounds(const char* message) {
    RaiseException(kOutOfBoundsException, message);
}

void RaiseNil(const char* argument, const char* message) {
    if (DebugLoggingEnabled) DebugLogText(argument, "is nil");
    RaiseException("NilObjectException", message);
}

void RaiseParameterRange(int64_t value, int64_t minimum, int64_t limit, const char* parameterName, const char* methodName) {
    if (methodName == nullptr) methodName = "";
    if (parameterName == nullptr) parameterName = "?";
    const size_t size = std::strlen(parameterName) + std::strlen(methodName) + 200;
    unique_hglobal buffer(size);
    if (buffer.get() == nullptr) {
        RaiseOutOfBounds("Out of Bounds");
        return;
    }
    std::snprintf(buffer.as<char>(), size, "The parameter %s %s%s is too %s. Range is %lld to %lld, but value is %lld.",
                  parameterName, methodName[0] != '\0' ? "to method " : "", methodName, value < minimum ? "small" : "big",
                  static_cast<long long>(minimum), static_cast<long long>(limit - 1), static_cast<long long>(value));
    RaiseOutOfBounds(buffer.as<char>());
}

void TranslateCppException(const std::exception& error) {
    const char* description = error.what();
    if (description == nullptr) description = "";
    for (const CppExceptionRow& row : kCppExceptions) {
        if (!row.matches(error)) continue;
        const char* message = row.baseText;
        std::string composed;
        try {
            composed = std::string(row.baseText) + (description[0] != '\0' ? ": " + std::string(description) : ".");
            message = composed.c_str();
        } catch (const std::exception&) {
            // Too little memory for the long form: the base text alone still tells what happened.
        }
        RaiseException(row.hostClass, message);
        return;
    }
}

bool CallGuarded(void (*function)(void*), void* argument) {
    unique_host_object exception(host::CallFunctionWithExceptionHandler(function, argument));
    if (DebugLoggingEnabled) DebugLogPointer("exception", exception.get());
    return exception.get() == nullptr;
}

}  // namespace zvk
