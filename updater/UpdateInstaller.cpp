#include "UpdateInstaller.h"

#include "AnsiText.h"
#include "AppDirectory.h"
#include "DownloadManager.h"
#include "ManagerLock.h"
#include "FileDigest.h"
#include "ManifestEntries.h"
#include "ManifestRules.h"
#include "ManifestSignature.h"
#include "PendingInstall.h"
#include "ProcessRoutines.h"
#include "SafeFileName.h"
#include "SetupProgressTimer.h"
#include "UpdMessageBox.h"
#include "UpdateCleanup.h"
#include "UpdateInstallHost.h"
#include "UpdateManifest.h"
#include "UpdaterTestSeams.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

const wchar_t kPendingInstallName[] = L"uprelay.ini";

namespace {

std::wstring ReadString(const std::wstring& file, const wchar_t* section, const std::wstring& key,
                        DWORD capacity = MAX_PATH)
{
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    GetPrivateProfileStringW(section, key.c_str(), L"", buffer.data(), capacity, file.c_str());
    return buffer.data();
}

void Write(const std::wstring& file, const wchar_t* section, const std::wstring& key, const std::wstring& value)
{
    WritePrivateProfileStringW(section, key.c_str(), value.c_str(), file.c_str());
}

void Open(const std::wstring& file, const std::wstring& arguments)
{
    ShellExecuteW(nullptr, L"open", file.c_str(), arguments.empty() ? nullptr : arguments.c_str(), nullptr,
                  SW_SHOWNORMAL);
}

// Starts a program as Open does and hands back its process, or null.
HANDLE OpenWatched(const std::wstring& file, const std::wstring& arguments)
{
    SHELLEXECUTEINFOW info = { sizeof(info) };
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) ? info.hProcess : nullptr;
}

bool Move(const std::wstring& source, const std::wstring& target)
{
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
}

// A target folder from the download list must not climb out with "..".
bool HasParentStep(const std::wstring& path)
{
    size_t at = 0;
    while ((at = path.find(L"..", at)) != std::wstring::npos) {
        bool startsElement = at == 0 || path[at - 1] == L'\\' || path[at - 1] == L'/';
        bool endsElement = at + 2 == path.size() || path[at + 2] == L'\\' || path[at + 2] == L'/';
        if (startsElement && endsElement) return true;
        at += 2;
    }
    return false;
}

std::wstring FileNamePart(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The updater's log, as for refused manifest entries: the debug output.
void LogUpdateFailure(const std::wstring& text)
{
    OutputDebugStringW((L"lumoraupd: " + text + L"\n").c_str());
}

} // namespace

ProgramList ReadProgramList(const CManifestEntries& manifest)
{
    ProgramList programs;
    for (int i = 1; i <= manifest.RunCount(); ++i) {
        std::wstring value = manifest.RunValue(L"FILE", i);
        if (value.empty()) continue;
        std::wstring name, arguments;
        SplitSetupEntry(value, L' ', name, arguments);
        programs[name] = arguments;
    }
    return programs;
}

void SplitSetupEntry(const std::wstring& entry, wchar_t separator, std::wstring& file, std::wstring& arguments)
{
    size_t at = entry.find(separator);
    file = entry.substr(0, at);
    arguments = at == std::wstring::npos ? std::wstring() : entry.substr(at + 1);
}

std::wstring BuildSetupCommandLine(const std::wstring& arguments, HWND window)
{
    return arguments + L" /updateDlg=" + std::to_wstring(reinterpret_cast<LONG_PTR>(window));
}

bool IsFileDirectlyIn(const std::wstring& path, const std::wstring& folder)
{
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || !IsSafeFileName(path.substr(slash + 1))) return false;
    return _wcsicmp(path.substr(0, slash + 1).c_str(), WithTrailingSlash(folder).c_str()) == 0;
}

CUpdateInstaller::CUpdateInstaller(IUpdateInstallHost& dialog)
    : m_dialog(dialog), m_installFolder(WithTrailingSlash(dialog.GetInstallFolder())),
      m_pendingPath(m_installFolder + kPendingInstallName), m_forced(dialog.GetUpdateMode() == UpdateModeForced),
      m_fromDownload(dialog.IsInstallFromDownload())
{ }

