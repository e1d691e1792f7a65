#include "InstallWnd.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

#include "InstallFolder.h"
#include "LicenseText.h"
#include "NsisStack.h"
#include "PluginState.h"
#include "UpdateProgressRelay.h"

namespace {

const int kPageFirst = 0;
const int kPageInstalling = 1;
const int kPageCustom = 2;
const int kPageFinished = 3;
const wchar_t kCustomEnabledText[] = L"{a}自定义安装>>{/a}";
// Not a link while disabled, and dimmed well below the links' light blue.
const wchar_t kCustomDisabledText[] = L"<c #7FA0BF>自定义安装>></c>";

template <class T> T* FindTyped(CWindowManagerUI& manager, LPCWSTR pstrName, LPCWSTR pstrInterface, bool& bAllFound)
{
    CControlUI* pControl = manager.FindControl(pstrName);
    T* pTyped = pControl != nullptr ? static_cast<T*>(pControl->GetInterface(pstrInterface)) : nullptr;
    if (pTyped == nullptr) bAllFound = false;
    return pTyped;
}

} // namespace

CInstallWnd::CInstallWnd()
    : m_bSpaceOk(false), m_pCaption(nullptr), m_pConLice(nullptr), m_pClose(nullptr), m_pSetup(nullptr),
      m_pStart(nullptr), m_pChangePath(nullptr), m_pBack(nullptr), m_pLicense(nullptr), m_pCustom(nullptr),
      m_pReturn(nullptr), m_pSpace(nullptr), m_pTabView(nullptr), m_pAgree(nullptr), m_pSetMainPage(nullptr),
      m_pAfterRun(nullptr), m_pPath(nullptr), m_pLicenseTxt(nullptr), m_pFinishTitle(nullptr), m_pFinishMsg(nullptr),
      m_pFinish(nullptr), m_pInstallMsg(nullptr), m_pAgain(nullptr)
{ }

LPCWSTR CInstallWnd::GetSkinXml() const
{
    return L"main.xml";
}

IDialogBuilderCallback* CInstallWnd::GetBuilderCallback()
{
    return &m_editBuilder;
}

LPCWSTR CInstallWnd::GetClosePrompt() const
{
    // Nothing runs yet while the user is still choosing.
    if (PluginState().phase == SetupPhaseChoosing) return L"Lumora 尚未安装，是否确认退出安装程序？";
    return L"安装程序正在执行，是否确认退出安装过程？";
}

bool CInstallWnd::FindControls()
{
    bool bAll = true;
    m_pCaption = RequireControl(L"caption", bAll);
    m_pConLice = RequireControl(L"ConLice", bAll);
    m_pClose = RequireControl(L"close", bAll);
    m_pSetup = RequireControl(L"setup", bAll);
    m_pStart = RequireControl(L"start", bAll);
    m_pChangePath = RequireControl(L"changepath", bAll);
    m_pBack = RequireControl(L"back", bAll);
    m_pLicense = RequireControl(L"license", bAll);
    m_pCustom = RequireControl(L"custom", bAll);
    m_pReturn = RequireControl(L"return", bAll);
    m_pSpace = FindTyped<CLabelUI>(m_manager, L"space", L"Label", bAll);
    m_pTabView = FindTyped<CTabLayoutUI>(m_manager, L"tabView", L"TabLayout", bAll);
    m_pAgree = FindTyped<COptionUI>(m_manager, L"agree", L"Option", bAll);
    m_pSetMainPage = FindTyped<COptionUI>(m_manager, L"setmainpage", L"Option", bAll);
    m_pAfterRun = FindTyped<COptionUI>(m_manager, L"afterrun", L"Option", bAll);
    m_pPath = FindTyped<CEditUI>(m_manager, L"path", L"Edit", bAll);
    m_pLicenseTxt = RequireControl(L"licenseTxt", bAll);
    m_pFinishTitle = m_manager.FindControl(L"finishtitle");
    m_pFinishMsg = m_manager.FindControl(L"finishmsg");
    m_pFinish = m_manager.FindControl(L"finish");
    m_pInstallMsg = m_manager.FindControl(L"installmsg");
    m_pAgain = m_manager.FindControl(L"again");
    return bAll;
}

