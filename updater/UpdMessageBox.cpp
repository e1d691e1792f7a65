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

struct ButtonSpec
{
    const wchar_t* text;
    const wchar_t* name;
    int leftPadding;
};

const ButtonSpec kOneButton[] = { { L"确定", L"OK", 140 } };
const ButtonSpec kTwoButtons[] = { { L"重试", L"Retry", 80 }, { L"取消", L"CANCEL", 60 } };
const ButtonSpec kThreeButtons[] = { { L"是", L"YES", 54 }, { L"否", L"NO", 20 }, { L"取消", L"CANCEL", 20 } };

const wchar_t* const kClientClasses[] = { L"ButtonUI", L"OptionUI", L"TextUI", nullptr };

} // namespace

int ShowUpdMessageBox(LPCWSTR text, LPCWSTR title, LPCWSTR cue, int iconKind, HWND owner, int buttonCount)
{
    CUpdMessageBox* box = new (std::nothrow) CUpdMessageBox;
    if (!box) return UpdResultNoMemory;
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
    if (IsWindow(window)) SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
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
    if (!m_information) return;
    m_information->SetText(text);
    if (asError) m_information->SetTextColor(kErrorTextColor);
}

void CUpdMessageBox::SetCaption(LPCWSTR title)
{
    if (m_caption) m_caption->SetText(title ? title : L"");
}

void CUpdMessageBox::SetCue(LPCWSTR cue)
{
    if (!m_cue) return;
    std::wstring text = L"{b}{f 0}" + std::wstring(cue ? cue : L"提示信息") + L"{/f}{/b}";
    m_cue->SetText(text.c_str());
}

void CUpdMessageBox::SetIcon(int kind)
{
    if (!m_typeImage) return;
    const wchar_t* image = L"down\\information2.png";
    if (kind == UpdIconError)
        image = L"down\\error2.png";
    else if (kind == UpdIconWarning)
        image = L"down\\warning2.png";
    else if (kind == UpdIconQuestion)
        image = L"down\\question2.png";
    m_typeImage->SetBkImage(image);
}

void CUpdMessageBox::AddButtons(int count)
{
    if (!m_buttons) return;
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
        if (!m_buttons->Add(button)) {
            delete button;
            continue;
        }
        button->SetText(specs[i].text);
        button->SetName(specs[i].name);
        button->SetPadding(RECT{ specs[i].leftPadding, 4, 0, 0 });
    }
}

void CUpdMessageBox::BindControls()
{
    m_icon = m_manager.FindControl(L"Icon");
    m_caption = static_cast<CLabelUI*>(m_manager.FindControl(L"Caption"));
    m_information = static_cast<CLabelUI*>(m_manager.FindControl(L"Information"));
    m_cue = static_cast<CLabelUI*>(m_manager.FindControl(L"Cue"));
    CControlUI* buttons = m_manager.FindControl(L"buttom");
    m_buttons = buttons ? static_cast<CContainerUI*>(buttons->GetInterface(L"Container")) : nullptr;
    m_typeImage = m_manager.FindControl(L"TypeImage");
    m_close = m_manager.FindControl(L"Close");
}

LRESULT CUpdMessageBox::OnCreate()
{
    DropNativeCaption(m_hWnd);
    m_manager.Init(m_hWnd);
    CSkinBuilderUI builder;
    CControlUI* root = builder.Build(L"UpdateMessageDlg.xml", nullptr, nullptr, &m_manager);
    if (!root) {
        MessageBoxW(nullptr, L"程序已经损坏，请到官网重新下载！", L"错误信息", MB_OK);
        ShellExecuteW(nullptr, L"open", kProductHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        Close(UpdResultOk);
        return 0;
    }
    m_manager.AttachRoot(root);
    m_manager.AddNotifier(this);
    BindControls();
    return 0;
}

void CUpdMessageBox::OnButtonClick(CControlUI* sender)
{
    if (sender == m_close && m_close) {
        Close(UpdResultCancel);
        return;
    }
    if (!m_buttons) return;
    for (int i = 0; i < m_buttons->GetCount(); ++i) {
        CControlUI* button = m_buttons->GetItemAt(i);
        if (button != sender) continue;
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
    if (msg.type == L"click") OnButtonClick(msg.sender);
}

LRESULT CUpdMessageBox::OnNcHitTest(LPARAM lParam)
{
    return CaptionHitTest(m_hWnd, m_manager, lParam, kClientClasses);
}

LRESULT CUpdMessageBox::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (uMsg) {
    case WM_CREATE: return OnCreate();
    case WM_SIZE: ApplyRoundCorners(m_hWnd, m_manager); break;
    case WM_CLOSE:
        if (m_buttons) m_buttons->RemoveAll();
        break;
    case WM_GETMINMAXINFO: MaximizeToWorkArea(m_hWnd, lParam); break;
    case WM_NCHITTEST: return OnNcHitTest(lParam);
    case WM_NCACTIVATE:
        if (!IsIconic(m_hWnd)) return wParam == 0;
        break;
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return 0;
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
    default: break;
    }
    if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}
