#include "support/Text.h"

#include <cstring>
#include <initializer_list>
#include <new>

#include "plugin/HostApi.h"
#include "support/HostString.h"
#include "support/Log.h"

namespace zvk {

namespace {

const char kEmptyUTF8[1] = {0};
const wchar_t kEmptyUTF16[1] = {0};

using LenBFn = int64_t (*)(REALstring);
// Looked up once, on first use; a host without it keeps answering length 0.
bool gLenBLookedUp = false;
LenBFn gLenB = nullptr;

bool gReportedRebuildFailure = false;

int64_t HostLength(REALstring text) {
    if (!gLenBLookedUp) {
        gLenBLookedUp = true;
        gLenB = reinterpret_cast<LenBFn>(host::LoadGlobalMethod("LenB( s as string ) as integer"));
    }
    if (gLenB == nullptr) return 0;
    const int64_t length = gLenB(text);
    return length > 0 ? length : 0;
}

void Log(const char* label) {
    if (DebugLoggingEnabled) DebugLog(label);
}

// The number of trailing bytes that a lead byte announces.
int TrailingBytes(uint8_t lead) {
    if (lead < 0xC0) return 0;
    if (lead < 0xE0) return 1;
    if (lead < 0xF0) return 2;
    if (lead < 0xF8) return 3;
    if (lead < 0xFC) return 4;
    return 5;
}

// Removes the marker bits of a sequence with 0 to 5 trailing bytes (32-bit arithmetic).
const uint32_t kSequenceOffsets[6] = {0x00000000u, 0x00003080u, 0x000E2080u, 0x03C82080u, 0xFA082080u, 0x82082080u};

void* NewBlock(size_t bytes) {
    return GlobalAlloc(GPTR, bytes);
}

}  // namespace

void ForgetStringLengthMethod() {
    gLenBLookedUp = false;
    gLenB = nullptr;
}

StringBytes::StringBytes(REALstring text) : text_(text), data_(nullptr), size_(0) {
    if (text_ == nullptr) return;
    host::LockString(text_);
    data_ = host::StringGetCString(text_);
    size_ = HostLength(text_);
    if (data_ == nullptr && size_ != 0) {
        size_ = 0;
        Log("data is NULL, so size fixed to zero.");
    }
}

StringBytes::~StringBytes() {
    host::UnlockString(text_);
}

namespace {

void SetEmpty(rbText::View& view, const void* empty) {
    if (view.owned != nullptr) GlobalFree(view.owned);
    view.owned = nullptr;
    view.data = empty;
    view.length = 0;
}

// The block becomes the view's data and owned buffer; the buffer owned before is freed.
void Adopt(rbText::View& view, void* block, int64_t length) {
    if (view.owned != nullptr) GlobalFree(view.owned);
    view.owned = block;
    view.data = block;
    view.length = length;
}

}  // namespace

rbText::rbText(REALstring text) {
    Reset();
    if (text == nullptr) return;
    Hold(text);
    switch (encoding_) {
        case encoding::kUTF8:
        case encoding::kASCII:
            state_ = Undecided;
            if (const char* bytes = host::StringGetCString(text_)) {
                utf8_.data = bytes;
                utf8_.length = HostLength(text_);
            }
            break;
        case encoding::kUnknown:
            state_ = Undecided;
            CheckAscii();
            if (state_ != Ascii) RebuildAsWindowsLatin1();
            break;
        default:
            state_ = encoding_ == encoding::kUTF16 || encoding::IsWideFamily(encoding_) ? NonAscii : Undecided;
            break;
    }
}

rbText::~rbText() {
    End();
}

void rbText::Reset() {
    check1_ = kGuard;
    text_ = nullptr;
    utf8_ = View{0, kEmptyUTF8, nullptr, {}, false};
    utf16_ = View{0, kEmptyUTF16, nullptr, {}, false};
    encoding_ = encoding::kASCII;
    state_ = Ascii;
    check2_ = kGuard;
}

void rbText::Hold(REALstring text) {
    host::LockString(text);
    text_ = text;
    encoding_ = host::GetStringEncoding(text);
    utf8_.length = -1;
    utf16_.length = -1;
}

void rbText::CheckAscii() {
    if (state_ != Undecided) return;
    StringBytes bytes(text_);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (int64_t i = 0; i < bytes.size(); ++i) {
        if (data[i] >= 0x80) {
            state_ = NonAscii;
            return;
        }
    }
    state_ = Ascii;
    utf8_.data = data != nullptr ? bytes.data() : kEmptyUTF8;
    utf8_.length = bytes.size();
}

void rbText::RebuildAsWindowsLatin1() {
    state_ = NonAscii;
    REALstring rebuilt;
    {
        StringBytes bytes(text_);
        void* probe = NewBlock(static_cast<size_t>(bytes.size()) + 4);
        if (probe == nullptr) {
            Log("Out of Memory.");
            return;
        }
        GlobalFree(probe);
        rebuilt = REALBuildUnicodeString(bytes.data(), bytes.size(), encoding::kWindowsLatin1);
    }
    // The built string's one reference becomes the lock this object holds.
    host::UnlockString(text_);
    text_ = rebuilt;
    if (text_ != nullptr) {
        encoding_ = host::GetStringEncoding(text_);
    } else if (!gReportedRebuildFailure && DebugLoggingEnabled) {
        gReportedRebuildFailure = true;
        DebugLog("REALBuildUnicodeString failed");
    }
}

const wchar_t* rbText::UTF16() {
    if (utf16_.length < 0) ComputeUTF16();
    return static_cast<const wchar_t*>(utf16_.data);
}

int64_t rbText::UTF16Length() {
    if (utf16_.length < 0) ComputeUTF16();
    return utf16_.length;
}

const char* rbText::UTF8() {
    if (utf8_.length < 0) ComputeUTF8();
    return static_cast<const char*>(utf8_.data);
}

bool rbText::FromHost(View& view, uint32_t code, size_t unitSize) {
    if (!host::GetStringData(text_, code, &view.record)) {
        Log("REALGetStringData failed.");
        return false;
    }
    view.disposeRecord = true;
    if (view.record.data != nullptr) {
        view.data = view.record.data;
        view.length = static_cast<int64_t>(view.record.length / unitSize);
    }
    return true;
}

void rbText::ComputeUTF16() {
    SetEmpty(utf16_, kEmptyUTF16);
    if (text_ == nullptr) return;
    CheckAscii();
    if (state_ == Ascii) {
        const int64_t count = utf8_.length;
        if (count <= 0) return;
        void* block = NewBlock(static_cast<size_t>(count) * 2 + 4);
        if (block == nullptr) return;
        const auto* bytes = static_cast<const unsigned char*>(utf8_.data);
        auto* units = static_cast<wchar_t*>(block);
        for (int64_t i = 0; i < count; ++i) units[i] = static_cast<wchar_t>(bytes[i]);
        Adopt(utf16_, block, count);
    } else if (encoding_ == encoding::kASCII || encoding_ == encoding::kUTF8) {
        Log("Try UTF8 to UTF16 conversion...");
        if (utf8_.length < 0) ComputeUTF8();
        SetEmpty(utf16_, kEmptyUTF16);
        if (utf8_.length <= 0) return;
        const uint32_t count = utf8_.length > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(utf8_.length);
        void* block = NewBlock(static_cast<size_t>(count) * 2 + 16);
        if (block == nullptr) return;
        const size_t units = UTF8ToUTF16(static_cast<const uint8_t*>(utf8_.data), count, static_cast<wchar_t*>(block));
        Adopt(utf16_, block, static_cast<int64_t>(units));
    } else {
        FromHost(utf16_, encoding::kUTF16, 2);
    }
    RepairUTF16();
}

void rbText::RepairUTF16() {
    int64_t count = utf16_.length;
    const auto* units = static_cast<const uint16_t*>(utf16_.data);
    if (units[count] != 0) {
        Log("String is not zero terminated. Fixed.");
        void* block = NewBlock(static_cast<size_t>(count) * 2 + 4);
        if (block == nullptr) {
            Log("Out of memory");
            SetEmpty(utf16_, kEmptyUTF16);
            return;
        }
        std::memcpy(block, units, static_cast<size_t>(count) * 2);
        Adopt(utf16_, block, count);
        units = static_cast<const uint16_t*>(block);
    }
    if (count >= 1 && units[0] == 0xFFFE) {
        Log("String is Little Endian. Swap.");
        void* block = NewBlock(static_cast<size_t>(count) * 2 + 4);
        if (block == nullptr) {
            Log("Out of memory");
            SetEmpty(utf16_, kEmptyUTF16);
            return;
        }
        auto* swapped = static_cast<uint16_t*>(block);
        for (int64_t i = 0; i < count; ++i) swapped[i] = static_cast<uint16_t>((units[i] << 8) | (units[i] >> 8));
        Adopt(utf16_, block, count);
        units = swapped;
    }
    if (count > 0 && units[0] == 0xFEFF) {
        ++units;
        --count;
        if (count > 0 && units[0] == 0xFFFE) {
            ++units;
            --count;
        }
        utf16_.data = units;
        utf16_.length = count;
    }
}

void rbText::ComputeUTF8() {
    SetEmpty(utf8_, kEmptyUTF8);
    if (text_ == nullptr) return;
    CheckAscii();
    if (state_ == Ascii) return;
    if (!FromHost(utf8_, encoding::kUTF8, 1)) return;
    const int64_t length = utf8_.length;
    const auto* bytes = static_cast<const char*>(utf8_.data);
    if (length > 0 && bytes[length] != 0) {
        Log("String is not zero terminated. Fixed.");
        void* block = NewBlock(static_cast<size_t>(length) + 4);
        if (block == nullptr) {
            Log("Out of memory");
            SetEmpty(utf8_, kEmptyUTF8);
            return;
        }
        std::memcpy(block, bytes, static_cast<size_t>(length));
        Adopt(utf8_, block, length);
    }
}

void rbText::End() {
    if (DebugLoggingEnabled) {
        if (check1_ != kGuard) DebugLogUInt64("Check1 in rbText invalid", check1_);
        if (check2_ != kGuard) DebugLogUInt64("Check2 in rbText invalid", check2_);
    }
    host::UnlockString(text_);
    for (View* view : {&utf8_, &utf16_}) {
        if (view->disposeRecord) host::DisposeStringData(&view->record);
        if (view->owned != nullptr) GlobalFree(view->owned);
    }
    Reset();
}

rbText* NewText(REALstring text) {
    try {
        return new rbText(text);
    } catch (const std::bad_alloc&) {
        Log("Failed to allocate text object.");
        return nullptr;
    }
}

BSTRHolder::BSTRHolder(REALstring text) : text_(NewText(text)) {}

BSTRHolder::~BSTRHolder() {
    if (bstr_ != nullptr) SysFreeString(bstr_);
    delete text_;
}

BSTR BSTRHolder::AsBSTR() {
    if (bstr_ == nullptr && text_ != nullptr && text_->UTF16Length() > 0) bstr_ = SysAllocString(text_->UTF16());
    return bstr_;
}

bool IsLegalUTF8(const uint8_t* source, int length) {
    if (length < 1 || length > 4) return false;
    const uint8_t lead = source[0];
    for (int i = 2; i < length; ++i) {
        if (source[i] < 0x80 || source[i] > 0xBF) return false;
    }
    if (length >= 2) {
        const uint8_t first = source[1];
        if (first > 0xBF) return false;
        switch (lead) {
            case 0xE0:
                if (first < 0xA0) return false;
                break;
            case 0xED:
                if (first > 0x9F) return false;
                break;
            case 0xF0:
                if (first < 0x90) return false;
                break;
            case 0xF4:
                if (first > 0x8F) return false;
                break;
            default:
                if (first < 0x80) return false;
                break;
        }
    }
    return !(lead >= 0x80 && lead < 0xC2) && lead <= 0xF4;
}

size_t UTF8ToUTF16(const uint8_t* source, uint32_t count, wchar_t* destination) {
    size_t units = 0;
    auto emit = [&](uint32_t unit) {
        if (destination != nullptr) destination[units] = static_cast<wchar_t>(unit);
        ++units;
    };
    uint32_t position = 0;
    while (position < count) {
        const int trailing = TrailingBytes(source[position]);
        if (static_cast<uint64_t>(position) + trailing >= count || !IsLegalUTF8(source + position, trailing + 1)) {
            if (DebugLoggingEnabled) DebugLogUInt64("Illegal UTF-8 sequence!", position);
            break;
        }
        uint32_t value = 0;
        for (int i = 0; i < trailing; ++i) value = (value + source[position++]) << 6;
        value += source[position++];
        value -= kSequenceOffsets[trailing];
        if (value == 0xFEFF || value == 0xFFFE) continue;
        if (value < 0x10000) {
            if (value < 0xD800 || value > 0xDFFF) emit(value);
        } else if (value > 0x10FFFF) {
            emit(0xFFFD);
        } else {
            emit(0xD800 + ((value - 0x10000) >> 10));
            emit(0xDC00 + (value & 0x3FF));
        }
    }
    if (destination != nullptr) destination[units] = 0;
    return units;
}

void DebugLogHostString(const char* label, REALstring text) {
    rbText view(text);
    DebugWrite("%s%s %p: %s", kLogPrefix, label, static_cast<void*>(text), view.UTF8());
}

}  // namespace zvk
