// The owner of the benchmarked downloads: a message-only window standing in
// for the update wizard. It keeps what the transfer engine posts and frees
// the heap records that come with the messages, as the wizard does.
#pragma once

#include "DownloadPublic.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

struct BenchMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    CompletedDownloadRecord completed;  // copy of the WM_DOWNLOAD_COMPLETED record
};

class BenchOwnerWindow {
public:
    BenchOwnerWindow();
    ~BenchOwnerWindow();

    BenchOwnerWindow(const BenchOwnerWindow&) = delete;
    BenchOwnerWindow& operator=(const BenchOwnerWindow&) = delete;

    HWND Window() const { return window_; }
    // Pumps messages until `done` holds; false when `limitMs` ran out first.
    // Polls `done` every `pollMs`; a posted message ends the wait at once.
    bool PumpUntil(const std::function<bool()>& done, DWORD limitMs, DWORD pollMs = 2);
    // Pumps until one of `wanted` arrives and returns it; message 0 on time-out.
    BenchMessage WaitForAny(std::initializer_list<UINT> wanted, DWORD limitMs);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(UINT message, WPARAM wParam);
    void Drain();

    HWND window_ = nullptr;
    std::vector<BenchMessage> messages_;
    size_t seen_ = 0;
};
