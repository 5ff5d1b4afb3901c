// The host's exception classes and the entries that raise and catch them. An exception raised while
// a function runs under "PluginCallFunctionWithExceptionHandler" is caught there (the first one wins)
// and handed back; any other is recorded in SimHost::raised with its class, message and number.
#include <string>

#include "tests/host/SimHost.h"
#include "tests/host/SimHostText.h"

namespace simhost {
namespace {

constexpr int64_t kNoErrorNumber = -1;  // recorded when the exception has no "ErrorNumber"

const char* const kExceptionClasses[] = {
    "NilObjectException", "OutOfBoundsException", "OutOfMemoryException", "IllegalCastException", "RuntimeException",
};

struct Handler {
    bool active = false;
    REALobject caught = nullptr;  // one reference, handed to the caller of the guarded function
};

Handler gHandler;

void RaiseException(REALobject exception) {
    SimHost& host = SimHost::Current();
    if (gHandler.active) {
        if (gHandler.caught == nullptr && exception != nullptr) {
            host.Lock(exception);
            gHandler.caught = exception;
        }
        return;
    }
    Raised raised{"", "", kNoErrorNumber};
    if (exception != nullptr) {
        raised.className = host.ClassName(exception);
        if (REALstring message = host.GetDynamicString(exception, "Message")) {
            if (!ConvertBytes(host.Bytes(message), host.Encoding(message), enc::kUTF8, &raised.message))
                raised.message = host.Bytes(message);
        }
        host.GetDynamicInt(exception, "ErrorNumber", &raised.errorNumber);
    }
    host.raised.push_back(raised);
}

REALobject CallFunctionWithExceptionHandler(void (*function)(void*), void* argument) {
    Handler outer = gHandler;
    gHandler = Handler{true, nullptr};
    try {
        function(argument);
    } catch (const HostRaise& raised) {
        if (gHandler.caught == nullptr) {
            gHandler.caught = raised.exception;
        } else {
            SimHost::Current().Unlock(raised.exception);
        }
    }
    REALobject caught = gHandler.caught;
    gHandler = outer;
    return caught;
}

template <typename F>
void* Address(F* function) {
    return reinterpret_cast<void*>(function);
}

void Install(SimHost& host) {
    gHandler = Handler{};
    for (const char* name : kExceptionClasses) host.DefineBuiltin(name);
    host.entries["RuntimeRaiseException"] = Address(RaiseException);
    host.entries["PluginCallFunctionWithExceptionHandler"] = Address(CallFunctionWithExceptionHandler);
}

Extension gExceptions(Install);

}  // namespace
}  // namespace simhost
