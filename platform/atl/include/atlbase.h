// Stand-in for the compiler class library's module object: the program only
// needs a current module that knows its instance handle.
#pragma once
#include <windows.h>

class CComModule
{
public:
    HRESULT Init(HINSTANCE instance)
    {
        instance_ = instance;
        current_ = this;
        return S_OK;
    }
    void Term()
    {
        if (current_ == this) current_ = nullptr;
        instance_ = nullptr;
    }
    HINSTANCE GetModuleInstance() const { return instance_; }
    static CComModule* Current() { return current_; }

private:
    HINSTANCE instance_ = nullptr;
    static inline CComModule* current_ = nullptr;
};
