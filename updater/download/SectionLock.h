// Holds a critical section for one scope; SectionUnlock leaves a held one
// for one scope.
#pragma once

#include <windows.h>

class SectionLock
{
public:
    explicit SectionLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    ~SectionLock() { LeaveCriticalSection(&m_section); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

class SectionUnlock
{
public:
    explicit SectionUnlock(CRITICAL_SECTION& section) : m_section(section) { LeaveCriticalSection(&m_section); }
    ~SectionUnlock() { EnterCriticalSection(&m_section); }
    SectionUnlock(const SectionUnlock&) = delete;
    SectionUnlock& operator=(const SectionUnlock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};
