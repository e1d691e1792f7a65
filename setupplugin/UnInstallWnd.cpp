#include "UnInstallWnd.h"

#include <string>

#include "PluginState.h"

CUnInstallWnd::CUnInstallWnd()
    : m_pClose(nullptr), m_p3q(nullptr), m_pUnsetup(nullptr), m_pFinBtn(nullptr), m_pProgress(nullptr),
      m_pStateMsg(nullptr), m_pFinMsg(nullptr), m_pKeptMsg(nullptr)
{ }

LPCWSTR CUnInstallWnd::GetSkinXml() const
{
    return L"unmain.xml";
}

LPCWSTR CUnInstallWnd::GetClosePrompt() const
{
    if (PluginState().phase == SetupPhaseChoosing) return L"Lumora 尚未卸载，是否确认退出卸载程序？";
    return L"卸载程序正在执行，是否确认退出卸载过程？";
}

bool CUnInstallWnd::InitControls()
{
    bool bAll = true;
    m_pClose = RequireControl(L"close", bAll);
    m_p3q = RequireControl(L"3q", bAll);
    m_pUnsetup = RequireControl(L"unsetup", bAll);
    m_pFinBtn = RequireControl(L"finbtn", bAll);
    m_pProgress = RequireControl(L"progress", bAll);
    m_pStateMsg = RequireControl(L"statemsg", bAll);
    m_pFinMsg = m_manager.FindControl(L"finmsg");
    m_pKeptMsg = m_manager.FindControl(L"keptmsg");
    return bAll;
}

CControlUI* CUnInstallWnd::GetDefaultButton() const
{
    return m_pFinBtn != nullptr && m_pFinBtn->IsVisible() ? m_pFinBtn : m_pUnsetup;
}

bool CUnInstallWnd::HandleOwnMessage(UINT uMsg, WPARAM, LPARAM, LRESULT& lRes)
{
    if (uMsg != WM_INSTALLER_FINISHED) return false;
    ShowFinished();
    lRes = 0;
    return true;
}

void CUnInstallWnd::Notify(TNotifyRecUI& msg)
{
    if (msg.type != NotifyClick || m_pStateMsg == nullptr) return;
    if (msg.sender == m_pClose)
        RequestClose();
    else if (msg.sender == m_pUnsetup)
        ShowWorking();
    else if (msg.sender == m_pFinBtn)
        Finish();
}

// The script uninstalls once ShowWnd returns.
void CUnInstallWnd::ShowWorking()
{
    m_pUnsetup->SetVisible(false);
    m_p3q->SetVisible(false);
    m_pStateMsg->SetVisible(true);
    m_pProgress->SetVisible(true);
    PluginState().phase = SetupPhaseWorking;
    StopPluginLoop();
}

void CUnInstallWnd::ShowFinished()
{
    if (m_pFinBtn == nullptr) return;
    PluginState().phase = SetupPhaseFinished;
    m_pFinBtn->SetVisible(true);
    m_pStateMsg->SetVisible(false);
    m_pProgress->SetVisible(false);
    if (m_pFinMsg != nullptr) m_pFinMsg->SetVisible(true);
    ShowWhatWasKept();
    FocusDefaultButton();
}

// The user's own files stay where they were: the page names the folder that
// still holds them, or the file of ours that could not go.
void CUnInstallWnd::ShowWhatWasKept()
{
    if (m_pFinMsg == nullptr || m_pKeptMsg == nullptr) return;
    const TPluginState& state = PluginState();
    std::wstring detail;
    if (!state.uninstallStuckFile.empty()) {
        m_pFinMsg->SetText(L"卸载未完成");
        detail = L"无法删除 " + state.uninstallStuckFile + L"：文件正被使用。请关闭 Lumora 后重新卸载。";
    } else if (!state.uninstallKeptFolder.empty()) {
        m_pFinMsg->SetText(L"卸载完成，部分文件已保留。");
        detail = L"不属于 Lumora 的文件仍保留在 " + state.uninstallKeptFolder + L"。";
    }
    m_pKeptMsg->SetText(detail.c_str());
    m_pKeptMsg->SetVisible(!detail.empty());
}
