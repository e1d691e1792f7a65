#include "UpdateProgressRelay.h"

#include <cwchar>
#include <cwctype>

#include "PluginState.h"

namespace {

const wchar_t kWizardOption[] = L"/updateDlg=";
const wchar_t kUpdaterWindowProperty[] = L"lumoravid_UpdateDlg";
// A wizard that stopped answering must not stall the install.
const UINT kSendTimeoutMs = 5000;

bool StartsOption(LPCWSTR pstrLine, LPCWSTR pstrAt)
{
    return pstrAt == pstrLine || std::iswspace(pstrAt[-1]) != 0;
}

} // namespace

HWND CUpdateProgressRelay::WizardOf(LPCWSTR pstrCommandLine)
{
    if (pstrCommandLine == nullptr) return nullptr;
    const size_t optionChars = wcslen(kWizardOption);
    for (LPCWSTR pstrAt = wcsstr(pstrCommandLine, kWizardOption); pstrAt != nullptr;
         pstrAt = wcsstr(pstrAt + 1, kWizardOption)) {
        if (!StartsOption(pstrCommandLine, pstrAt)) continue;
        LPCWSTR pstrNumber = pstrAt + optionChars;
        wchar_t* pstrEnd = nullptr;
        long long value = _wcstoi64(pstrNumber, &pstrEnd, 10);
        bool bWhole = pstrEnd != pstrNumber && (*pstrEnd == L'\0' || std::iswspace(*pstrEnd) != 0);
        if (!bWhole || value == 0) return nullptr;
        HWND hWizard = reinterpret_cast<HWND>(static_cast<LONG_PTR>(value));
        if (!::IsWindow(hWizard) || ::GetPropW(hWizard, kUpdaterWindowProperty) == nullptr) return nullptr;
        return hWizard;
    }
    return nullptr;
}

HWND CUpdateProgressRelay::Wizard()
{
    return WizardOf(::GetCommandLineW());
}

bool CUpdateProgressRelay::IsUpdateRun()
{
    return Wizard() != nullptr;
}

// The installer's bar reaches its end also when the install failed and the
// earlier files were put back: it never stands for a finished update.
void CUpdateProgressRelay::ReportCopyProgress(int position)
{
    ReportCopyProgressTo(Wizard(), position);
}

void CUpdateProgressRelay::ReportInstalled()
{
    ReportInstalledTo(Wizard());
}

void CUpdateProgressRelay::ReportCopyProgressTo(HWND hWizard, int position)
{
    if (position <= 0) return;
    LONG value = position >= static_cast<int>(kFinished) ? static_cast<LONG>(kFinished) - 1 : position;
    if (!Advance(value)) return;
    if (hWizard != nullptr) Send(hWizard, static_cast<DWORD>(value));
}

void CUpdateProgressRelay::ReportInstalledTo(HWND hWizard)
{
    if (!Advance(static_cast<LONG>(kFinished))) return;
    if (hWizard != nullptr) Send(hWizard, kFinished);
}

void CUpdateProgressRelay::Stop()
{
    ::InterlockedExchange(&PluginState().updateReported, kStopped);
}

// Values only grow, from whichever thread they come, and none follows a stop.
bool CUpdateProgressRelay::Advance(LONG value)
{
    volatile LONG& reported = PluginState().updateReported;
    for (;;) {
        LONG last = reported;
        if (last == kStopped || value <= last) return false;
        if (::InterlockedCompareExchange(&reported, value, last) == last) return true;
    }
}

void CUpdateProgressRelay::Send(HWND hWizard, DWORD value)
{
    COPYDATASTRUCT data = {};
    data.cbData = sizeof(value);
    data.lpData = &value;
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(hWizard, WM_COPYDATA, reinterpret_cast<WPARAM>(PluginState().nsisParentWindow),
                          reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
}
