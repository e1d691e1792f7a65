#include "DeferredClose.h"

// Closing a request whose answer is still arriving makes WinINet read the
// rest of it to keep the connection (under Wine, more slowly than the
// transfer ran): after a stop at full speed that took up to 1.2 s for a
// piece. What the stop keeps is settled before the close, so the pool closes
// the request, then its connection, and the stop does not wait. The
// connection goes along: closing it first would close the request with it,
// at once, in the stopping thread.
//
// The session is closed only after those closes. Closing it earlier would
// close the pieces' handles with it, and a handle value freed that way may be
// handed out again before the pool's own close names it.
struct DeferredClose::Pending
{
    CRITICAL_SECTION lock;
    long count = 0;
    HANDLE idle = nullptr; // manual reset; set while count is 0

    Pending()
    {
        InitializeCriticalSection(&lock);
        idle = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    }
    ~Pending()
    {
        if (idle) CloseHandle(idle);
        DeleteCriticalSection(&lock);
    }
    void Add()
    {
        EnterCriticalSection(&lock);
        if (count++ == 0 && idle) ResetEvent(idle);
        LeaveCriticalSection(&lock);
    }
    void Done()
    {
        EnterCriticalSection(&lock);
        if (--count == 0 && idle) SetEvent(idle);
        LeaveCriticalSection(&lock);
    }
    bool Busy()
    {
        EnterCriticalSection(&lock);
        bool busy = count != 0;
        LeaveCriticalSection(&lock);
        return busy;
    }
};

namespace {

struct CloseWork
{
    std::shared_ptr<DeferredClose::Pending> pending;
    HINTERNET first;
    HINTERNET second;
};

void CloseSessionNow(HINTERNET session)
{
    InternetSetStatusCallbackW(session, nullptr);
    InternetCloseHandle(session);
}

DWORD WINAPI ClosePieceProc(void* work)
{
    CloseWork* piece = static_cast<CloseWork*>(work);
    InternetCloseHandle(piece->first);
    if (piece->second) InternetCloseHandle(piece->second);
    piece->pending->Done();
    delete piece;
    return 0;
}

DWORD WINAPI CloseSessionProc(void* work)
{
    CloseWork* session = static_cast<CloseWork*>(work);
    // Without its event the wait cannot be kept; the session then stays
    // open rather than closing handles the pool still names.
    if (session->pending->idle && WaitForSingleObject(session->pending->idle, INFINITE) == WAIT_OBJECT_0)
        CloseSessionNow(session->first);
    delete session;
    return 0;
}

bool QueueClose(LPTHREAD_START_ROUTINE proc, CloseWork* work)
{
    return QueueUserWorkItem(proc, work, WT_EXECUTELONGFUNCTION) != FALSE;
}

} // namespace

DeferredClose::DeferredClose() : m_pending(std::make_shared<Pending>()) { }

DeferredClose::~DeferredClose() = default;

void DeferredClose::CloseCutPiece(HINTERNET request, HINTERNET connection)
{
    m_pending->Add();
    CloseWork* work = new CloseWork{ m_pending, request, connection };
    if (!QueueClose(ClosePieceProc, work)) ClosePieceProc(work);
}

void DeferredClose::CloseSession(HINTERNET session)
{
    if (!session) return;
    if (!m_pending->Busy()) {
        CloseSessionNow(session);
        return;
    }
    CloseWork* work = new CloseWork{ m_pending, session, nullptr };
    if (QueueClose(CloseSessionProc, work)) return;
    delete work;
    WaitForSingleObject(m_pending->idle, INFINITE);
    CloseSessionNow(session);
}
