// Shared pieces of the updater tests: the owner window that records what the
// download engine posts, the loopback test server started around the test
// program, and small file helpers.
#pragma once

#include "DownloadPublic.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct PostedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::string url;                   // copy of the WM_DOWNLOAD_PROBED address
    CompletedDownloadRecord completed;  // copy of the WM_DOWNLOAD_COMPLETED record
};

// A message-only window standing in for the wizard: it records every updater
// message and frees the heap records that come with them.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();

    HWND Window() const { return window_; }
    // Pumps messages until `done` holds; false after a generous safety limit.
    bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 120000);
    // Pumps until a message with one of these numbers arrives; returns it, or
    // an empty record (message 0) when none came.
    PostedMessage WaitForAny(std::initializer_list<UINT> messages, DWORD limitMs = 120000);
    // Handles whatever is queued now.
    void Drain();
    bool Has(UINT message) const;
    const std::vector<PostedMessage>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<PostedMessage> messages_;
};

// The server started by run_with_server.sh around the test program.
class TestServer {
public:
    static bool Available();
    static int Port();
    static std::string Root();  // Windows path, with trailing backslash
    static std::string Url(const std::string& pathAndQuery);
    static void Serve(const std::string& name, const std::string& bytes);
    // The logged requests whose path contains `part`, oldest first.
    struct Request {
        std::string path, range, referer, ifRange;
    };
    static std::vector<Request> RequestsFor(const std::string& part);
    // The ended answers whose path contains `part`, in the order they ended,
    // with the body bytes written for each.
    struct Answer {
        std::string path, range;
        unsigned long long body = 0;
    };
    static std::vector<Answer> AnswersFor(const std::string& part);
};

std::string RandomBytes(size_t size, unsigned seed);
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// A program built into the tests' output folder.
std::string TestBinary(const std::string& name);
// A new empty folder for one test (with trailing backslash).
std::string FreshFolder(const std::string& name);
