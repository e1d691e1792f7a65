// Puts finished downloads into place: closes the main program, moves each
// file from "cache" to its target folder, runs what the manifest marks to be
// run, and starts the setup package, which then reports its progress to the
// wizard. A forced run may postpone all this into "uprelay.ini", which a run
// with InstallFromDownload replays.
#pragma once

#include <windows.h>

#include "ManifestEntries.h"
#include "PendingInstall.h"

#include <map>
#include <string>
#include <vector>

class IUpdateInstallHost;

extern const wchar_t kPendingInstallName[]; // "uprelay.ini"

// Program file name -> its arguments, from the manifest's "RUN"/"FILE%d".
typedef std::map<std::wstring, std::wstring> ProgramList;
ProgramList ReadProgramList(const CManifestEntries& manifest);

// The setup entry split at its first separator into file part and arguments.
void SplitSetupEntry(const std::wstring& entry, wchar_t separator, std::wstring& file, std::wstring& arguments);

// Arguments, then " /updateDlg=" and the window handle in decimal.
std::wstring BuildSetupCommandLine(const std::wstring& arguments, HWND window);

// True when path names a file whose folder is `folder` (ignoring case) and
// whose name is a plain file name.
bool IsFileDirectlyIn(const std::wstring& path, const std::wstring& folder);

// The setup reported that it finished: its record in "uprelay.ini" goes, and
// the file with it when nothing else is left to do.
void SetupReportedFinished(const std::wstring& installFolder);

// The setup ended without reporting its finish: it is logged, its record
// goes (never started again from it) and so does its package; the moves
// recorded beside it stay.
void SetupEndedUnfinished(const std::wstring& installFolder, const std::wstring& setupFile);

// At the start of a run: a recorded setup that was started and runs no more
// ended without its finish (its run was killed or ended early). It is not
// replayed: its record and its package go, and the check that follows offers
// the update again.
void SettleEndedSetup(const std::wstring& installFolder);

// A run started from the program folder that finds work in "uprelay.ini"
// carries it out first (as a replay) before it looks for new updates.
bool HasPendingInstall(const std::wstring& installFolder);

class CUpdateInstaller
{
public:
    explicit CUpdateInstaller(IUpdateInstallHost& dialog);
    void InstallUpdate();

private:
    std::vector<PendingMove> CollectFinishedMoves(const ProgramList& programs);
    void InstallFinishedDownloads(const ProgramList& programs);
    void RecordSetupAhead();
    void RecordSetupDigest(CPendingInstall& pending);
    bool DownloadsStillVerified();
    void RefuseUnverifiedDownloads();
    bool SetupStillVerified(const std::wstring& setupPath);
    void ForgetSetup();
    void EndWithoutSetup();
    void PostponeInstallation(const ProgramList& programs, const std::wstring& setupEntry);
    // False when the replay ended the run (nothing postponed).
    bool ReplayPendingInstall();
    void GiveUpReplay();
    void StartSetup(const std::wstring& setupPath, const std::wstring& commandLine);
    bool AskRestartNow();
    void ArmProgressTimer();
    std::wstring CacheFolder() const;
    bool TargetFor(const std::wstring& listName, const std::wstring& downloadPath, const std::wstring& copyPath,
                   std::wstring& source, std::wstring& target) const;

    IUpdateInstallHost& m_dialog;
    std::wstring m_installFolder;
    std::wstring m_pendingPath;
    bool m_forced = false;
    bool m_fromDownload = false;
    // The manifest's entries, read once its signature was verified again;
    // none in a replay, which works from the pending record alone.
    CManifestEntries m_manifest;
};
