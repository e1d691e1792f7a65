#pragma once
#include <windows.h>

#include <string>

#include "NsisPluginApi.h"

// The installer's string stack as the plug-in saw it: popping and pushing texts
// the way the installer lays out its entries. A missing stack behaves as an
// empty one and ignores pushes.
class CNsisStack
{
public:
    CNsisStack(TNsisStackEntry** stackTop, int stringSize);

    // Copies the top entry into the buffer (cut to its size, always terminated),
    // unlinks and frees it. An empty stack gives an empty text and false.
    bool Pop(wchar_t* pstrBuffer, size_t cchBuffer);
    // The top entry read as a decimal number as _wtol reads it; 0 when empty.
    long PopLong();
    bool Push(LPCWSTR pstrText);

    bool IsEmpty() const;

private:
    // Characters one entry's text can hold, as the installer allocates them.
    size_t EntryChars() const;

    TNsisStackEntry** m_stackTop;
    int m_stringSize;
};
