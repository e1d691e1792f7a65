// The updater's own skinned, modal question box.
#pragma once

#include "UpdUILib.h"

enum UpdMessageIcon { UpdIconError = 1, UpdIconWarning = 2, UpdIconInformation = 3, UpdIconQuestion = 4 };

enum UpdMessageResult { UpdResultOk = 1, UpdResultCancel = 2, UpdResultNoMemory = 3, UpdResultRetry = 4 };

// Shows the box modally over owner with 1 to 3 buttons (another count gives
// one) and returns what ended it (UpdMessageResult).
int ShowUpdMessageBox(LPCWSTR text, LPCWSTR title, LPCWSTR cue, int iconKind, HWND owner, int buttonCount);

class CUpdMessageBox : public UpdUI::CWindowWnd, public UpdUI::INotifyUI
{
public:
    CUpdMessageBox() = default;

    void SetCue(LPCWSTR cue);
    void SetIcon(int kind);
    void AddButtons(int count);
    void SetInformation(LPCWSTR text, bool asError);
    void SetCaption(LPCWSTR title);

    UpdUI::CWindowManagerUI& Manager() { return m_manager; }

protected:
    LPCWSTR GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void Notify(UpdUI::TNotifyRecUI& msg) override;

private:
    LRESULT OnCreate();
    void BindControls();
    LRESULT OnNcHitTest(LPARAM lParam);
    void OnButtonClick(UpdUI::CControlUI* sender);

    UpdUI::CWindowManagerUI m_manager;
    UpdUI::CControlUI* m_icon = nullptr;
    UpdUI::CLabelUI* m_caption = nullptr;
    UpdUI::CLabelUI* m_information = nullptr;
    UpdUI::CLabelUI* m_cue = nullptr;
    UpdUI::CContainerUI* m_buttons = nullptr;
    UpdUI::CControlUI* m_typeImage = nullptr;
    UpdUI::CControlUI* m_close = nullptr;
};
