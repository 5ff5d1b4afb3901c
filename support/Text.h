// Host strings read as system text. Each object here is a short-lived local of one method call that
// holds one lock on its host string until it ends; pointers it hands out stay valid until then.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>

#include "plugin/HostTypes.h"

namespace zvk {

// The raw bytes of a host string: "StringGetCString" and the "LenB" length, nothing copied.
class StringBytes {
public:
    explicit StringBytes(REALstring text);
    ~StringBytes();
    StringBytes(const StringBytes&) = delete;
    StringBytes& operator=(const StringBytes&) = delete;

    const char* data() const { return data_; }  // null for nil
    int64_t size() const { return size_; }

private:
    REALstring text_;  // locked for the life of the view
    const char* data_;
    int64_t size_;
};

// Forgets the "LenB" global method looked up on first use (for a host that is loaded anew).
void ForgetStringLengthMethod();

enum TextState : uint32_t {
    Ascii = 1,      // every byte below 0x80, or no text
    Undecided = 2,  // not looked at yet
    NonAscii = 3,   // needs a real conversion
};

// One host string as zero-terminated UTF-16 and UTF-8, each view made on first demand and cached.
// Neither view is ever null: empty text gives a static empty string. Owned buffers come from the
// Windows global heap; host string-data records are handed back with "PluginDisposeStringData".
class rbText {
public:
    static constexpr uint64_t kGuard = 0x5A564B54;  // "ZVKT"

    explicit rbText(REALstring text);
    ~rbText();
    rbText(const rbText&) = delete;
    rbText& operator=(const rbText&) = delete;

    const wchar_t* UTF16();
    int64_t UTF16Length();  // units before the terminator
    const char* UTF8();
    TextState State() const { return state_; }
    uint32_t Encoding() const { return encoding_; }  // of the held string

    // One cached form of the text. length is -1 until computed; data is then never null.
    struct View {
        int64_t length;
        const void* data;
        void* owned;        // a GlobalAlloc block this view made, or null
        StringData record;  // filled by "PluginGetStringData" when disposeRecord is set
        bool disposeRecord;
    };

private:
    void Reset();
    void Hold(REALstring text);
    void CheckAscii();
    void RebuildAsWindowsLatin1();
    void ComputeUTF16();
    void ComputeUTF8();
    bool FromHost(View& view, uint32_t code, size_t unitSize);
    void RepairUTF16();
    void End();

    uint64_t check1_;
    REALstring text_;
    View utf8_;
    View utf16_;
    uint32_t encoding_;
    TextState state_;
    uint64_t check2_;
};

// A heap rbText, or null when it cannot be allocated; the owner deletes it.
rbText* NewText(REALstring text);

// A host string as a BSTR owned by the holder; null for nil or empty text.
class BSTRHolder {
public:
    explicit BSTRHolder(REALstring text);
    ~BSTRHolder();
    BSTRHolder(const BSTRHolder&) = delete;
    BSTRHolder& operator=(const BSTRHolder&) = delete;

    BSTR AsBSTR();

private:
    rbText* text_;
    BSTR bstr_ = nullptr;
};

// Decodes UTF-8; the destination has room for one unit per source byte plus the terminator.
// Returns the units written before the terminator; stops at the first illegal sequence.
size_t UTF8ToUTF16(const uint8_t* source, uint32_t count, wchar_t* destination);
bool IsLegalUTF8(const uint8_t* source, int length);

// Log line "<prefix><label> <reference>: <UTF-8 text>"; call only while logging is on.
void DebugLogHostString(const char* label, REALstring text);

}  // namespace zvk
