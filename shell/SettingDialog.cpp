#include "SettingDialog.h"

#include <shellapi.h>

#include <cwchar>

#include "ClientVersion.h"
#include "ProgramGlobals.h"
#include "SettingsStore.h"
#include "WindowRegion.h"

namespace {

const wchar_t kTitle[] = L"软件设置";
const wchar_t kMarkup[] = L"dialog.xml";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"LUMORA";
const wchar_t kAutorunFailedText[] = L"设置开机自动运行失败!";
const wchar_t kAutorunFailedTitle[] = L"失败提示";
const int kGeneralPage = 0;
const int kPowerOffPage = 1;
const int kAboutPage = 2;
const int kHours = 24;
const int kMinutes = 60;

bool HasClass(const CControlUI* control, LPCWSTR className)
{
    return wcscmp(control->GetControlClass(), className) == 0;
}

template <class T> T* FindAs(CWindowManagerUI& manager, LPCWSTR name, LPCWSTR interfaceName)
{
    CControlUI* control = manager.FindControl(name);
    return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

// The combo box answers to no interface name of its own: its class name tells.
CComboUI* FindCombo(CWindowManagerUI& manager, LPCWSTR name)
{
    CControlUI* control = manager.FindControl(name);
    return control && HasClass(control, L"ComboUI") ? static_cast<CComboUI*>(control) : nullptr;
}

bool IsSelected(const COptionUI* option)
{
    return option->IsSelected();
}

struct FindDialogState
{
    HWND found;
};

BOOL CALLBACK FindDialogOfThread(HWND window, LPARAM lParam)
{
    wchar_t className[32] = {};
    wchar_t title[32] = {};
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, title, 32);
    if (wcscmp(className, L"Lumora") != 0 || wcscmp(title, kTitle) != 0) return TRUE;
    reinterpret_cast<FindDialogState*>(lParam)->found = window;
    return FALSE;
}

} // namespace

// ---------------------------------------------------------------------------
// Opening

void CSettingDialog::Open(HWND parent, bool startOnAbout)
{
    if (HWND open = OpenWindow()) {
        // The dialog is modal: a second request (the tray menu still works while
        // it is open) shows the one there is instead of nesting another loop.
        SetForegroundWindow(open);
        return;
    }
    CSettingDialog* dialog = new CSettingDialog(startOnAbout);
    dialog->m_modal = true;
    HWND window = dialog->Create(parent);
    if (!window) {
        delete dialog;
        return;
    }
    if (parent) EnableWindow(parent, FALSE);
    // The object outlives its window here: the loop still reads it after the
    // window is gone, so it is deleted only once the loop has ended.
    dialog->RunModalLoop();
    if (parent) EnableWindow(parent, TRUE);
    // A quit (the tray's "退出", the updater's quit request) ends the loop while
    // the window is still open. The program ends with it: window and object stay
    // together until then, so no message can reach freed memory, and the quit
    // does not wait for the window to be taken down (two seconds under Wine
    // without a window manager).
    if (IsWindow(window)) return;
    delete dialog;
}

