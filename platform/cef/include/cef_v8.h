// Stand-in for the engine's script values, native functions and contexts.
// Everything here lives on the renderer thread.
#pragma once
#include "cef_base.h"

#include <cstdint>
#include <vector>

class CefBrowser;
class CefFrame;
class CefV8Value;
typedef std::vector<CefRefPtr<CefV8Value>> CefV8ValueList;

// A script value. Numbers are kept as the script keeps them, as doubles:
// IsInt is true for a whole number in the signed 32-bit range, IsDouble for
// any number. Arrays are objects too.
class CefV8Value : public virtual CefBaseRefCounted
{
public:
    static CefRefPtr<CefV8Value> CreateUndefined();
    static CefRefPtr<CefV8Value> CreateNull();
    static CefRefPtr<CefV8Value> CreateBool(bool value);
    static CefRefPtr<CefV8Value> CreateInt(int32_t value);
    static CefRefPtr<CefV8Value> CreateUInt(uint32_t value);
    static CefRefPtr<CefV8Value> CreateDouble(double value);
    static CefRefPtr<CefV8Value> CreateString(const CefString& value);
    static CefRefPtr<CefV8Value> CreateObject();
    static CefRefPtr<CefV8Value> CreateArray(int length);
    static CefRefPtr<CefV8Value> CreateFunction(const CefString& name);

    bool IsValid() const { return true; }
    bool IsUndefined() const { return kind_ == Kind::Undefined; }
    bool IsNull() const { return kind_ == Kind::Null; }
    bool IsBool() const { return kind_ == Kind::Bool; }
    bool IsInt() const;
    bool IsUInt() const;
    bool IsDouble() const { return kind_ == Kind::Number; }
    bool IsString() const { return kind_ == Kind::String; }
    bool IsObject() const { return kind_ == Kind::Object || kind_ == Kind::Array || kind_ == Kind::Function; }
    bool IsArray() const { return kind_ == Kind::Array; }
    bool IsFunction() const { return kind_ == Kind::Function; }
    bool IsSame(CefRefPtr<CefV8Value> that) const { return that.get() == this; }

    bool GetBoolValue() const { return kind_ == Kind::Bool && boolValue_; }
    int32_t GetIntValue() const;
    uint32_t GetUIntValue() const;
    double GetDoubleValue() const { return kind_ == Kind::Number ? number_ : 0; }
    CefString GetStringValue() const
    {
        return kind_ == Kind::String || kind_ == Kind::Function ? string_ : CefString();
    }

    // Arrays only. An index past the end reads as undefined.
    int GetArrayLength() const { return kind_ == Kind::Array ? static_cast<int>(elements_.size()) : 0; }
    CefRefPtr<CefV8Value> GetValue(int index) const;
    bool SetValue(int index, CefRefPtr<CefV8Value> value);

private:
    enum class Kind { Undefined, Null, Bool, Number, String, Object, Array, Function };
    explicit CefV8Value(Kind kind) : kind_(kind) { }

    Kind kind_;
    bool boolValue_ = false;
    double number_ = 0;
    CefString string_;
    CefV8ValueList elements_;
    IMPLEMENT_REFCOUNTING(CefV8Value);
};

// The native side of functions that an extension declares with
// "native function name();". Returns true when it handled the call; a
// non-empty exception is thrown in the page.
class CefV8Handler : public virtual CefBaseRefCounted
{
public:
    virtual bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                         CefRefPtr<CefV8Value>& retval, CefString& exception) = 0;
};

// The script context of one document.
class CefV8Context : public virtual CefBaseRefCounted
{
public:
    // The context that runs script now on this thread; null outside script.
    static CefRefPtr<CefV8Context> GetCurrentContext();
    static CefRefPtr<CefV8Context> GetEnteredContext() { return GetCurrentContext(); }
    static bool InContext() { return GetCurrentContext() != nullptr; }

    virtual bool IsValid() = 0;
    virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
    virtual CefRefPtr<CefFrame> GetFrame() = 0;
    virtual bool Enter() = 0;
    virtual bool Exit() = 0;
    virtual bool IsSame(CefRefPtr<CefV8Context> that) = 0;
};

// Registers script that every page runs before its own, with the native
// handler of its "native function" declarations. Call it from the render
// process handler's OnWebKitInitialized.
bool CefRegisterExtension(const CefString& extension_name, const CefString& javascript_code,
                          CefRefPtr<CefV8Handler> handler);
