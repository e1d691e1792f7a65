// Stand-in for the browser engine's base types: reference counting and strings.
// Only what the main program uses is here; the real engine is not available on
// this build machine.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>

class CefBaseRefCounted
{
public:
    virtual void AddRef() const = 0;
    virtual bool Release() const = 0;
    virtual bool HasOneRef() const = 0;

protected:
    virtual ~CefBaseRefCounted() { }
};

class CefRefCount
{
public:
    void AddRef() const { ++count_; }
    bool Release() const { return --count_ == 0; }
    bool HasOneRef() const { return count_ == 1; }

private:
    mutable std::atomic<int> count_{ 0 };
};

// The name the engine's older releases give the same base.
typedef CefBaseRefCounted CefBase;

#define IMPLEMENT_REFCOUNTING(ClassName)                                                                               \
public:                                                                                                                \
    void AddRef() const override                                                                                       \
    {                                                                                                                  \
        ref_count_.AddRef();                                                                                           \
    }                                                                                                                  \
    bool Release() const override                                                                                      \
    {                                                                                                                  \
        if (ref_count_.Release()) {                                                                                    \
            delete static_cast<const ClassName*>(this);                                                                \
            return true;                                                                                               \
        }                                                                                                              \
        return false;                                                                                                  \
    }                                                                                                                  \
    bool HasOneRef() const override                                                                                    \
    {                                                                                                                  \
        return ref_count_.HasOneRef();                                                                                 \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    CefRefCount ref_count_

template <class T> class CefRefPtr
{
public:
    CefRefPtr() : ptr_(nullptr) { }
    CefRefPtr(T* p) : ptr_(p)
    {
        if (ptr_) ptr_->AddRef();
    }
    CefRefPtr(const CefRefPtr& o) : CefRefPtr(o.ptr_) { }
    template <class U> CefRefPtr(const CefRefPtr<U>& o) : CefRefPtr(o.get()) { }
    CefRefPtr(CefRefPtr&& o) noexcept : ptr_(o.ptr_) { o.ptr_ = nullptr; }
    ~CefRefPtr()
    {
        if (ptr_) ptr_->Release();
    }
    CefRefPtr& operator=(T* p)
    {
        if (p) p->AddRef();
        T* old = ptr_;
        ptr_ = p;
        if (old) old->Release();
        return *this;
    }
    CefRefPtr& operator=(const CefRefPtr& o) { return *this = o.ptr_; }
    CefRefPtr& operator=(CefRefPtr&& o) noexcept
    {
        if (this != &o) {
            T* old = ptr_;
            ptr_ = o.ptr_;
            o.ptr_ = nullptr;
            if (old) old->Release();
        }
        return *this;
    }
    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }
    operator T*() const { return ptr_; }

private:
    T* ptr_;
};

// The engine's C string: UTF-16 text it may own.
typedef struct _cef_string_t
{
    wchar_t* str;
    size_t length;
    void (*dtor)(wchar_t* str);
} cef_string_t;

void cef_string_clear(cef_string_t* s);
void cef_string_set(const wchar_t* src, size_t length, cef_string_t* out);

// UTF-16 string; either owns its text or is attached to a cef_string_t that it
// writes through (as settings structures are filled).
class CefString
{
public:
    CefString() { }
    CefString(const wchar_t* s) : value_(s ? s : L"") { }
    CefString(const std::wstring& s) : value_(s) { }
    CefString(const char* s);
    CefString(const std::string& s);
    explicit CefString(cef_string_t* attached);
    // A copy holds the text only; assigning to an attached string writes through.
    CefString(const CefString& o) : value_(o.value_) { }
    CefString& operator=(const CefString& o)
    {
        FromWString(o.value_);
        return *this;
    }
    CefString& operator=(const std::wstring& s)
    {
        FromWString(s);
        return *this;
    }
    CefString& operator=(const wchar_t* s)
    {
        FromWString(s ? s : L"");
        return *this;
    }
    void FromWString(const std::wstring& s);
    void FromString(const std::string& utf8);
    std::wstring ToWString() const { return value_; }
    std::string ToString() const;
    const wchar_t* c_str() const { return value_.c_str(); }
    size_t length() const { return value_.size(); }
    bool empty() const { return value_.empty(); }
    bool operator==(const CefString& o) const { return value_ == o.value_; }
    bool operator!=(const CefString& o) const { return value_ != o.value_; }
    bool operator<(const CefString& o) const { return value_ < o.value_; }

private:
    std::wstring value_;
    cef_string_t* attached_ = nullptr;
};

// A recursive lock, for state that engine callbacks share.
class CefCriticalSection
{
public:
    CefCriticalSection() { InitializeCriticalSection(&section_); }
    ~CefCriticalSection() { DeleteCriticalSection(&section_); }
    CefCriticalSection(const CefCriticalSection&) = delete;
    CefCriticalSection& operator=(const CefCriticalSection&) = delete;
    void Lock() { EnterCriticalSection(&section_); }
    void Unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class CefAutoLock
{
public:
    explicit CefAutoLock(CefCriticalSection& section) : section_(section) { section_.Lock(); }
    ~CefAutoLock() { section_.Unlock(); }
    CefAutoLock(const CefAutoLock&) = delete;
    CefAutoLock& operator=(const CefAutoLock&) = delete;

private:
    CefCriticalSection& section_;
};
