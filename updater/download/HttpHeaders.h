// Reading an HTTP answer's status and headers from a WinINet request.
#pragma once

#include <windows.h>
#include <wininet.h>

bool QueryStatusCode(HINTERNET request, DWORD& status);
// The header as text, cut to fit `capacity` bytes with its terminator.
bool QueryHeaderA(HINTERNET request, DWORD query, char* buffer, DWORD capacity);
// "bytes first-last/total"; total is -1 when the server sent "*".
bool ParseContentRange(const char* text, DWORD& first, long long& total);
