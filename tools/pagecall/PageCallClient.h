// Sends one page call to the engine stand-in's renderer of a running
// program and waits for the answer (see cef_stand_in.h for the protocol).
#pragma once
#include <windows.h>

#include <string>

class PageCallClient
{
public:
    PageCallClient() = default;
    PageCallClient(const PageCallClient&) = delete;
    PageCallClient& operator=(const PageCallClient&) = delete;
    ~PageCallClient();

    // The channel window of the process with this id, or of any process when 0.
    bool Connect(DWORD processId);
    // False when the channel did not answer; reply holds the answer's JSON.
    bool Call(const std::string& request, std::string& reply);

private:
    static LRESULT CALLBACK ReplyWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND channel_ = nullptr;
    HWND replyWindow_ = nullptr;
    std::string reply_;
    bool answered_ = false;
};
