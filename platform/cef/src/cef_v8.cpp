// Script values and the extension registry.
#include "cef_stand_in.h"
#include "cef_v8.h"

#include <cmath>
#include <mutex>
#include <vector>

#include "EngineInternal.h"

CefRefPtr<CefV8Value> CefV8Value::CreateUndefined()
{
    return new CefV8Value(Kind::Undefined);
}
CefRefPtr<CefV8Value> CefV8Value::CreateNull()
{
    return new CefV8Value(Kind::Null);
}

CefRefPtr<CefV8Value> CefV8Value::CreateBool(bool value)
{
    CefRefPtr<CefV8Value> v = new CefV8Value(Kind::Bool);
    v->boolValue_ = value;
    return v;
}

CefRefPtr<CefV8Value> CefV8Value::CreateInt(int32_t value)
{
    return CreateDouble(value);
}
CefRefPtr<CefV8Value> CefV8Value::CreateUInt(uint32_t value)
{
    return CreateDouble(value);
}

CefRefPtr<CefV8Value> CefV8Value::CreateDouble(double value)
{
    CefRefPtr<CefV8Value> v = new CefV8Value(Kind::Number);
    v->number_ = value;
    return v;
}

CefRefPtr<CefV8Value> CefV8Value::CreateString(const CefString& value)
{
    CefRefPtr<CefV8Value> v = new CefV8Value(Kind::String);
    v->string_ = value;
    return v;
}

CefRefPtr<CefV8Value> CefV8Value::CreateObject()
{
    return new CefV8Value(Kind::Object);
}

CefRefPtr<CefV8Value> CefV8Value::CreateArray(int length)
{
    CefRefPtr<CefV8Value> v = new CefV8Value(Kind::Array);
    for (int i = 0; i < length; ++i) v->elements_.push_back(CreateUndefined());
    return v;
}

CefRefPtr<CefV8Value> CefV8Value::CreateFunction(const CefString& name)
{
    CefRefPtr<CefV8Value> v = new CefV8Value(Kind::Function);
    v->string_ = name;
    return v;
}

static bool IsWholeIn(double value, double low, double high)
{
    return std::isfinite(value) && std::floor(value) == value && value >= low && value <= high;
}

bool CefV8Value::IsInt() const
{
    return kind_ == Kind::Number && IsWholeIn(number_, -2147483648.0, 2147483647.0);
}
bool CefV8Value::IsUInt() const
{
    return kind_ == Kind::Number && IsWholeIn(number_, 0, 4294967295.0);
}
int32_t CefV8Value::GetIntValue() const
{
    return IsInt() ? static_cast<int32_t>(number_) : 0;
}
uint32_t CefV8Value::GetUIntValue() const
{
    return IsUInt() ? static_cast<uint32_t>(number_) : 0;
}

CefRefPtr<CefV8Value> CefV8Value::GetValue(int index) const
{
    if (kind_ != Kind::Array || index < 0 || static_cast<size_t>(index) >= elements_.size()) return CreateUndefined();
    return elements_[static_cast<size_t>(index)];
}

bool CefV8Value::SetValue(int index, CefRefPtr<CefV8Value> value)
{
    if (kind_ != Kind::Array || index < 0 || !value) return false;
    size_t at = static_cast<size_t>(index);
    while (elements_.size() <= at) elements_.push_back(CreateUndefined());
    elements_[at] = value;
    return true;
}

namespace {

struct Extension
{
    std::wstring name;
    std::wstring source;
    CefRefPtr<CefV8Handler> handler;
};

std::mutex& ExtensionLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<Extension>& Extensions()
{
    static std::vector<Extension> extensions;
    return extensions;
}

} // namespace

bool CefRegisterExtension(const CefString& extension_name, const CefString& javascript_code,
                          CefRefPtr<CefV8Handler> handler)
{
    if (extension_name.empty() || javascript_code.empty()) return false;
    std::lock_guard<std::mutex> hold(ExtensionLock());
    for (const Extension& e : Extensions()) {
        if (e.name == extension_name.ToWString()) return false;
    }
    Extensions().push_back({ extension_name.ToWString(), javascript_code.ToWString(), handler });
    return true;
}

bool CefStandInGetExtension(const CefString& name, CefString* source)
{
    std::lock_guard<std::mutex> hold(ExtensionLock());
    for (const Extension& e : Extensions()) {
        if (e.name != name.ToWString()) continue;
        if (source) *source = e.source;
        return true;
    }
    return false;
}

namespace cef_stand_in {

// The script the stand-in does not run declares each page function as
// "<object>.<name> = function" that forwards to "native function <name>()";
// finding both in one extension is what makes the function callable.
CefRefPtr<CefV8Handler> FindNativeFunction(const std::wstring& objectName, const std::wstring& function)
{
    std::lock_guard<std::mutex> hold(ExtensionLock());
    const std::wstring declared = objectName + L"." + function + L" = function";
    const std::wstring native = L"native function " + function + L"()";
    for (const Extension& e : Extensions()) {
        if (e.source.find(declared) != std::wstring::npos && e.source.find(native) != std::wstring::npos)
            return e.handler;
    }
    return nullptr;
}

void ClearExtensions()
{
    std::lock_guard<std::mutex> hold(ExtensionLock());
    Extensions().clear();
}

} // namespace cef_stand_in
