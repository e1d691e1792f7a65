#include "SetupWatch.h"

#include <process.h>

#include <initializer_list>

bool SetupWatch::Start(HANDLE process, HWND window, UINT message)
{
    Stop();
    if (!process) return false;
    m_stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_process = process;
    m_window = window;
    m_message = message;
    if (m_stopEvent) m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WatchThread, this, 0, nullptr));
    if (m_thread) return true;
    Stop();
    return false;
}

void SetupWatch::Stop()
{
    if (m_thread) {
        SetEvent(m_stopEvent);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    for (HANDLE* handle : { &m_stopEvent, &m_process }) {
        if (*handle) CloseHandle(*handle);
        *handle = nullptr;
    }
}

unsigned __stdcall SetupWatch::WatchThread(void* self)
{
    SetupWatch* watch = static_cast<SetupWatch*>(self);
    HANDLE objects[2] = { watch->m_stopEvent, watch->m_process };
    if (WaitForMultipleObjects(2, objects, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
        PostMessageW(watch->m_window, watch->m_message, 0, 0);
    return 0;
}
