// Small move-only owners of system and host resources. Copy and comparison are deleted; put() hands
// out the address for an out-parameter and frees the old value first. All run on the host's thread.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <propidl.h>

#include <utility>

#include "plugin/HostApi.h"

namespace zvk {

// Owns one BSTR; frees it with SysFreeString.
class unique_bstr {
public:
    unique_bstr() = default;
    explicit unique_bstr(BSTR value) : value_(value) {}
    ~unique_bstr() { reset(); }
    unique_bstr(unique_bstr&& other) noexcept : value_(other.release()) {}
    unique_bstr& operator=(unique_bstr&& other) noexcept {
        reset(other.release());
        return *this;
    }
    unique_bstr(const unique_bstr&) = delete;
    unique_bstr& operator=(const unique_bstr&) = delete;
    bool operator==(const unique_bstr&) const = delete;

    BSTR get() const { return value_; }
    BSTR* put() {
        reset();
        return &value_;
    }
    BSTR release() { return std::exchange(value_, nullptr); }
    void reset(BSTR value = nullptr) {
        if (value_ != nullptr) SysFreeString(value_);
        value_ = value;
    }

private:
    BSTR value_ = nullptr;
};

// Owns one PROPVARIANT, zeroed at construction; frees it with PropVariantClear.
class unique_propvariant {
public:
    unique_propvariant() { PropVariantInit(&value_); }
    ~unique_propvariant() { PropVariantClear(&value_); }
    unique_propvariant(const unique_propvariant&) = delete;
    unique_propvariant& operator=(const unique_propvariant&) = delete;

    PROPVARIANT* get() { return &value_; }
    PROPVARIANT* put() {
        PropVariantClear(&value_);
        return &value_;
    }

private:
    PROPVARIANT value_;
};

// Owns a block from CoTaskMemAlloc (or one the system returned); frees it with CoTaskMemFree.
template <typename T>
class unique_cotaskmem {
public:
    unique_cotaskmem() = default;
    explicit unique_cotaskmem(T* value) : value_(value) {}
    ~unique_cotaskmem() { reset(); }
    unique_cotaskmem(const unique_cotaskmem&) = delete;
    unique_cotaskmem& operator=(const unique_cotaskmem&) = delete;

    T* get() const { return value_; }
    T** put() {
        reset();
        return &value_;
    }
    T* release() { return std::exchange(value_, nullptr); }
    void reset(T* value = nullptr) {
        if (value_ != nullptr) CoTaskMemFree(value_);
        value_ = value;
    }

private:
    T* value_ = nullptr;
};

// Owns a zero-filled block from the Windows global heap; frees it with GlobalFree.
class unique_hglobal {
public:
    unique_hglobal() = default;
    explicit unique_hglobal(size_t bytes) : value_(GlobalAlloc(GPTR, bytes)) {}
    ~unique_hglobal() { reset(); }
    unique_hglobal(const unique_hglobal&) = delete;
    unique_hglobal& operator=(const unique_hglobal&) = delete;

    void* get() const { return value_; }
    template <typename T>
    T* as() const {
        return static_cast<T*>(value_);
    }
    void* release() { return std::exchange(value_, nullptr); }
    void reset(void* value = nullptr) {
        if (value_ != nullptr) GlobalFree(value_);
        value_ = value;
    }

private:
    void* value_ = nullptr;
};

// Owns one COM reference.
template <typename T>
class com_ptr {
public:
    com_ptr() = default;
    explicit com_ptr(T* value) : value_(value) {}  // takes over the caller's reference
    ~com_ptr() { reset(); }
    com_ptr(com_ptr&& other) noexcept : value_(other.release()) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        reset(other.release());
        return *this;
    }
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    bool operator==(const com_ptr&) const = delete;

    T* get() const { return value_; }
    T* operator->() const { return value_; }
    explicit operator bool() const { return value_ != nullptr; }
    T** put() {
        reset();
        return &value_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    T* release() { return std::exchange(value_, nullptr); }
    void reset(T* value = nullptr) {
        if (value_ != nullptr) value_->Release();
        value_ = value;
    }

private:
    T* value_ = nullptr;
};

// A reference of our own to `value` (null stays null): what the library passes to the platform stays alive for the
// length of the call, even when a script's event drops the object it came from.
template <typename T>
com_ptr<T> HeldFor(T* value) {
    if (value != nullptr) value->AddRef();
    return com_ptr<T>(value);
}

// Owns one host string reference; unlocks it with "REALUnlockString".
class unique_host_string {
public:
    unique_host_string() = default;
    explicit unique_host_string(REALstring value) : value_(value) {}
    ~unique_host_string() { reset(); }
    unique_host_string(unique_host_string&& other) noexcept : value_(other.release()) {}
    unique_host_string& operator=(unique_host_string&& other) noexcept {
        reset(other.release());
        return *this;
    }
    unique_host_string(const unique_host_string&) = delete;
    unique_host_string& operator=(const unique_host_string&) = delete;
    bool operator==(const unique_host_string&) const = delete;

    REALstring get() const { return value_; }
    REALstring release() { return std::exchange(value_, nullptr); }
    void reset(REALstring value = nullptr) {
        if (value_ != nullptr) host::UnlockString(value_);
        value_ = value;
    }

private:
    REALstring value_ = nullptr;
};

// Owns one host object reference; unlocks it with "REALUnlockObject".
class unique_host_object {
public:
    unique_host_object() = default;
    explicit unique_host_object(REALobject value) : value_(value) {}
    ~unique_host_object() { reset(); }
    unique_host_object(unique_host_object&& other) noexcept : value_(other.release()) {}
    unique_host_object& operator=(unique_host_object&& other) noexcept {
        reset(other.release());
        return *this;
    }
    unique_host_object(const unique_host_object&) = delete;
    unique_host_object& operator=(const unique_host_object&) = delete;
    bool operator==(const unique_host_object&) const = delete;

    REALobject get() const { return value_; }
    REALobject release() { return std::exchange(value_, nullptr); }
    void reset(REALobject value = nullptr) {
        if (value_ != nullptr) host::UnlockObject(value_);
        value_ = value;
    }

private:
    REALobject value_ = nullptr;
};

}  // namespace zvk