std::wstring CUpdateInstaller::CacheFolder() const
{
    return m_installFolder + L"cache\\";
}

// Only files the updater itself downloaded into "cache" are moved, and only to
// a folder without ".." steps.
bool CUpdateInstaller::TargetFor(const std::wstring& listName, const std::wstring& downloadPath,
                                 const std::wstring& copyPath, std::wstring& source, std::wstring& target) const
{
    if (!IsSafeFileName(listName) || _wcsicmp(WithTrailingSlash(downloadPath).c_str(), CacheFolder().c_str()) != 0)
        return false;
    if (HasParentStep(copyPath)) return false;
    if (!copyPath.empty() && !PathFileExistsW(copyPath.c_str())) CreateDirectoryW(copyPath.c_str(), nullptr);
    source = CacheFolder() + listName;
    target = copyPath.empty() ? m_installFolder + listName : WithTrailingSlash(copyPath) + listName;
    return true;
}

std::vector<PendingMove> CUpdateInstaller::CollectFinishedMoves(const ProgramList& programs)
{
    std::vector<PendingMove> moves;
    CDownloadManager& manager = m_dialog.GetDownloadManager();
    ManagerLock hold(manager);
    for (const auto& entry : manager.Finished()) {
        const CompletedDownload& done = entry.second;
        PendingMove move;
        std::wstring listName = FromAnsi(done.listName);
        if (!TargetFor(listName, FromAnsi(done.downloadPath), done.copyPath, move.source, move.target)) continue;
        manager.ExpectedDigest(entry.first, move.digest);
        auto program = programs.find(listName);
        if (program != programs.end()) {
            move.run = true;
            move.arguments = program->second;
        }
        moves.push_back(move);
    }
    return moves;
}

// Every move is recorded before the first is made; a file that cannot be
// moved now (in use) stays in "cache" and in the record for the next run. A
// forced run only records the programs to run, as the replay starts them.
void CUpdateInstaller::InstallFinishedDownloads(const ProgramList& programs)
{
    std::vector<PendingMove> moves = CollectFinishedMoves(programs);
    if (moves.empty()) return;
    CPendingInstall(m_pendingPath).RecordMoves(moves);
    bool movedOne = false;
    for (const PendingMove& move : moves) {
        if (m_forced && move.run) continue;
        if (movedOne) TestKillPoint("move");
        // "cache" may have changed since the download ended: only the bytes
        // the manifest names go into the program folder.
        if (!FileMatchesDigest(move.source, move.digest) || !Move(move.source, move.target)) continue;
        movedOne = true;
        if (move.run) Open(move.target, move.arguments);
    }
}

// "Not now" in a forced run: nothing is moved and the main program keeps
// running; the record holds the whole installation for the next run.
void CUpdateInstaller::PostponeInstallation(const ProgramList& programs, const std::wstring& setupEntry)
{
    CPendingInstall pending(m_pendingPath);
    pending.RecordMoves(CollectFinishedMoves(programs));
    std::wstring file, arguments;
    SplitSetupEntry(setupEntry, L' ', file, arguments);
    pending.RecordSetup(m_installFolder + file + L"|" + arguments);
    RecordSetupDigest(pending);
    m_dialog.CloseWizard();
}

// A record that runs have begun to replay kMaxReplays times without getting
// through is dropped: the main program, not yet closed by this run, stays.
void CUpdateInstaller::GiveUpReplay()
{
    CPendingInstall pending(m_pendingPath);
    std::wstring setupFile, arguments;
    SplitSetupEntry(pending.ReadSetup(), L'|', setupFile, arguments);
    LogUpdateFailure(L"the recorded installation was begun " + std::to_wstring(pending.ReplaysBegun()) +
                     L" times and never finished; its record is dropped (setup \"" + setupFile + L"\")");
    pending.Delete();
    if (IsFileDirectlyIn(setupFile, m_installFolder) &&
        FindProcessIdInFolder(FileNamePart(setupFile).c_str(), m_installFolder) == kNoProcessId)
        DeleteFileW(setupFile.c_str());
    m_dialog.RunOnDialog([this]() { m_dialog.CleanupUpdateFiles(); });
    m_dialog.CloseWizard();
}

void CUpdateInstaller::RecordSetupDigest(CPendingInstall& pending)
{
    FileDigest digest;
    if (m_manifest.EntryDigest(0, digest)) pending.RecordSetupDigest(digest);
}

