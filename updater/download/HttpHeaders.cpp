#include "HttpHeaders.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool QueryStatusCode(HINTERNET request, DWORD& status)
{
    DWORD size = sizeof(status);
    return HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) != FALSE;
}

bool QueryHeaderA(HINTERNET request, DWORD query, char* buffer, DWORD capacity)
{
    DWORD size = capacity - 1;
    if (!HttpQueryInfoA(request, query, buffer, &size, nullptr)) return false;
    buffer[std::min(size, capacity - 1)] = '\0';
    return true;
}

bool ParseContentRange(const char* text, DWORD& first, long long& total)
{
    unsigned long a = 0, b = 0;
    char totalText[32] = {};
    if (sscanf(text, "bytes %lu-%lu/%31s", &a, &b, totalText) != 3 || b < a) return false;
    first = a;
    total = strcmp(totalText, "*") == 0 ? -1 : strtoll(totalText, nullptr, 10);
    return true;
}
