// Shared pieces of the updater tests: the owner window that records what the
// download engine posts (from the test support library), the loopback test
// server started around the test program, and small file helpers.
#pragma once

#include "DownloadPublic.h"
#include "MessageRecorder.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A left click as the mouse makes it, at a client point of a window of
// another program, posted without waiting for the window to paint: a page
// just selected must take it.
void PostClickTo(HWND window, POINT at);

// The server started by run_with_server.sh around the test program.
class TestServer
{
public:
    static bool Available();
    static int Port();
    static std::string Root(); // Windows path, with trailing backslash
    static std::string Url(const std::string& pathAndQuery);
    static void Serve(const std::string& name, const std::string& bytes);
    // The logged requests whose path contains `part`, oldest first.
    struct Request
    {
        std::string path, range, referer, ifRange;
    };
    static std::vector<Request> RequestsFor(const std::string& part);
    // The ended answers whose path contains `part`, in the order they ended,
    // with the body bytes written for each.
    struct Answer
    {
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

// The same for the wide paths of the tests that run the updater program.
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool PathExists(const std::wstring& path);
// Removes a folder (with trailing backslash) and all it holds.
void RemoveTree(const std::wstring& folder);
// An environment variable; empty when unset or too long.
std::wstring Env(const wchar_t* name);
// The loopback server run_with_server.sh started: its port and root folder (with
// a trailing backslash), and the updater's test build pointed at it. False when
// the test was not started through that script.
bool UseTestUpdateServer(std::wstring& port, std::wstring& root);
// ASCII paths, numbers and versions only.
std::string Narrow(const std::wstring& text);
