// Puts the download list file in place, from any thread, with no lock held
// across a file operation. Each save writes its text, flushed, to a temporary
// file of its own; then one thread at a time moves the newest written list
// over the list file. A save that finds another one moving hands its file over
// and waits until that list, or a newer one, is in place. An older list never
// replaces a newer one, and a kill at any moment leaves the old list or the
// new one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ListFileSaver
{
public:
    explicit ListFileSaver(const char* listName);
    ~ListFileSaver();

    ListFileSaver(const ListFileSaver&) = delete;
    ListFileSaver& operator=(const ListFileSaver&) = delete;

    // `snapshot` orders the saves: a larger one holds a newer list.
    void Save(LONG snapshot, const std::string& bytes);

private:
    // These run with m_lock held; they leave it around their file operations.
    int TakeSlot();
    void Discard(int slot);
    void MoveWhilePending();
    std::string TemporaryName(int slot) const;

    std::string m_listName;
    CRITICAL_SECTION m_lock;
    CONDITION_VARIABLE m_settled;
    // Temporary files being written or waiting to be moved; a slot is reused
    // once its file is gone, so a kill leaves few files behind, named alike in
    // every run.
    std::vector<bool> m_slots;
    int m_pendingSlot = -1;     // the newest written list, not yet moved
    LONG m_newestHanded = 0;    // the newest snapshot handed over for moving
    LONG m_settledSnapshot = 0; // the newest snapshot whose move was tried
    bool m_moving = false;      // a thread is moving lists
};
