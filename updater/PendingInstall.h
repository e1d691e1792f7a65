// The pending-install file "uprelay.ini" in the install folder: what an
// installation still has to do. Every move is written here before it is
// made, so an installation stopped at any point (a kill, a file in use, a
// postponed setup) leaves a record that the next updater run completes.
#pragma once

#include "FileDigest.h"

#include <string>
#include <vector>

struct PendingMove
{
    std::wstring source;    // install folder + "cache\" + name
    std::wstring target;    // target folder + name
    bool run = false;       // start the target after it is moved
    std::wstring arguments; // for that start
    FileDigest digest;      // the bytes the manifest gave ("SIZE%d", "SHA256%d"); empty: unknown
};

class CPendingInstall
{
public:
    explicit CPendingInstall(const std::wstring& path) : m_path(path) { }

    const std::wstring& Path() const { return m_path; }
    bool Exists() const;
    // True when the file records a setup not yet started, or a move whose
    // file is still in "cache", still to be carried out.
    bool HasWork() const;

    // Replaces the recorded moves ("FILE" section) with `moves`.
    void RecordMoves(const std::vector<PendingMove>& moves);
    std::vector<PendingMove> ReadMoves() const;

    // "FORCE"/"NAME": setup path, "|", its arguments; "NEXTTIME" 1. A new
    // setup starts with no replays counted.
    void RecordSetup(const std::wstring& later);
    std::wstring ReadSetup() const;
    // "NEXTTIME" 0 with "NAME" kept: the setup is running. Written before it
    // starts, so a record never claims a setup that ran as one still to run.
    void MarkSetupRunning();
    // A setup recorded and started: it runs, or it ran and ended.
    bool SetupWasStarted() const;
    // "FORCE"/"SIZE" and "SHA256": the bytes of the recorded setup package.
    void RecordSetupDigest(const FileDigest& digest);
    bool ReadSetupDigest(FileDigest& digest) const;
    void MarkSetupStarted(); // "NEXTTIME" 0 and "NAME" removed

    // "FORCE"/"REPLAYS": how many runs began to replay this record. Each run
    // counts itself before it closes the main program, so a replay that never
    // gets through (a crash, a kill) cannot close it at every start.
    static const int kMaxReplays = 2;
    int ReplaysBegun() const;
    void NoteReplayBegun();

    // Deletes the file once nothing is left to do in it.
    void DeleteWhenDone();
    void Delete();

private:
    std::wstring m_path;
};
