// Host exceptions for a script's misuse: nil arguments, indexes out of range, and C++ failures while
// building host strings. Failed system calls never come here: they go to Lasterror.
#pragma once

#include <cstdint>
#include <exception>

namespace zvk {

// Raises an exception of the named host class (falling back to "RuntimeException") with the message.
void RaiseException(const char* className, const char* message);
void RaiseOutOfBounds(const char* message);
// Raises "NilObjectException" with the message, after logging the argument's name with "is nil" (when logging is on).
void RaiseNil(const char* argument, const char* message);
// Valid values run from minimum up to, not including, limit. Either name may be null.
void RaiseParameterRange(int64_t value, int64_t minimum, int64_t limit, const char* parameterName, const char* methodName);
// Raises the host exception that matches a caught standard exception.
void TranslateCppException(const std::exception& error);

// Runs a host-side function that may raise a host exception (through "PluginCallFunctionWithExceptionHandler",
// or directly when the host lacks it). What comes back, an exception or nil, is logged as "exception"; an
// exception is dropped so that it never reaches the script. Returns false when one was raised.
bool CallGuarded(void (*function)(void*), void* argument);

}  // namespace zvk
