#pragma once
#include <windows.h>

#include <string>

#include "WindowManagerUI.h"
#include "WindowWnd.h"

// The benchmark's window: built from skin markup text, its images read from a packed
// skin file, painted by its window manager like any window of the program.
class CBenchSkinWnd : public CWindowWnd
{
public:
    CBenchSkinWnd(const std::wstring& skinFile, const std::wstring& markup);

    bool IsBuilt() const;
    // Why the build failed, as the markup parser reports it (empty when it parsed).
    const std::wstring& GetBuildError() const;
    int CountControls() const;
    CControlUI* GetRoot() const;
    CWindowManagerUI& GetManager();

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    void Build();

    CWindowManagerUI m_manager;
    std::wstring m_skinFile;
    std::wstring m_markup;
    bool m_bBuilt;
    std::wstring m_buildError;
};
