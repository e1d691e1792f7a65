#include "SetupWatch.h"

#include <process.h>

#include <initializer_list>

bool SetupWatch::Start(HANDLE process, HWND window, UINT message)
{
    Stop();
    if (!process)
        return false;
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    process_ = process;
    window_ = window;
    message_ = message;
    if (stopEvent_)
        thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WatchThread, this, 0, nullptr));
    if (thread_)
        return true;
    Stop();
    return false;
}

void SetupWatch::Stop()
{
    if (thread_) {
        SetEvent(stopEvent_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    for (HANDLE* handle : {&stopEvent_, &process_}) {
        if (*handle)
            CloseHandle(*handle);
        *handle = nullptr;
    }
}

unsigned __stdcall SetupWatch::WatchThread(void* self)
{
    SetupWatch* watch = static_cast<SetupWatch*>(self);
    HANDLE objects[2] = {watch->stopEvent_, watch->process_};
    if (WaitForMultipleObjects(2, objects, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
        PostMessageW(watch->window_, watch->message_, 0, 0);
    return 0;
}