// Before anything is closed or moved: the manifest is still the signed one,
// and every finished download still has the bytes it names.
bool CUpdateInstaller::DownloadsStillVerified()
{
    if (!CManifestSignature::WithBuiltInKey().VerifyFile(m_dialog.GetManifestPath())) {
        LogManifestRefusal(L"manifest changed after its check", m_dialog.GetManifestPath());
        return false;
    }
    CDownloadManager& manager = m_dialog.GetDownloadManager();
    ManagerLock hold(manager);
    for (const auto& entry : manager.Finished()) {
        FileDigest digest;
        // A download this manifest does not ask for (one an earlier, stopped
        // run left in the list) has no digest here and is never moved: each
        // move checks its bytes. It must not refuse the downloads that count.
        if (!manager.ExpectedDigest(entry.first, digest)) continue;
        std::wstring file = FromAnsi(entry.second.downloadPath + entry.second.listName);
        if (!FileMatchesDigest(file, digest)) {
            LogManifestRefusal(L"download that does not match the manifest", file);
            return false;
        }
    }
    return true;
}

// What does not match is not installed, nor kept for a later run; the main
// program was not touched.
void CUpdateInstaller::RefuseUnverifiedDownloads()
{
    CDownloadManager& manager = m_dialog.GetDownloadManager();
    std::vector<std::string> files;
    manager.Lock();
    for (const auto& entry : manager.Finished()) {
        // Only our own downloads in "cache", whatever the list file says.
        std::wstring source, target;
        if (TargetFor(FromAnsi(entry.second.listName), FromAnsi(entry.second.downloadPath), std::wstring(), source,
                      target))
            files.push_back(ToAnsi(source));
    }
    manager.Unlock();
    for (const std::string& file : files) DeleteFileA(file.c_str());
    manager.ClearAllDownloads();
    CDownloadManager::DeleteListFile();
    CPendingInstall(m_pendingPath).DeleteWhenDone();
    if (!m_forced) {
        HWND owner = m_dialog.GetWindow();
        m_dialog.RunOnDialog([owner]() { ShowUpdMessageBox(L"下载更新失败！", L"错误", L"更新程序", 1, owner, 1); });
        m_dialog.SetUpdateStarted(0);
    }
    m_dialog.CloseWizard();
}

bool CUpdateInstaller::SetupStillVerified(const std::wstring& setupPath)
{
    FileDigest digest;
    bool known =
        m_fromDownload ? CPendingInstall(m_pendingPath).ReadSetupDigest(digest) : m_manifest.EntryDigest(0, digest);
    if (known && FileMatchesDigest(setupPath, digest)) return true;
    LogManifestRefusal(L"setup that does not match the manifest", setupPath);
    return false;
}

bool CUpdateInstaller::ReplayPendingInstall()
{
    CPendingInstall pending(m_pendingPath);
    if (pending.ReplaysBegun() >= CPendingInstall::kMaxReplays) {
        GiveUpReplay();
        return false;
    }
    pending.NoteReplayBegun();
    m_dialog.NoteMainProgramClosed();
    CloseMainProgram(m_installFolder);
    std::vector<PendingMove> moves = pending.ReadMoves();
    for (size_t i = moves.size(); i-- > 0;) {
        const PendingMove& move = moves[i];
        // The file may be edited by anyone: move only our own downloads, under
        // their own names, into the install folder.
        if (!IsFileDirectlyIn(move.source, CacheFolder()) || HasParentStep(move.target) ||
            _wcsicmp(FileNamePart(move.target).c_str(), FileNamePart(move.source).c_str()) != 0 ||
            !IsTargetInsideInstallFolder(move.target.substr(0, move.target.size() - FileNamePart(move.target).size()),
                                         m_installFolder)) {
            LogManifestRefusal(L"recorded move", move.source + L"|" + move.target);
            continue;
        }
        if (!PathFileExistsW(move.source.c_str())) continue; // moved before the run was stopped
        if (!FileMatchesDigest(move.source, move.digest)) {
            // Never installed, and not kept either: a file left in "cache"
            // would make every later start replay the record again.
            LogManifestRefusal(L"recorded move whose bytes changed", move.source);
            DeleteFileW(move.source.c_str());
            continue;
        }
        if (!Move(move.source, move.target)) continue;
        if (move.run) Open(move.target, move.arguments);
    }
    if (!pending.ReadSetup().empty()) return true;
    pending.DeleteWhenDone();
    m_dialog.RunOnDialog([this]() { m_dialog.CleanupUpdateFiles(); });
    Open(m_installFolder + kMainProgramExe, std::wstring());
    m_dialog.CloseWizard();
    return false;
}

