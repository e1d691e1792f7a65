// Closes WinINet handles off the calling thread, in the order WinINet needs.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>

class DeferredClose
{
public:
    DeferredClose();
    ~DeferredClose();

    DeferredClose(const DeferredClose&) = delete;
    DeferredClose& operator=(const DeferredClose&) = delete;

    // Closes a request whose answer is still arriving, then its connection,
    // on a thread of the system's pool; inline when none can be had.
    void CloseCutPiece(HINTERNET request, HINTERNET connection);
    // Closes the session once every cut piece handed over before has been
    // closed, without waiting for them here.
    void CloseSession(HINTERNET session);

    struct Pending;

private:
    std::shared_ptr<Pending> m_pending;
};
