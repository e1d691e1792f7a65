#pragma once
#include <windows.h>

#include "WindowWnd.h"

namespace UpdUI {

class CDateTimeUI;

// The native date picker a date-time control opens over itself. It hands the outcome
// (date taken, cleared or cancelled) to its owner and closes; the object deletes itself
// with the window.
class CDateTimeWnd : public CWindowWnd
{
public:
    CDateTimeWnd();

    // Creates the picker on first use, gives it the owner's date, shows it and gives it
    // the keyboard focus. False when no window could be made (the caller then still
    // owns this object).
    bool Init(CDateTimeUI* pOwner);
    // The owner is going away: the picker stops talking to it and closes.
    void Detach();

protected:
    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    bool CreatePicker();
    void OnKillFocus();
    void OnKeyUp(WPARAM wParam);

    CDateTimeUI* m_pOwner;
    HBRUSH m_hBkBrush;
    bool m_bInit;
};

} // namespace UpdUI
