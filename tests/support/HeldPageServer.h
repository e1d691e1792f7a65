// A web server on 127.0.0.1 that answers the page "/held" only once the
// test releases it, so a view's document stays unfinished as long as the
// test needs; every other path is answered at once.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

class HeldPageServer
{
public:
    HeldPageServer() = default;
    HeldPageServer(const HeldPageServer&) = delete;
    HeldPageServer& operator=(const HeldPageServer&) = delete;
    ~HeldPageServer() { Stop(); }

    bool Start();
    // Lets the held page (and every later request for it) through.
    void Release();
    void Stop();
    // "http://127.0.0.1:<port>/held"
    std::wstring HeldAddress() const;
    // Whether a request for the held page has come in.
    bool HeldRequested() const { return heldRequested_; }

private:
    void Serve();
    void Answer(uintptr_t client);

    uintptr_t listener_ = ~uintptr_t(0);
    int port_ = 0;
    HANDLE released_ = nullptr;
    std::atomic<bool> heldRequested_{ false };
    std::thread thread_;
};