bool CInstallWnd::InitControls()
{
    if (!FindControls()) return false;
    m_pPath->SetReadOnly(true);
    // A long folder keeps its last part in sight.
    m_pPath->SetTextStyle(m_pPath->GetTextStyle() | DT_PATH_ELLIPSIS);
    m_pPath->SetText(PluginState().defaultInstallFolder);
    // An update replaces the installation where it is.
    if (CUpdateProgressRelay::IsUpdateRun()) m_pChangePath->SetEnabled(false);
    m_pLicenseTxt->SetText(LicenseText());
    OnSelectChanged(m_pAgree);
    m_manager.SetDefaultLinkFont(m_manager.GetDefaultLinkFont(), kLinkColor, kLinkColor);
    if (PluginState().openOnFolderPage && !CUpdateProgressRelay::IsUpdateRun()) OpenOnFolderPage();
    return true;
}

// Started again after a failed install: the user goes on choosing where the
// earlier window left off. The folder's room is judged afresh, as for any
// folder shown.
void CInstallWnd::OpenOnFolderPage()
{
    const TPluginState& state = PluginState();
    m_pSetMainPage->Select(state.setupFlagMainPage != 0);
    m_pAfterRun->Select(state.setupFlagAfterRun != 0);
    ShowPage(kPageCustom);
    CheckFreeSpace();
}

void CInstallWnd::Notify(TNotifyRecUI& msg)
{
    // Notifications that arrive while the controls are still being looked up wait
    // for the lookup to finish, which repeats what they would do.
    if (m_pLicenseTxt == nullptr) return;
    switch (msg.type) {
    case NotifyClick: OnClick(msg.sender); break;
    case NotifySelectChanged: OnSelectChanged(msg.sender); break;
    case NotifyLink: OnLink(msg.sender); break;
    case NotifyTextChanged:
        if (msg.sender == m_pPath) CheckFreeSpace();
        break;
    default: break;
    }
}

void CInstallWnd::OnClick(CControlUI* pSender)
{
    if (pSender == m_pClose)
        RequestClose();
    else if (pSender == m_pFinish && m_pFinish != nullptr)
        Finish();
    else if (pSender == m_pSetup || pSender == m_pStart)
        StartInstall();
    else if (pSender == m_pBack)
        ShowLicense(false);
    else if (pSender == m_pChangePath)
        ChangeFolder();
}

void CInstallWnd::OnSelectChanged(CControlUI* pSender)
{
    TPluginState& state = PluginState();
    if (pSender == m_pAgree) {
        bool bAgreed = m_pAgree->IsSelected();
        m_pCustom->SetEnabled(bAgreed);
        m_pCustom->SetText(bAgreed ? kCustomEnabledText : kCustomDisabledText);
        UpdateStartButtons();
    } else if (pSender == m_pSetMainPage) {
        state.setupFlagMainPage = m_pSetMainPage->IsSelected() ? 1 : 0;
    } else if (pSender == m_pAfterRun) {
        state.setupFlagAfterRun = m_pAfterRun->IsSelected() ? 1 : 0;
    }
}

void CInstallWnd::OnLink(CControlUI* pSender)
{
    if (pSender == m_pLicense)
        ShowLicense(true);
    else if (pSender == m_pCustom && m_pAgree->IsSelected())
        ShowPage(kPageCustom);
    else if (pSender == m_pReturn)
        ResetCustomPage();
    else if (pSender == m_pAgain && m_pAgain != nullptr) {
        PluginState().chooseAnotherFolder = true;
        Finish();
    }
}

// Hands the folder to the script's function, then lets ShowWnd return so the
// script installs.
void CInstallWnd::StartInstall()
{
    TPluginState& state = PluginState();
    // The quick install goes by the same rule as the custom page: a folder
    // without room shows the custom page with the reason instead.
    CheckFreeSpace();
    if (!m_bSpaceOk) {
        ShowPage(kPageCustom);
        return;
    }
    ShowPage(kPageInstalling);
    // Painted now: once the script runs, the installer's own messages keep this
    // window's paint waiting, and the pressed button would stay on the screen.
    ::UpdateWindow(m_hWnd);
    state.phase = SetupPhaseWorking;
    CNsisStack(state.stackTop, state.stringSize).Push(m_pPath->GetText().GetData());
    // Without a script function there is nothing to run: address 0 would make
    // the installer jump to an address before its first instruction.
    if (state.extra != nullptr && state.extra->ExecuteCodeSegment != nullptr && state.scriptCallbackAddress > 0)
        state.extra->ExecuteCodeSegment(state.scriptCallbackAddress - 1, nullptr);
    StopPluginLoop();
}

void CInstallWnd::ShowLicense(bool bShow)
{
    m_pCaption->SetVisible(!bShow);
    m_pTabView->SetVisible(!bShow);
    m_pConLice->SetVisible(bShow);
    FocusDefaultButton();
}

