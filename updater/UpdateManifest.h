// Reads the downloaded update manifest (an INI file), compares the versions
// it names with the installed files, queues the needed downloads, drops
// queued downloads the manifest no longer names, and tells the wizard whether
// a new version exists.
#pragma once

#include "DownloadManager.h"

#include <windows.h>

#include <string>

enum UpdateModeValue : WORD {
    UpdateModeInteractive = 0,
    UpdateModeSilent = 1,
    UpdateModeForced = 2,
};

enum : UINT {
    WM_UPDATE_NEW_VERSION = WM_USER + 1007,
    WM_UPDATE_ALREADY_NEWEST = WM_USER + 1008,
};

// What the manifest check needs from the wizard dialog.
class IUpdateCheckHost
{
public:
    virtual ~IUpdateCheckHost() { }
    virtual WORD GetUpdateMode() = 0;
    virtual void SetUpdateMode(WORD mode) = 0;
    virtual std::wstring GetInstallFolder() = 0;
    virtual std::wstring GetManifestPath() = 0;
    virtual std::string GetManifestUrl() = 0;
    virtual CDownloadManager& GetDownloadManager() = 0;
    virtual HWND GetWindow() = 0;
    // The text of the "FindVersion" control.
    virtual void SetFoundVersionText(const std::wstring& text) = 0;
    virtual void SetNewFeatures(const std::wstring& text) = 0;
    virtual void SetSetupFileName(const std::wstring& name) = 0;
    virtual void SetSetupUrl(const std::string& url) = 0;
    // Keeps the progress timer and starts the thread that reports the setup
    // download's progress from it.
    virtual void StartProgressTimerThread(HANDLE timer) = 0;
};

// Thread entry; `host` is the IUpdateCheckHost. Returns 0; its result is the
// message it posts (WM_UPDATE_NEW_VERSION or WM_UPDATE_ALREADY_NEWEST).
unsigned __stdcall ParseUpdateManifest(void* host);

// Target folder of a "FILE" entry from its PATH value, with a trailing
// backslash; empty when no folder can be given.
std::wstring ResolveTargetFolder(const std::wstring& pathValue, const std::wstring& installFolder);

// 2: a queued or finished download of the URL is not older (download nothing);
// 0: an older one was removed (download anew); 3: the URL is unknown (download).
int CheckExistingDownload(CDownloadManager& manager, const std::wstring& installFolder, const std::string& url,
                          const std::wstring& version);

bool CompareMainProgramVersion(const std::wstring& manifestVersion, const std::wstring& installFolder);
