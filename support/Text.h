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
    REALstring text_;
    const char* data_;
    int64_t size_;
};

enum TextState : uint32_t {
    Ascii = 1,      // every byte below 0x80, or no text
    Undecided = 2,  // not looked at yet
    NonAscii = 3,   // needs a real conversion
};

// One host string as zero-terminated UTF-16 and UTF-8, each view made on first demand and cached.
// Neither view is ever null: empty text gives a static empty string.
class rbText {
public:
    explicit rbText(REALstring text);
    ~rbText();
    rbText(const rbText&) = delete;
    rbText& operator=(const rbText&) = delete;

    const wchar_t* UTF16();
    int64_t UTF16Length();  // units before the terminator
    const char* UTF8();
    TextState State() const;

    struct View;  // the layout of the two cached views is private to Text.cpp

private:
    struct Fields;
    alignas(8) unsigned char storage_[200];
    Fields& fields();
    const Fields& fields() const;
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