void CUpdateInstaller::ArmProgressTimer()
{
    HANDLE timer = CreateSetupProgressTimer();
    if (!timer) return;
    m_dialog.StartProgressTimerThread(timer);
    ArmSetupProgressTimer(timer);
}

bool CUpdateInstaller::AskRestartNow()
{
    int answer = 0;
    HWND owner = m_dialog.GetWindow();
    m_dialog.RunOnDialog([&answer, owner]() {
        answer = ShowUpdMessageBox(L"程序功能模块更新，需要重新启动软件！", L"提示", L"更新", 2, owner, 3);
    });
    return answer == 1;
}

// In every mode the wizard follows the setup to its end: it waits for the
// setup's reports, and watches the process, so a setup that ends without
// reporting does not keep it waiting and the main program it closed runs
// again. The record says "running" before the setup starts: a setup that ran
// is never started again from it.
void CUpdateInstaller::StartSetup(const std::wstring& setupPath, const std::wstring& commandLine)
{
    m_dialog.NoteMainProgramClosed();
    CloseMainProgram(m_installFolder);
    CPendingInstall(m_pendingPath).MarkSetupRunning();
    m_dialog.SetSetupFileNameForCleanup(setupPath);
    HANDLE process = OpenWatched(setupPath, commandLine);
    if (process) m_dialog.RunOnDialog([this, process]() { m_dialog.WatchSetup(process); });
}

// The setup is recorded before anything is moved, so a run stopped between
// the moves still starts it next time.
void CUpdateInstaller::RecordSetupAhead()
{
    std::wstring file, arguments;
    SplitSetupEntry(m_manifest.Run().Value(L"NAME", MAX_PATH), L' ', file, arguments);
    if (file.empty() || !IsSafeSetupName(file)) return;
    CPendingInstall pending(m_pendingPath);
    pending.RecordSetup(m_installFolder + file + L"|" + arguments);
    RecordSetupDigest(pending);
}

// After the setup was started (or could not be), the record keeps only what
// is still to do.
void CUpdateInstaller::ForgetSetup()
{
    CPendingInstall pending(m_pendingPath);
    pending.MarkSetupStarted();
    pending.DeleteWhenDone();
}

void CUpdateInstaller::EndWithoutSetup()
{
    CPendingInstall(m_pendingPath).DeleteWhenDone();
    if (!m_forced) {
        m_dialog.SetUpdateStarted(0);
        return;
    }
    // The main program was closed for the moves; a hidden forced run ends here.
    m_dialog.RunOnDialog([this]() { m_dialog.CleanupUpdateFiles(); });
    Open(m_installFolder + kMainProgramExe, std::wstring());
    m_dialog.CloseWizard();
}

