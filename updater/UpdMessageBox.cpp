#include "UpdMessageBox.h"

#include "UpdateDlg.h"
#include "WindowFrame.h"

#include "SkinBuilderUI.h"

#include <shellapi.h>

#include <new>
#include <string>

using namespace UpdUI;

namespace {

const DWORD kBoxStyle = 0x96C80000;
const DWORD kBoxExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;
const DWORD kErrorTextColor = 0xFF0000;

const wchar_t kButtonAttributes[] =
    L"normalimage=\"file='down\\确定68-24.png' source='0,0,68,24'\" "
    L"hotimage=\"file='down\\确定68-24.png' source='68,0,136,24'\" "
    L"pushedimage=\"file='down\\确定68-24.png' source='136,0,204,24'\" width=\"68\" height=\"24\"";

struct ButtonSpec {
    const wchar_t* text;
    const wchar_t* name;
    int leftPadding;
};

const ButtonSpec kOneButton[] = {{L"确定", L"OK", 140}};
const ButtonSpec kTwoButtons[] = {{L"重试", L"Retry", 80}, {L"取消", L"CANCEL", 60}};
const ButtonSpec kThreeButtons[] = {{L"是", L"YES", 54}, {L"否", L"NO", 20}, {L"取消", L"CANCEL", 20}};

const wchar_t* const kClientClasses[] = {L"ButtonUI", L"OptionUI", L"TextUI", nullptr};

}  // namespace

int ShowUpdMessageBox(LPCWSTR text, LPCWSTR title, LPCWSTR cue, int iconKind, HWND owner, int buttonCount)
{
    CUpdMessageBox* box = new (std::nothrow) CUpdMessageBox;
    if (!box)
        return UpdResultNoMemory;
    if (!box->Create(owner, title, kBoxStyle, kBoxExStyle, 0, 0, 400, 270)) {
        delete box;
        return UpdResultNoMemory;
    }
    if (!text || !*text) {
        box->Close(UpdResultOk);
    } else {
        box->SetInformation(text, iconKind == UpdIconError);
    }
    box->SetCaption(title);
    box->SetCue(cue);
    box->SetIcon(iconKind);
    box->AddButtons(buttonCount);
    box->CenterWindow();
    HWND window = box->GetWindowHandle();
    if (IsWindow(window))
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    return static_cast<int>(box->RunModalLoop());
}

LPCWSTR CUpdMessageBox::GetWindowClassName() const
{
    return L"Joyvale升级程序";
}

UINT CUpdMessageBox::GetClassStyle() const
{
    return CS_DBLCLKS;
}

void CUpdMessageBox::OnFinalMessage(HWND hWnd)
{
    delete this;
}

void CUpdMessageBox::SetInformation(LPCWSTR text, bool asError)
{
    if (!information_)
        return;
    information_->SetText(text);
    if (asError)
        information_->SetTextColor(kErrorTextColor);
}

void CUpdMessageBox::SetCaption(LPCWSTR title)
{
    if (caption_)
        caption_->SetText(title ? title : L"");
}

void CUpdMessageBox::SetCue(LPCWSTR cue)
{
    if (!cue_)
        return;
    std::wstring text = L"{b}{f 0}" + std::wstring(cue ? cue : L"提示信息") + L"{/f}{/b}";
    cue_->SetText(text.c_str());
}

void CUpdMessageBox::SetIcon(int kind)
{
    if (!typeImage_)
        return;
    const wchar_t* image = L"down\\information2.png";
    if (kind == UpdIconError)
        image = L"down\\error2.png";
    else if (kind == UpdIconWarning)
        image = L"down\\warning2.png";
    else if (kind == UpdIconQuestion)
        image = L"down\\question2.png";
    typeImage_->SetBkImage(image);
}

void CUpdMessageBox::AddButtons(int count)
{
    if (!buttons_)
        return;
    const ButtonSpec* specs = kOneButton;
    if (count == 2)
        specs = kTwoButtons;
    else if (count == 3)
        specs = kThreeButtons;
    else
        count = 1;
    for (int i = 0; i < count; ++i) {
        CButtonUI* button = new CButtonUI;
        button->ApplyAttributeList(kButtonAttributes);
        if (!buttons_->Add(button)) {
            delete button;
            continue;
        }
        button->SetText(specs[i].text);
        button->SetName(specs[i].name);
        button->SetPadding(RECT{specs[i].leftPadding, 4, 0, 0});
    }
}

void CUpdMessageBox::BindControls()
{
    icon_ = manager_.FindControl(L"Icon");
    caption_ = static_cast<CLabelUI*>(manager_.FindControl(L"Caption"));
    information_ = static_cast<CLabelUI*>(manager_.FindControl(L"Information"));
    cue_ = static_cast<CLabelUI*>(manager_.FindControl(L"Cue"));
    CControlUI* buttons = manager_.FindControl(L"buttom");
    buttons_ = buttons ? static_cast<CContainerUI*>(buttons->GetInterface(L"Container")) : nullptr;
    typeImage_ = manager_.FindControl(L"TypeImage");
    close_ = manager_.FindControl(L"Close");
}

LRESULT CUpdMessageBox::OnCreate()
{
    DropNativeCaption(m_hWnd);
    manager_.Init(m_hWnd);
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(L"UpdateMessageDlg.xml", nullptr, nullptr, &manager_);
    if (!root) {
        MessageBoxW(nullptr, L"程序已经损坏，请到官网重新下载！", L"错误信息", MB_OK);
        ShellExecuteW(nullptr, L"open", kProductHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        Close(UpdResultOk);
        return 0;
    }
    manager_.AttachRoot(root);
    manager_.AddNotifier(this);
    BindControls();
    return 0;
}

void CUpdMessageBox::OnButtonClick(CControlUI* sender)
{
    if (sender == close_ && close_) {
        Close(UpdResultCancel);
        return;
    }
    if (!buttons_)
        return;
    for (int i = 0; i < buttons_->GetCount(); ++i) {
        CControlUI* button = buttons_->GetItemAt(i);
        if (button != sender)
            continue;
        CStringUI name = button->GetName();
        if (name == L"OK" || name == L"YES")
            Close(UpdResultOk);
        else if (name == L"CANCEL" || name == L"NO")
            Close(UpdResultCancel);
        else if (name == L"Retry")
            Close(UpdResultRetry);
        return;
    }
}

void CUpdMessageBox::Notify(TNotifyRecUI& msg)
{
    if (msg.type == L"click")
        OnButtonClick(msg.sender);
}

LRESULT CUpdMessageBox::OnNcHitTest(LPARAM lParam)
{
    return CaptionHitTest(m_hWnd, manager_, lParam, kClientClasses);
}

LRESULT CUpdMessageBox::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (uMsg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        ApplyRoundCorners(m_hWnd, manager_);
        break;
    case WM_CLOSE:
        if (buttons_)
            buttons_->RemoveAll();
        break;
    case WM_GETMINMAXINFO:
        MaximizeToWorkArea(m_hWnd, lParam);
        break;
    case WM_NCHITTEST:
        return OnNcHitTest(lParam);
    case WM_NCACTIVATE:
        if (!IsIconic(m_hWnd))
            return wParam == 0;
        break;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN)
            Close(UpdResultOk);
        else if (wParam == VK_ESCAPE)
            Close(UpdResultCancel);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            Close(UpdResultCancel);
            return 0;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    default:
        break;
    }
    if (manager_.HandleWindowMessage(uMsg, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}
