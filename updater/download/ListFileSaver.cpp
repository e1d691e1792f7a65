#include "ListFileSaver.h"

#include "SectionLock.h"

namespace {

bool WriteFlushed(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

} // namespace

ListFileSaver::ListFileSaver(const char* listName) : m_listName(listName)
{
    InitializeCriticalSection(&m_lock);
    InitializeConditionVariable(&m_settled);
}

ListFileSaver::~ListFileSaver()
{
    DeleteCriticalSection(&m_lock);
}

std::string ListFileSaver::TemporaryName(int slot) const
{
    return m_listName + ".new" + (slot ? std::to_string(slot) : std::string());
}

int ListFileSaver::TakeSlot()
{
    for (size_t slot = 0; slot < m_slots.size(); ++slot) {
        if (!m_slots[slot]) {
            m_slots[slot] = true;
            return static_cast<int>(slot);
        }
    }
    m_slots.push_back(true);
    return static_cast<int>(m_slots.size() - 1);
}

void ListFileSaver::Discard(int slot)
{
    {
        SectionUnlock unlocked(m_lock);
        DeleteFileA(TemporaryName(slot).c_str());
    }
    m_slots[slot] = false;
}

void ListFileSaver::Save(LONG snapshot, const std::string& bytes)
{
    SectionLock hold(m_lock);
    const int slot = TakeSlot();
    bool written = false;
    {
        SectionUnlock unlocked(m_lock);
        written = WriteFlushed(TemporaryName(slot), bytes);
    }
    if (!written) {
        m_slots[slot] = false;
        return;
    }
    if (snapshot < m_newestHanded) {
        Discard(slot); // a newer list is already on its way or in place
    } else {
        const int superseded = m_pendingSlot;
        m_pendingSlot = slot;
        m_newestHanded = snapshot;
        if (superseded >= 0) Discard(superseded);
    }
    if (!m_moving) {
        m_moving = true;
        MoveWhilePending();
        m_moving = false;
        WakeAllConditionVariable(&m_settled);
        return;
    }
    // The thread that moves lists moves this one, or a newer, next.
    while (m_moving && m_settledSnapshot < snapshot) SleepConditionVariableCS(&m_settled, &m_lock, INFINITE);
}

void ListFileSaver::MoveWhilePending()
{
    while (m_pendingSlot >= 0) {
        const int slot = m_pendingSlot;
        const LONG snapshot = m_newestHanded;
        m_pendingSlot = -1;
        {
            SectionUnlock unlocked(m_lock);
            const std::string temporary = TemporaryName(slot);
            if (!MoveFileExA(temporary.c_str(), m_listName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                DeleteFileA(temporary.c_str());
        }
        m_settledSnapshot = snapshot;
        m_slots[slot] = false;
        WakeAllConditionVariable(&m_settled);
    }
}
