#include "DownloadParam.h"

#include <initializer_list>

DownloadParam::DownloadParam(WORD kindValue) : kind(kindValue)
{
    handleCreated = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    requestDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    requestFailed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    handleClosing = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ZeroMemory(&readBuffers, sizeof(readBuffers));
    ZeroMemory(readData, sizeof(readData));
}

DownloadParam::~DownloadParam()
{
    for (HANDLE event : {handleCreated, requestDone, requestFailed, handleClosing}) {
        if (event)
            CloseHandle(event);
    }
}

bool DownloadParam::IsValid() const
{
    return handleCreated && requestDone && requestFailed && handleClosing;
}

void DownloadParam::AddRef()
{
    InterlockedIncrement(&refs);
}

void DownloadParam::Release()
{
    if (InterlockedDecrement(&refs) == 0)
        delete this;
}

void DownloadParam::PrepareAsync()
{
    error = 0;
    ResetEvent(requestDone);
    ResetEvent(requestFailed);
}

AsyncWaitResult DownloadParam::Wait(HANDLE stopEvent)
{
    HANDLE events[3] = {requestDone, requestFailed, stopEvent};
    switch (WaitForMultipleObjects(3, events, FALSE, INFINITE)) {
    case WAIT_OBJECT_0:
        return AsyncDone;
    case WAIT_OBJECT_0 + 2:
        return AsyncStopped;
    case WAIT_OBJECT_0 + 1:
        return AsyncFailed;
    default:
        // A wait that itself failed proves nothing about the request.
        error = GetLastError() ? GetLastError() : ERROR_INVALID_HANDLE;
        return AsyncFailed;
    }
}

void CALLBACK DownloadStatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                                     DWORD)
{
    DownloadParam* param = reinterpret_cast<DownloadParam*>(context);
    if (!param)
        return;
    switch (status) {
    case INTERNET_STATUS_HANDLE_CREATED: {
        param->AddRef();
        HINTERNET created = info ? *static_cast<HINTERNET*>(info) : nullptr;
        if (param->kind == ParamOpenRequest) {
            param->requestHandle = created;
        } else {
            param->handle = created;
            SetEvent(param->handleCreated);
        }
        break;
    }
    case INTERNET_STATUS_HANDLE_CLOSING:
        SetEvent(param->handleClosing);
        param->Release();
        break;
    case INTERNET_STATUS_REQUEST_COMPLETE: {
        const INTERNET_ASYNC_RESULT* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        DWORD resultError = result ? result->dwError : 0;
        if (resultError == 0) {
            SetEvent(param->requestDone);
        } else if (resultError != ERROR_INTERNET_OPERATION_CANCELLED) {
            param->error = resultError;
            SetEvent(param->requestFailed);
        }
        break;
    }
    default:
        break;
    }
}
