#pragma once
#include <windows.h>

#include "UILib.h"

// Common ground of the main program's small skinned windows (the notice popup,
// the power-off countdown and the settings dialog): a caption-less top-level
// window built from one
// markup file of "skin\skin.sk", registered in ApplicationWindowList while it
// lives, moved by its markup's caption area, and deleted with its window.
//
// Objects are made with new and delete themselves once their window is gone.
// When creating the window fails the object stays with its creator, who
// deletes it: a window can still be torn down inside CreateWindowEx after its
// WM_CREATE succeeded, so only a returned handle hands the object over.
class CSkinPopupWnd : public CWindowWnd, public INotifyUI
{
public:
    ~CSkinPopupWnd() override = default;
    CWindowManagerUI& GetManager();

    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND CreateInRect(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, RECT rc,
                      HMENU hMenu = nullptr);

protected:
    CSkinPopupWnd();

    // The markup stream of the skin file's "xml" storage.
    virtual LPCWSTR GetSkinXml() const = 0;
    // Looks up the named controls once the tree is attached; false when the
    // skin lacks one, and the window is then not created.
    virtual bool InitControls() = 0;
    // WM_SIZE while not iconic: the window's shape.
    virtual void ApplyWindowRegion() = 0;
    // Messages of one window only; false hands the message on.
    virtual bool HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Whether a point of the client area moves the window like a caption.
    virtual bool IsCaptionPoint(POINT pt, const RECT& rcClient) const;
    // Whether the object goes with its window; a window run in a modal loop
    // keeps it for the loop, whose caller deletes it.
    virtual bool IsDeletedWithWindow() const;

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

    // Asks the window to close the way its caption's close command does.
    void CloseBySysCommand();
    // The manager's round corner applied as the window's region, when it has one.
    void ApplyRoundCornerRegion();
    // Finds a control by name; logs nothing, the caller decides.
    template <class T> T* Find(LPCWSTR pstrName) const { return static_cast<T*>(m_manager.FindControl(pstrName)); }

    CWindowManagerUI m_manager;

private:
    LRESULT OnCreate();
    bool BuildSkin();
    void ResizeToInitialSize();
    LRESULT OnNcHitTest(LPARAM lParam) const;

    bool m_bListed;  // the manager is in ApplicationWindowList
    bool m_bCreated; // Create returned the window: the window owns the object
};
