#pragma once
#include <windows.h>

#include <string>

#include "WindowManagerUI.h"
#include "WindowWnd.h"

// The benchmark's window in the updater's UI library: built from the same skin markup
// as the main library's, its images read from the resource folder.
class CBenchUpdSkinWnd : public UpdUI::CWindowWnd
{
public:
    explicit CBenchUpdSkinWnd(const std::wstring& markup);

    bool IsBuilt() const;
    int CountControls() const;
    UpdUI::CWindowManagerUI& GetManager();

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    void Build();

    UpdUI::CWindowManagerUI m_manager;
    std::wstring m_markup;
    bool m_bBuilt;
};
