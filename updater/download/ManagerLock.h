// Holds the download manager's lock for one scope.
#pragma once

#include "DownloadManager.h"

class ManagerLock
{
public:
    explicit ManagerLock(CDownloadManager& manager) : m_manager(manager) { m_manager.Lock(); }
    ~ManagerLock() { m_manager.Unlock(); }
    ManagerLock(const ManagerLock&) = delete;
    ManagerLock& operator=(const ManagerLock&) = delete;

private:
    CDownloadManager& m_manager;
};
