#pragma once
#include <windows.h>

// An update run of the installer: the updater starts it with " /updateDlg="
// and the decimal handle of its wizard, and the wizard follows the install by
// WM_COPYDATA, each carrying one 32-bit value from 1 to 30000. The copy's
// progress stays below 30000; 30000 goes only once the new files, the
// registry entries and the shortcuts are all in place. After a failure
// nothing more is sent, so the wizard sees the setup end without finishing.
// The installer calls in from its window thread (its progress bar) and from
// the thread that runs the install, hence the interlocked state.
class CUpdateProgressRelay
{
public:
    static constexpr DWORD kFinished = 30000;
    static constexpr LONG kStopped = -1;

    // The wizard named on the command line: a live window carrying the
    // updater's property. Null for an ordinary install, and for a handle that
    // names no window or another program's window.
    static HWND WizardOf(LPCWSTR pstrCommandLine);
    static HWND Wizard();
    static bool IsUpdateRun();

    // The copy reached this position of the installer's 0..30000 range.
    static void ReportCopyProgress(int position);
    // The installation is complete.
    static void ReportInstalled();
    // The install failed or was cancelled.
    static void Stop();

    // As above, to the wizard given; a null one is told nothing.
    static void ReportCopyProgressTo(HWND hWizard, int position);
    static void ReportInstalledTo(HWND hWizard);

private:
    static bool Advance(LONG value);
    static void Send(HWND hWizard, DWORD value);
};
