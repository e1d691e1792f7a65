// A message-only window standing in for the update wizard: it records every
// message the download engine posts and frees the heap records that come with
// them, as the wizard does.
#pragma once

#include "DownloadPublic.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

struct PostedMessage
{
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::string url;                   // copy of the WM_DOWNLOAD_PROBED address
    CompletedDownloadRecord completed; // copy of the WM_DOWNLOAD_COMPLETED record
};

class MessageRecorder
{
public:
    // `pollMs` bounds how long a pump sleeps between looks at its condition.
    explicit MessageRecorder(DWORD pollMs = 50);
    ~MessageRecorder();

    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Window() const { return window_; }
    // Pumps messages until `done` holds; false after a generous safety limit.
    bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 120000);
    // Pumps until a message with one of these numbers has been recorded (counting
    // from the first one); returns it, or an empty record (message 0) when none came.
    PostedMessage WaitForAny(std::initializer_list<UINT> messages, DWORD limitMs = 120000);
    // The same, counting only messages after the one the last call returned.
    PostedMessage WaitForNext(std::initializer_list<UINT> messages, DWORD limitMs = 120000);
    // Handles whatever is queued now.
    void Drain();
    bool Has(UINT message) const;
    const std::vector<PostedMessage>& Messages() const { return messages_; }
    void Clear()
    {
        messages_.clear();
        next_ = 0;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(UINT message, WPARAM wParam, LPARAM lParam);
    PostedMessage WaitFrom(size_t* seen, std::initializer_list<UINT> wanted, DWORD limitMs);

    HWND window_ = nullptr;
    bool PumpUntil(const std::function<bool()>& done, DWORD limitMs, DWORD pollMs);

    static const DWORD kMessageWaitPollMs = 250;
    DWORD pollMs_;
    std::vector<PostedMessage> messages_;
    size_t next_ = 0;
};