HWND CSettingDialog::OpenWindow()
{
    FindDialogState state = { nullptr };
    EnumThreadWindows(GetCurrentThreadId(), FindDialogOfThread, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

CSettingDialog::CSettingDialog(bool startOnAbout) : m_startOnAbout(startOnAbout) { }

CSettingDialog::~CSettingDialog() = default;

HWND CSettingDialog::Create(HWND parent)
{
    m_parent = parent;
    return CSkinPopupWnd::Create(parent, kTitle, kStyle, kExStyle, 0, 0, kWidth, kHeight);
}

// ---------------------------------------------------------------------------
// Messages

bool CSettingDialog::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    switch (uMsg) {
    case WM_CLOSE:
        OnClose();
        lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        return true;
    case kColorSchemeMessage:
        if (m_initialized) ApplyColorScheme(wParam);
        lRes = 0;
        return true;
    default: return false;
    }
}

LPCWSTR CSettingDialog::GetSkinXml() const
{
    return kMarkup;
}

// A skin without the dialog's controls fails the creation instead of leaving
// a window that would use missing controls.
bool CSettingDialog::InitControls()
{
    if (!FindControls()) return false;
    m_initialized = true;
    ShowInitialState();
    return true;
}

bool CSettingDialog::FindControls()
{
    Controls& c = m_controls;
    c.main = m_manager.FindControl(L"main");
    c.caption = m_manager.FindControl(L"caption");
    c.controlBar = m_manager.FindControl(L"controlbar");
    c.close = m_manager.FindControl(L"close");
    c.sure = m_manager.FindControl(L"sure");
    c.giveUp = m_manager.FindControl(L"giveup");
    c.apply = m_manager.FindControl(L"apply");
    c.custom = FindAs<COptionUI>(m_manager, L"custom", L"Option");
    c.timeAuto = FindAs<COptionUI>(m_manager, L"timeauto", L"Option");
    c.aboutUs = FindAs<COptionUI>(m_manager, L"aboutus", L"Option");
    c.tabView = FindAs<CTabLayoutUI>(m_manager, L"tabView", L"TabLayout");
    c.minimize = FindAs<COptionUI>(m_manager, L"minimize", L"Option");
    c.exit = FindAs<COptionUI>(m_manager, L"exit", L"Option");
    c.autorun = FindAs<COptionUI>(m_manager, L"autorun", L"Option");
    c.topWenTv = FindAs<COptionUI>(m_manager, L"topwentv", L"Option");
    c.hour = FindCombo(m_manager, L"hour");
    c.minute = FindCombo(m_manager, L"minute");
    c.autoShutdown = FindAs<COptionUI>(m_manager, L"autoshotdown", L"Option");
    c.autoOff = FindAs<COptionUI>(m_manager, L"autooff", L"Option");
    c.about = FindAs<CTextUI>(m_manager, L"eee", L"Text");
    c.aboutVersion = m_manager.FindControl(L"aboutversion");
    return c.main && c.caption && c.controlBar && c.close && c.sure && c.giveUp && c.apply && c.custom && c.timeAuto &&
        c.aboutUs && c.tabView && c.minimize && c.exit && c.autorun && c.topWenTv && c.hour && c.minute &&
        c.autoShutdown && c.autoOff && c.about && c.aboutVersion;
}

void CSettingDialog::ShowInitialState()
{
    ShowSettings();
    m_controls.aboutVersion->SetText(AboutVersionText().c_str());
    CenterWindow();
    if (m_startOnAbout) SelectOneOf(m_controls.aboutUs, m_controls.custom);
    if (GlobalSettings) ApplyColorScheme(static_cast<WPARAM>(GlobalSettings->skincolor));
    EnableApply(false);
}

void CSettingDialog::ShowSettings()
{
    const SettingsStore* settings = GlobalSettings;
    if (settings) {
        if (settings->quit)
            SelectOneOf(m_controls.exit, m_controls.minimize);
        else
            SelectOneOf(m_controls.minimize, m_controls.exit);
        m_controls.topWenTv->Select(settings->topwentv);
    }
    // What starts with Windows is what the registry holds, whatever was saved.
    m_controls.autorun->Select(RunValuePresent());
    FillNumbers(m_controls.hour, kHours, settings ? settings->poweroffhour : -1);
    FillNumbers(m_controls.minute, kMinutes, settings ? settings->poweroffminute : -1);
    if (settings && settings->powerOffArmed)
        SelectOneOf(m_controls.autoShutdown, m_controls.autoOff);
    else
        SelectOneOf(m_controls.autoOff, m_controls.autoShutdown);
}

// A group only clears the siblings it can see, and the pages behind the
// shown one are hidden: the pair is set explicitly.
void CSettingDialog::SelectOneOf(COptionUI* on, COptionUI* off)
{
    off->Select(false);
    on->Select(true);
}

// A stored number outside the list (a hand-edited or damaged "cfg.db")
// selects nothing rather than the nearest entry, so Apply cannot turn it into
// a power-off time the user never chose.
void CSettingDialog::FillNumbers(CComboUI* combo, int count, int selected)
{
    combo->RemoveAll();
    for (int i = 0; i < count; ++i) {
        CListLabelElementUI* element = new CListLabelElementUI();
        wchar_t text[8] = {};
        swprintf(text, 8, L"%d", i);
        element->SetText(text);
        if (!combo->Add(element)) delete element;
    }
    if (selected >= 0 && selected < combo->GetCount()) combo->SelectItem(selected);
}

void CSettingDialog::ApplyColorScheme(WPARAM index)
{
    const CColorScheme* scheme = CColorScheme::At(index);
    if (!scheme) return; // no such scheme: the colours stay
    m_controls.main->SetBkColor(scheme->dwWindow);
    m_controls.main->SetBorderColor(scheme->dwWindow);
    m_controls.caption->SetBkColor(scheme->dwCaption);
    m_controls.controlBar->SetBorderColor(scheme->dwWindow);
    m_controls.main->Invalidate();
}

void CSettingDialog::ApplyWindowRegion()
{
    CWindowRegion::ApplyMainShape(m_hWnd);
}

// The skinned background moves the dialog; what it shows to use does not.
bool CSettingDialog::IsCaptionPoint(POINT pt, const RECT& rcClient) const
{
    if (!PtInRect(&rcClient, pt)) return false;
    CControlUI* control = m_manager.FindControlAt(pt);
    return control && !HasClass(control, L"ButtonUI") && !HasClass(control, L"OptionUI") &&
        !HasClass(control, L"TextUI") && !HasClass(control, L"ComboUI");
}

// The owner comes back before this window goes, so the system activates it
// rather than some other program's window.
void CSettingDialog::OnClose()
{
    if (m_modal && m_parent) EnableWindow(m_parent, TRUE);
}

// Open's modal loop still reads the object after the window is gone.
bool CSettingDialog::IsDeletedWithWindow() const
{
    return !m_modal;
}

// ---------------------------------------------------------------------------
// Notifications

void CSettingDialog::Notify(TNotifyRecUI& msg)
{
    if (!m_initialized || !msg.sender) return;
    switch (msg.type) {
    case NotifySelectChanged: OnSelectChanged(msg.sender); break;
    case NotifyItemSelect:
        // A new power-off time is a change like any other.
        if (msg.sender == m_controls.hour || msg.sender == m_controls.minute) EnableApply(true);
        break;
    case NotifyClick: OnClick(msg.sender); break;
    case NotifyLink: OnLink(msg.sender, msg.wParam); break;
    default: break;
    }
}

void CSettingDialog::OnSelectChanged(CControlUI* sender)
{
    if (sender == m_controls.custom)
        SelectPage(kGeneralPage);
    else if (sender == m_controls.timeAuto)
        SelectPage(kPowerOffPage);
    else if (sender == m_controls.aboutUs)
        SelectPage(kAboutPage);
    else
        EnableApply(true);
}

void CSettingDialog::OnClick(CControlUI* sender)
{
    EnableApply(true);
    if (sender == m_controls.close || sender == m_controls.giveUp) {
        CloseBySysCommand();
    } else if (sender == m_controls.sure) {
        Apply();
        CloseBySysCommand();
    } else if (sender == m_controls.apply) {
        Apply();
    }
}

void CSettingDialog::OnLink(CControlUI* sender, WPARAM link)
{
    if (sender != m_controls.about || link >= static_cast<WPARAM>(m_controls.about->GetLinkCount())) return;
    LPCWSTR address = m_controls.about->GetLinkContent(static_cast<int>(link));
    if (!address || !*address) return;
    ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void CSettingDialog::SelectPage(int page)
{
    m_controls.tabView->SelectItem(page);
}

void CSettingDialog::EnableApply(bool enable)
{
    m_controls.apply->SetEnabled(enable);
}

// ---------------------------------------------------------------------------
// Apply

void CSettingDialog::Apply()
{
    if (!m_initialized) return;
    if (GlobalSettings) {
        SettingsStore& settings = *GlobalSettings;
        settings.quit = !IsSelected(m_controls.minimize);
        settings.topwentv = IsSelected(m_controls.topWenTv);
        settings.poweroffhour = m_controls.hour->GetCurSel();
        settings.poweroffminute = m_controls.minute->GetCurSel();
        settings.powerOffArmed = IsSelected(m_controls.autoShutdown);
        if (settings.powerOffArmed) PostToParent(kArmPowerOffMessage);
        settings.autorun = UpdateRunValue(IsSelected(m_controls.autorun));
        m_controls.autorun->Select(settings.autorun);
        PostToParent(kApplyTopMostMessage);
        settings.Save();
    }
    EnableApply(false);
}

// Returns whether the program starts with Windows afterwards.
bool CSettingDialog::UpdateRunValue(bool on)
{
    HKEY key = nullptr;
    REGSAM access = on ? KEY_SET_VALUE : KEY_SET_VALUE | KEY_QUERY_VALUE;
    LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, RunKeyPath().c_str(), 0, access, &key);
    if (!on) {
        // A value that is not there is already what the user asked for.
        if (opened == ERROR_SUCCESS) RegDeleteValueW(key, kRunValue);
    } else {
        bool written = false;
        if (opened == ERROR_SUCCESS && ModulePath) {
            // Quoted: the system splits an unquoted command line at its first space
            // and would start "C:\Program.exe" for a program under "C:\Program Files".
            std::wstring command = L"\"" + std::wstring(ModulePath) + L"\"";
            DWORD bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
            written = RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                     bytes) == ERROR_SUCCESS;
        }
        if (!written) ReportAutorunFailure();
    }
    if (key) RegCloseKey(key);
    return RunValuePresent();
}

bool CSettingDialog::RunValuePresent() const
{
    return RegGetValueW(HKEY_LOCAL_MACHINE, RunKeyPath().c_str(), kRunValue, RRF_RT_REG_SZ, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

std::wstring CSettingDialog::RunKeyPath() const
{
    return kRunKey;
}

void CSettingDialog::ReportAutorunFailure()
{
    MessageBoxW(nullptr, kAutorunFailedText, kAutorunFailedTitle, MB_OK);
}

void CSettingDialog::PostToParent(UINT message)
{
    if (m_parent) PostMessageW(m_parent, message, 0, 0);
}
