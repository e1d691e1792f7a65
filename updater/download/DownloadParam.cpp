#include "DownloadParam.h"

#include <initializer_list>

DownloadParam::DownloadParam(WORD kindValue) : kind(kindValue)
{
    handleCreated = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    requestDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    requestFailed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    handleClosing = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ZeroMemory(&readBuffers, sizeof(readBuffers));
}

char* DownloadParam::Block()
{
    if (!m_block) m_block = new char[kBlockSize];
    return m_block;
}

DownloadParam::~DownloadParam()
{
    delete[] m_block;
    for (HANDLE event : { handleCreated, requestDone, requestFailed, handleClosing }) {
        if (event) CloseHandle(event);
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
    if (InterlockedDecrement(&refs) == 0) delete this;
}

void DownloadParam::PrepareAsync()
{
    error = 0;
    expected = InterlockedCompareExchange(&completions, 0, 0) + 1;
}

void DownloadParam::Complete(DWORD resultError)
{
    error = resultError;
    InterlockedIncrement(&completions);
    SetEvent(resultError == 0 ? requestDone : requestFailed);
}

AsyncWaitResult DownloadParam::Wait(HANDLE stopEvent, DWORD stepMs)
{
    HANDLE events[3] = { requestDone, requestFailed, stopEvent };
    const ULONGLONG deadline = GetTickCount64() + stepMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        switch (WaitForMultipleObjects(3, events, FALSE, left)) {
        case WAIT_OBJECT_0:
        case WAIT_OBJECT_0 + 1:
            // Which event woke us may be an earlier operation's; the count
            // and the error say whether and how this one ended.
            if (InterlockedCompareExchange(&completions, 0, 0) < expected) continue;
            return error == 0 ? AsyncDone : AsyncFailed;
        case WAIT_OBJECT_0 + 2: return AsyncStopped;
        case WAIT_TIMEOUT: return AsyncTimedOut;
        default:
            // A wait that itself failed proves nothing about the request.
            error = GetLastError() ? GetLastError() : ERROR_INVALID_HANDLE;
            return AsyncFailed;
        }
    }
}

void CALLBACK DownloadStatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD)
{
    DownloadParam* param = reinterpret_cast<DownloadParam*>(context);
    if (!param) return;
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
        if (resultError != ERROR_INTERNET_OPERATION_CANCELLED) param->Complete(resultError);
        break;
    }
    default: break;
    }
}