void CInstallWnd::ShowPage(int iPage)
{
    m_pTabView->SelectItem(iPage);
    FocusDefaultButton();
}

void CInstallWnd::ResetCustomPage()
{
    TPluginState& state = PluginState();
    m_pSetMainPage->Select(true);
    m_pAfterRun->Select(true);
    state.setupFlagMainPage = 1;
    state.setupFlagAfterRun = 1;
    ShowPage(kPageFirst);
    m_pPath->SetText(state.defaultInstallFolder);
}

void CInstallWnd::ChangeFolder()
{
    std::wstring chosen = BrowseForFolder();
    if (chosen.empty()) return;
    m_pPath->SetText(ProposedFolder(chosen).c_str());
}

std::wstring CInstallWnd::ProposedFolder(const std::wstring& chosen)
{
    return CInstallFolder::Resolve(chosen);
}

std::wstring CInstallWnd::ExistingFolderOf(const std::wstring& path)
{
    return CInstallFolder::NearestExisting(path);
}

int CALLBACK CInstallWnd::BrowseCallback(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED && lpData != 0) ::SendMessageW(hWnd, BFFM_SETSELECTIONW, TRUE, lpData);
    return 0;
}

std::wstring CInstallWnd::BrowseForFolder()
{
    wchar_t display[MAX_PATH] = {};
    // Opens at the folder shown, or the nearest one of it that exists.
    std::wstring start = ExistingFolderOf(m_pPath->GetText().GetData());
    BROWSEINFOW info = {};
    info.hwndOwner = m_hWnd;
    info.pszDisplayName = display;
    info.lpszTitle = L"选择文件夹";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = &CInstallWnd::BrowseCallback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST pidl = ::SHBrowseForFolderW(&info);
    if (pidl == nullptr) return std::wstring();
    if (!::SHGetPathFromIDListW(pidl, display)) display[0] = L'\0';
    IMalloc* pMalloc = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&pMalloc)) && pMalloc != nullptr) {
        pMalloc->Free(pidl);
        pMalloc->Release();
    }
    return display;
}

CInstallWnd::TSpaceVerdict CInstallWnd::JudgeFreeSpace(bool bQueried, ULONGLONG freeBytes, ULONGLONG requiredBytes)
{
    return CRoomCheck::Judge(bQueried, freeBytes, requiredBytes);
}

void CInstallWnd::CheckFreeSpace()
{
    TSpaceVerdict verdict = CRoomCheck::Check(m_pPath->GetText().GetData(), PluginState().requiredFreeBytes);
    m_bSpaceOk = verdict.bEnough;
    m_pSpace->SetText(verdict.text.c_str());
    m_pSpace->SetTextColor(verdict.color);
    m_pSpace->Invalidate();
    UpdateStartButtons();
}

// Installing needs the licence accepted; "start" also needs room on the drive.
void CInstallWnd::UpdateStartButtons()
{
    bool bAgreed = m_pAgree->IsSelected();
    m_pSetup->SetEnabled(bAgreed);
    m_pStart->SetEnabled(bAgreed && m_bSpaceOk);
}

CControlUI* CInstallWnd::GetDefaultButton() const
{
    if (m_pConLice != nullptr && m_pConLice->IsVisible()) return m_pBack;
    if (m_pTabView == nullptr) return nullptr;
    switch (m_pTabView->GetCurSel()) {
    case kPageFirst: return m_pSetup;
    case kPageCustom: return m_pStart;
    case kPageFinished: return m_pFinish;
    default: return nullptr;
    }
}

void CInstallWnd::OnCloseDuringWork()
{
    if (m_pInstallMsg != nullptr) m_pInstallMsg->SetText(L"正在完成安装，完成后安装程序将自动退出……");
}

void CInstallWnd::ShowResult(LPCWSTR pstrFailure)
{
    if (m_pFinishTitle == nullptr || m_pFinishMsg == nullptr || m_pFinish == nullptr) {
        Finish();
        return;
    }
    bool bFailed = pstrFailure != nullptr && pstrFailure[0] != L'\0';
    std::wstring message;
    if (bFailed) {
        message = pstrFailure;
    } else {
        message = L"Lumora 已安装到 " + std::wstring(m_pPath->GetText().GetData()) + L"。";
    }
    m_pFinishTitle->SetText(bFailed ? L"安装未完成" : L"安装完成");
    if (m_pAgain != nullptr) m_pAgain->SetVisible(bFailed);
    m_pFinishMsg->SetText(message.c_str());
    ShowLicense(false);
    ShowPage(kPageFinished);
}
