// winsock2.h must come before windows.h.
#include <winsock2.h>

#include "HeldPageServer.h"

namespace {

const DWORD kLongestHoldMs = 30000; // a test that fails does not hang the server

} // namespace

bool HeldPageServer::Start()
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof(addr);
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(s, 8) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        closesocket(s);
        return false;
    }
    listener_ = s;
    port_ = ntohs(addr.sin_port);
    released_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread(&HeldPageServer::Serve, this);
    return true;
}

void HeldPageServer::Release()
{
    if (released_) SetEvent(released_);
}

void HeldPageServer::Stop()
{
    if (listener_ != ~uintptr_t(0)) closesocket(static_cast<SOCKET>(listener_));
    listener_ = ~uintptr_t(0);
    Release();
    if (thread_.joinable()) thread_.join();
    if (released_) CloseHandle(released_);
    released_ = nullptr;
}

std::wstring HeldPageServer::HeldAddress() const
{
    return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/held";
}

void HeldPageServer::Serve()
{
    for (;;) {
        SOCKET client = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        Answer(client);
        closesocket(client);
    }
}

void HeldPageServer::Answer(uintptr_t client)
{
    SOCKET s = static_cast<SOCKET>(client);
    char request[2048];
    int got = recv(s, request, sizeof(request) - 1, 0);
    std::string head(request, got > 0 ? static_cast<size_t>(got) : 0);
    if (head.compare(0, 10, "GET /held ") == 0) {
        heldRequested_ = true;
        WaitForSingleObject(released_, kLongestHoldMs);
    }
    const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n"
                              "<html><head><title>held</title></head><body>held</body></html>";
    send(s, reply.data(), static_cast<int>(reply.size()), 0);
    shutdown(s, SD_SEND);
}
