// Captures the plug-in's OutputDebugStringA lines in-process: a vectored exception handler sees each
// line as the debug-print exception (0x40010006) with its length and text.
#pragma once

#include <string>
#include <vector>

namespace simhost {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& Lines() const { return lines_; }
    void Clear() { lines_.clear(); }
    bool Contains(const std::string& line) const;
    std::string Dump() const;  // every line, one per row, for failure messages

private:
    std::vector<std::string> lines_;
    void* handler_;
    friend long __stdcall CaptureDebugString(void* info);
};

}  // namespace simhost
