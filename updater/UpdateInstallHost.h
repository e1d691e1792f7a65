// What the installation needs from the wizard: the facts of this run, the
// wizard's state it changes, and a way to do window work on the wizard's own
// thread, since the installation runs on a thread of its own.
#pragma once

#include <windows.h>

#include <string>

class CDownloadManager;

enum WizardPage {
    WizardPageConnecting = 0,
    WizardPageNewVersion = 1,
    WizardPageDownloading = 2,
    WizardPageInstalling = 3,
    WizardPageSuccess = 4,
    WizardPageNewest = 5,
};

class IUpdateInstallHost
{
public:
    virtual ~IUpdateInstallHost() { }

    // The run.
    virtual WORD GetUpdateMode() = 0;
    virtual bool IsInstallFromDownload() const = 0;
    virtual std::wstring GetInstallFolder() = 0;
    virtual std::wstring GetManifestPath() = 0;
    virtual CDownloadManager& GetDownloadManager() = 0;
    virtual HWND GetWindow() = 0;

    // Wizard state, safe from any thread.
    virtual void SetSetupFileNameForCleanup(const std::wstring& name) = 0;
    virtual void SetUpdateStarted(LONG value) = 0;
    // The installation closes the main program: leaving the wizard then must
    // not bring back a window that no longer exists, the setup restarts it.
    virtual void NoteMainProgramClosed() = 0;
    // Keeps the progress timer and starts the thread that reports the setup's
    // progress from it.
    virtual void StartProgressTimerThread(HANDLE timer) = 0;
    virtual void CloseWizard() = 0;

    // Wizard-thread work, given through RunOnDialog.
    virtual void SetCloseEnabled(bool enabled) = 0;
    virtual void SelectPage(int page) = 0;
    virtual void ShowAsAppWindow() = 0;
    virtual void CleanupUpdateFiles() = 0;
    // Watches the started setup package; takes the handle.
    virtual void WatchSetup(HANDLE process) = 0;

    // Runs `task` on the wizard's thread and waits for it.
    template <typename Task> void RunOnDialog(Task task);

protected:
    struct DialogTask
    {
        virtual ~DialogTask() { }
        virtual void Run() = 0;
    };
    virtual void RunTaskOnDialog(DialogTask& task) = 0;

private:
    template <typename Task> struct DialogTaskOf : DialogTask
    {
        explicit DialogTaskOf(Task& t) : task(t) { }
        void Run() override { task(); }
        Task& task;
    };
};

template <typename Task> void IUpdateInstallHost::RunOnDialog(Task task)
{
    DialogTaskOf<Task> wrapped(task);
    RunTaskOnDialog(wrapped);
}
