#include "tests/host/LogCapture.h"

#include <windows.h>

#include <algorithm>

namespace simhost {

namespace {
LogCapture* gCapture = nullptr;
constexpr DWORD kDebugPrint = 0x40010006;
}  // namespace

long __stdcall CaptureDebugString(void* info) {
    auto* pointers = static_cast<EXCEPTION_POINTERS*>(info);
    EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (record->ExceptionCode != kDebugPrint || gCapture == nullptr || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
    const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    std::string line(text, length);
    while (!line.empty() && line.back() == '\0') line.pop_back();
    gCapture->lines_.push_back(line);
    return EXCEPTION_CONTINUE_EXECUTION;
}

LogCapture::LogCapture() {
    gCapture = this;
    handler_ = AddVectoredExceptionHandler(1, reinterpret_cast<PVECTORED_EXCEPTION_HANDLER>(CaptureDebugString));
}

LogCapture::~LogCapture() {
    RemoveVectoredExceptionHandler(handler_);
    if (gCapture == this) gCapture = nullptr;
}

bool LogCapture::Contains(const std::string& line) const {
    return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
}

std::string LogCapture::Dump() const {
    std::string all;
    for (const std::string& line : lines_) all += "  [" + line + "]\n";
    return all;
}

}  // namespace simhost