void CUpdateInstaller::InstallUpdate()
{
    m_dialog.RunOnDialog([this]() { m_dialog.SetCloseEnabled(false); });
    const std::wstring manifest = m_dialog.GetManifestPath();
    if (m_fromDownload) {
        if (!ReplayPendingInstall()) return;
    } else {
        if (!DownloadsStillVerified()) {
            RefuseUnverifiedDownloads();
            return;
        }
        // Read once its signature holds again, and used for all that follows.
        m_manifest = CManifestEntries(manifest);
        ProgramList programs = ReadProgramList(m_manifest);
        std::wstring setupEntry = m_manifest.Run().Value(L"NAME", MAX_PATH);
        if (m_forced && !setupEntry.empty() && !AskRestartNow()) {
            PostponeInstallation(programs, setupEntry);
            return;
        }
        // Every mode closes the main program before a file of it is replaced.
        m_dialog.NoteMainProgramClosed();
        CloseMainProgram(m_installFolder);
        RecordSetupAhead();
        InstallFinishedDownloads(programs);
    }

    std::wstring entry =
        m_fromDownload ? ReadString(m_pendingPath, L"FORCE", L"NAME") : m_manifest.Run().Value(L"NAME", MAX_PATH);
    if (entry.empty()) {
        if (m_fromDownload) {
            CPendingInstall(m_pendingPath).DeleteWhenDone();
            m_dialog.CloseWizard();
        } else {
            EndWithoutSetup();
        }
        return;
    }
    ArmProgressTimer();
    m_dialog.RunOnDialog([this]() {
        m_dialog.ShowAsAppWindow();
        m_dialog.SelectPage(WizardPageInstalling);
    });

    std::wstring file, arguments;
    SplitSetupEntry(entry, m_fromDownload ? L'|' : L' ', file, arguments);
    // The setup package is one of our own downloads in the install folder.
    std::wstring setupPath = m_fromDownload ? file : m_installFolder + file;
    bool safe = m_fromDownload ? IsFileDirectlyIn(file, m_installFolder) : IsSafeSetupName(file);
    const std::wstring commandLine = BuildSetupCommandLine(arguments, m_dialog.GetWindow());

    const bool present = safe && PathFileExistsW(setupPath.c_str());
    const bool verified = present && SetupStillVerified(setupPath);
    // A package that is not the manifest's bytes is never started, nor left
    // in the program folder.
    if (present && !verified && !IsProgramFileName(FileNamePart(setupPath))) DeleteFileW(setupPath.c_str());
    if (!verified) {
        CDownloadManager::DeleteListFile();
        DeleteFileW(manifest.c_str());
        // A setup that is not there cannot be run later either.
        ForgetSetup();
        if (!m_forced) {
            // A lost setup package is a failed update, not "already newest".
            HWND owner = m_dialog.GetWindow();
            m_dialog.RunOnDialog([this, owner]() {
                m_dialog.SelectPage(WizardPageNewest);
                ShowUpdMessageBox(L"下载更新失败！", L"错误", L"更新程序", 1, owner, 1);
            });
            m_dialog.SetUpdateStarted(0);
            // The main program was closed for this install: it comes back.
            Open(m_installFolder + kMainProgramExe, std::wstring());
            m_dialog.CloseWizard();
        } else {
            if (CPendingInstall(m_pendingPath).Exists()) Write(m_pendingPath, L"FORCE", L"NEXTTIME", L"1");
            Open(m_installFolder + kMainProgramExe, std::wstring());
            m_dialog.CloseWizard();
        }
        return;
    }
    StartSetup(setupPath, commandLine);
    // The record of the setup goes when the setup reports that it finished,
    // or when it ends without that report.
    m_dialog.SetUpdateStarted(0);
}

void SetupReportedFinished(const std::wstring& installFolder)
{
    CPendingInstall pending(WithTrailingSlash(installFolder) + kPendingInstallName);
    if (!pending.Exists()) return;
    pending.MarkSetupStarted();
    pending.DeleteWhenDone();
}

void SetupEndedUnfinished(const std::wstring& installFolder, const std::wstring& setupFile)
{
    LogUpdateFailure(L"the setup \"" + setupFile + L"\" ended before it reported its finish");
    const std::wstring folder = WithTrailingSlash(installFolder);
    CPendingInstall pending(folder + kPendingInstallName);
    if (pending.Exists()) {
        pending.MarkSetupStarted();
        pending.DeleteWhenDone();
    }
    // Its process has ended: the package goes now, before anything else can
    // stop this run.
    if (IsFileDirectlyIn(setupFile, folder)) DeleteFileW(setupFile.c_str());
}

void SettleEndedSetup(const std::wstring& installFolder)
{
    const std::wstring folder = WithTrailingSlash(installFolder);
    CPendingInstall pending(folder + kPendingInstallName);
    if (!pending.SetupWasStarted()) return;
    std::wstring setupFile, arguments;
    SplitSetupEntry(pending.ReadSetup(), L'|', setupFile, arguments);
    // Still at work: its own end is its business.
    if (FindProcessIdInFolder(FileNamePart(setupFile).c_str(), folder) != kNoProcessId) return;
    SetupEndedUnfinished(folder, setupFile);
}

bool HasPendingInstall(const std::wstring& installFolder)
{
    return CPendingInstall(WithTrailingSlash(installFolder) + kPendingInstallName).HasWork();
}
