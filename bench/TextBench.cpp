// Speed of the text paths every method call crosses: a script string read as UTF-16 (pure ASCII is
// widened without decoding, UTF-8 is decoded by the plug-in, UTF-16 host strings are asked of the
// host), system text built into host strings, and a log call site while logging is off. Runs the
// library linked in against the simulated host; prints nanoseconds per operation and checks each
// against a budget that leaves room for a slow emulator (exit code 1 when one is over).
#include <windows.h>

#include <cstdio>
#include <string>

#include "plugin/HostApi.h"
#include "plugin/Registration.h"
#include "support/HostString.h"
#include "support/Log.h"
#include "support/Text.h"
#include "tests/host/SimHost.h"

namespace {

using zvk::REALstring;

double NowNs() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
}

template <typename F>
double NsPerOp(int iterations, F&& body) {
    for (int i = 0; i < iterations / 10; ++i) body();  // warm up
    double start = NowNs();
    for (int i = 0; i < iterations; ++i) body();
    return (NowNs() - start) / iterations;
}

struct Result {
    const char* name;
    double ns;
    double budget;
};

}  // namespace

int main() {
    simhost::SimHost host;
    host.Boot(&REALPluginMain);

    const std::string ascii(64, 'a');
    std::string accented;
    for (int i = 0; i < 32; ++i) accented += "\xC3\xA9";  // 32 x U+00E9
    std::string wide;
    for (char c : ascii) wide += std::string{c, '\0'};

    auto asciiText = reinterpret_cast<REALstring>(host.Str(ascii, simhost::enc::kUTF8));
    auto accentedText = reinterpret_cast<REALstring>(host.Str(accented, simhost::enc::kUTF8));
    auto wideText = reinterpret_cast<REALstring>(host.Str(wide, simhost::enc::kUTF16));
    std::wstring system(64, L'x');
    volatile int64_t sink = 0;

    const Result results[] = {
        {"UTF-16 of 64 ASCII characters (UTF-8 host string)", NsPerOp(200000, [&] {
             zvk::rbText text(asciiText);
             sink = sink + text.UTF16Length();
         }),
         1500},
        {"UTF-16 of 32 accented characters (UTF-8 host string)", NsPerOp(200000, [&] {
             zvk::rbText text(accentedText);
             sink = sink + text.UTF16Length();
         }),
         2500},
        {"UTF-16 of a UTF-16 host string, asked twice", NsPerOp(200000, [&] {
             zvk::rbText text(wideText);
             sink = sink + text.UTF16Length() + text.UTF16Length();
         }),
         3000},
        {"UTF-8 of a UTF-8 host string (in place)", NsPerOp(200000, [&] {
             zvk::rbText text(asciiText);
             sink = sink + (text.UTF8()[0] == 'a');
         }),
         300},
        {"host string from 64 wide characters", NsPerOp(100000, [&] {
             REALstring text = zvk::WString2RB(system.c_str());
             zvk::host::UnlockString(text);
         }),
         10000},
        {"log call site with logging off", NsPerOp(10000000, [&] {
             if (zvk::DebugLoggingEnabled) zvk::DebugLogInt64("value", sink);
         }),
         5},
    };

    int over = 0;
    for (const Result& result : results) {
        bool ok = result.ns <= result.budget;
        over += ok ? 0 : 1;
        std::printf("%-56s %10.1f ns  (budget %.0f ns) %s\n", result.name, result.ns, result.budget, ok ? "ok" : "OVER");
    }
    host.UnlockString(reinterpret_cast<simhost::REALstring>(asciiText));
    host.UnlockString(reinterpret_cast<simhost::REALstring>(accentedText));
    host.UnlockString(reinterpret_cast<simhost::REALstring>(wideText));
    if (host.LiveStrings() != 0) {
        std::printf("leaked %lld host strings\n", static_cast<long long>(host.LiveStrings()));
        return 1;
    }
    return over == 0 ? 0 : 1;
}
