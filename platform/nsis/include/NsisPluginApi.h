#pragma once
// The plug-in side of the NSIS installer's calling convention (Unicode builds):
// the arguments every exported function receives, the layout of the installer's
// string stack and the services the installer offers through extra parameters.
#include <windows.h>

// One entry of the installer's string stack: a link to the entry below and the
// text, allocated with room for the installer's string size in characters.
struct TNsisStackEntry
{
    TNsisStackEntry* next;
    wchar_t text[1];
};

// Flags the installer keeps while it runs a script; plug-ins only pass them on.
struct TNsisExecFlags;

// Notifications a registered plug-in callback receives; the only one sent today
// tells the plug-in that the installer is about to unload it.
enum TNsisPluginMessage {
    NSPIM_UNLOAD = 0,
    NSPIM_GUIUNLOAD = 1,
};

typedef UINT_PTR (*NsisPluginCallback)(TNsisPluginMessage);

// The installer's own functions use the standard calling convention.
struct TNsisExtraParameters
{
    TNsisExecFlags* execFlags;
    // Runs the script function at (address - 1); returns non-zero on failure.
    int(WINAPI* ExecuteCodeSegment)(int address, HWND hwndProgress);
    void(WINAPI* ValidateFilename)(wchar_t* pstrFile);
    // Keeps the plug-in loaded between calls; returns 0 when newly registered,
    // 1 when already registered, negative on failure.
    int(WINAPI* RegisterPluginCallback)(HMODULE hModule, NsisPluginCallback callback);
};

// Every function the installer calls by name has this shape (C calling convention).
typedef void (*NsisPluginFunction)(HWND hwndParent, int stringSize, wchar_t* variables, TNsisStackEntry** stackTop,
                                   TNsisExtraParameters* extra);

#define NSIS_PLUGIN_FUNCTION(name)                                                                                     \
    extern "C" void name(HWND hwndParent, int stringSize, wchar_t* variables, TNsisStackEntry** stackTop,              \
                         TNsisExtraParameters* extra)
