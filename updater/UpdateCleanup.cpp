#include "UpdateCleanup.h"

#include "AnsiText.h"
#include "DownloadManager.h"
#include "PendingInstall.h"
#include "ProcessRoutines.h"
#include "UpdateInstaller.h"

#include <process.h>
#include <shlwapi.h>

namespace {

const int kDeleteTries = 5;
const DWORD kDeleteRetryMs = 100;
const DWORD kCleanupWaitMs = 30000;

void DeleteMatching(const std::wstring& folder, const wchar_t* pattern)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + entry.cFileName).c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

// A program still running from the folder keeps its file; the rest goes.
void DeleteFilesNotRunning(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (FindProcessIdByName(entry.cFileName) != kNoProcessId) continue;
        DeleteFileW((folder + entry.cFileName).c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

std::wstring FileNamePart(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void DeleteWithRetries(const std::wstring& file)
{
    for (int attempt = 0; attempt < kDeleteTries; ++attempt) {
        BOOL ok = DeleteFileW(file.c_str());
        Sleep(kDeleteRetryMs);
        if (!PathFileExistsW(file.c_str()) || ok) return;
    }
}

// The caller is the wizard's thread and the setup being waited for reports
// its progress to the wizard with SendMessage: messages sent to this thread
// are handled while waiting, or the setup would stall until the time-out.
void WaitHandlingSentMessages(HANDLE object, DWORD limitMs)
{
    const DWORD started = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - started;
        if (elapsed >= limitMs) return;
        DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, limitMs - elapsed, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// The wizard runs in the install folder, which holds the record. The profile
// functions would look a bare file name up in the Windows folder instead, so
// the record is named by its full path.
bool SetupStillRecorded(const std::wstring& setupFile)
{
    wchar_t record[MAX_PATH] = {};
    DWORD length = GetFullPathNameW(kPendingInstallName, MAX_PATH, record, nullptr);
    if (length == 0 || length >= MAX_PATH) return true; // unknown: the setup stays rather than a record losing it
    std::wstring entry = CPendingInstall(record).ReadSetup();
    std::wstring recorded = entry.substr(0, entry.find(L'|'));
    return !recorded.empty() && _wcsicmp(FileNamePart(recorded).c_str(), FileNamePart(setupFile).c_str()) == 0;
}

struct SetupDeletion
{
    std::wstring setupFile;
};

unsigned __stdcall SetupDeletionThread(void* parameter)
{
    SetupDeletion* job = static_cast<SetupDeletion*>(parameter);
    WaitSetupAndDelete(job->setupFile, INFINITE);
    delete job;
    return 0;
}

} // namespace

void DeleteWorkingFiles(const std::wstring& manifestPath)
{
    CDownloadManager::DeleteListFile();
    if (!manifestPath.empty()) DeleteFileW(manifestPath.c_str());
    RemoveDirectoryW(L"cache");
}

void WaitSetupAndDelete(const std::wstring& setupFile, DWORD waitMs)
{
    if (setupFile.empty()) return;
    // A forced run keeps the whole path; the process list has only the name.
    DWORD processId = FindProcessIdByName(FileNamePart(setupFile).c_str());
    if (processId != kNoProcessId) {
        if (HANDLE thread = OpenFirstThreadOfProcess(processId)) {
            WaitForSingleObject(thread, waitMs);
            CloseHandle(thread);
        }
    }
    // A setup that ended without reporting its finish is still recorded: its
    // file stays for the next run, which starts it again.
    if (SetupStillRecorded(setupFile)) return;
    DeleteWithRetries(setupFile);
}

void CleanupWorkingFilesAndSetup(const std::wstring& manifestPath, const std::wstring& setupFile)
{
    DeleteWorkingFiles(manifestPath);
    SetupDeletion* job = new SetupDeletion{ setupFile };
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, SetupDeletionThread, job, 0, nullptr));
    if (!thread) {
        delete job;
        return;
    }
    WaitHandlingSentMessages(thread, kCleanupWaitMs);
    CloseHandle(thread);
}

void DeleteLeftoversOfWizard(const std::wstring& manifestPath, const std::wstring& installFolder,
                             const wchar_t* cacheName)
{
    if (!manifestPath.empty()) DeleteFileW(manifestPath.c_str());
    const std::wstring cache = installFolder + cacheName;
    // Without a download list no later run can resume a partial file: those
    // that stopped tasks left behind are only clutter.
    if (!PathFileExistsW((installFolder + FromAnsi(CDownloadManager::kListFileName)).c_str())) {
        for (const wchar_t* pattern : { L"*_tmp", L"*.Cfg" }) DeleteMatching(cache, pattern);
        // Nor is there a record of work left: a setup package that a stopped run's
        // clean-up never got to delete is clutter that would keep "cache" for good.
        if (!HasPendingInstall(installFolder)) DeleteFilesNotRunning(cache);
    }
    // The check makes "cache"; an empty one is not left behind, one with
    // downloads stays for the next run.
    RemoveDirectoryW(cache.c_str());
}
