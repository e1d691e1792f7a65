#include "UpdateManifest.h"

#include "AnsiText.h"
#include "ManifestCheck.h"
#include "ManifestRules.h"
#include "SafeFileName.h"
#include "SetupProgressTimer.h"
#include "UpdaterCipherKey.h"
#include "VersionCheck.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>
#include <set>
#include <vector>

namespace {

std::wstring WithBackslash(std::wstring folder)
{
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring ReplaceLineBreaks(std::wstring text)
{
    for (size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at + 1))
        text.replace(at, 2, L"\n");
    return text;
}

bool IsWebAddress(const std::string& url)
{
    return url.compare(0, 7, "http://") == 0 || url.compare(0, 8, "https://") == 0;
}

// What came back is a manifest only when it has one of the manifest's
// sections: an error page answered with 200 has none.
bool IsUpdateManifest(const std::wstring& path)
{
    std::vector<wchar_t> names(4096, L'\0');
    DWORD length = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const wchar_t* name = names.data(); name < names.data() + length && *name; name += wcslen(name) + 1) {
        if (_wcsicmp(name, L"SETUP") == 0 || _wcsicmp(name, L"RUN") == 0 || _wcsicmp(name, L"FILE") == 0) return true;
    }
    return false;
}

// The manifest URL up to and including its last "/".
std::string BaseUrl(const std::string& manifestUrl)
{
    size_t slash = manifestUrl.rfind('/');
    return slash == std::string::npos ? std::string() : manifestUrl.substr(0, slash + 1);
}

DownloadRequest CacheRequest(const std::wstring& installFolder, const std::string& url, const std::wstring& name,
                             const std::wstring& copyPath, const std::wstring& version)
{
    DownloadRequest request;
    request.downloadPath = ToAnsi(installFolder + L"cache\\");
    request.copyPath = copyPath;
    request.version = version;
    request.url = url;
    request.kind = 0;
    request.fileName = ToAnsi(name);
    return request;
}

// A download kept from an earlier run counts only when it is the file the
// manifest names now: under the manifest's name and, once finished, with
// the manifest's bytes. Anything else is fetched anew.
void DropUnlessItMatches(CDownloadManager& manager, const std::string& cache, const std::string& url,
                         const std::string& name, const FileDigest& digest)
{
    manager.Lock();
    auto task = manager.Tasks().find(url);
    bool dropTask = task != manager.Tasks().end() &&
        (!task->second.downloader || _stricmp(task->second.downloader->GetNames().fileName.c_str(), name.c_str()) != 0);
    auto done = manager.Finished().find(url);
    std::string cached;
    bool dropFinished = false;
    if (done != manager.Finished().end()) {
        // Deleted below only when it is a plain name in our "cache" folder.
        if (IsSafeFileName(done->second.listName) && _stricmp(done->second.downloadPath.c_str(), cache.c_str()) == 0)
            cached = done->second.downloadPath + done->second.listName;
        dropFinished = cached.empty() || _stricmp(done->second.listName.c_str(), name.c_str()) != 0 ||
            !FileMatchesDigest(cached, digest);
    }
    manager.Unlock();
    if (dropTask) manager.RemoveDownload(url);
    if (dropFinished) {
        manager.RemoveCompletedDownload(url);
        if (!cached.empty()) DeleteFileA(cached.c_str());
    }
}

void QueueUnlessPresent(IUpdateCheckHost& host, const std::string& url, const std::wstring& name,
                        const std::wstring& copyPath, const std::wstring& version, const FileDigest& digest)
{
    CDownloadManager& manager = host.GetDownloadManager();
    const std::wstring installFolder = WithBackslash(host.GetInstallFolder());
    manager.ExpectDigest(url, digest);
    DropUnlessItMatches(manager, ToAnsi(installFolder + L"cache\\"), url, ToAnsi(name), digest);
    if (CheckExistingDownload(manager, installFolder, url, version) != 2)
        manager.AddFileDownload(CacheRequest(installFolder, url, name, copyPath, version));
}

// Forced mode: compares every "FILE" entry with the installed file.
bool CheckSingleFiles(IUpdateCheckHost& host, const CManifestEntries& entries, const std::string& baseUrl,
                      std::set<std::string>& manifestUrls)
{
    const std::wstring installFolder = WithBackslash(host.GetInstallFolder());
    bool changed = false;
    for (int i = 1; i <= entries.FileCount(); ++i) {
        std::wstring folder = ResolveTargetFolder(entries.FileValue(L"PATH", i), installFolder);
        std::wstring name = entries.FileValue(L"NAME", i);
        // A name is a file beside the manifest and in the target folder, never a
        // path; the folder is the install folder or one of its sub-folders.
        if (!IsSafeFileName(name) || MayBeCut(name, 260) || (folder + name).size() >= MAX_PATH) {
            LogManifestRefusal(L"FILE name", name);
            continue;
        }
        if (!IsTargetInsideInstallFolder(folder, installFolder)) {
            LogManifestRefusal(L"FILE target outside the install folder", folder);
            continue;
        }
        std::wstring version = entries.FileValue(L"VERSION", i);
        std::string url = baseUrl + ToAnsi(name);
        manifestUrls.insert(url);
        std::wstring fullPath = folder + name;
        if (PathFileExistsW(fullPath.c_str())) {
            if (version.empty() || !IsManifestVersionNewer(fullPath, version)) continue;
        }
        changed = true;
        FileDigest digest;
        entries.EntryDigest(i, digest);
        QueueUnlessPresent(host, url, name, folder, version, digest);
    }
    return changed;
}

void StartProgressTimer(IUpdateCheckHost& host)
{
    HANDLE timer = CreateSetupProgressTimer();
    if (!timer) return;
    host.StartProgressTimerThread(timer);
    ArmSetupProgressTimer(timer);
}

enum SetupCheck { SetupNotNewer, SetupNewer, SetupUnusable };

// Every mode: the setup package against the installed main program. A newer
// setup whose address does not decipher into a web address cannot be fetched:
// that is a failed check, never "already the newest".
SetupCheck CheckSetup(IUpdateCheckHost& host, const CManifestEntries& entries, std::set<std::string>& manifestUrls)
{
    const std::wstring installFolder = WithBackslash(host.GetInstallFolder());
    const CIniSection& setup = entries.Setup();
    std::wstring version = setup.Value(L"VERSION", 255);
    if (version.empty()) return SetupNotNewer;
    std::wstring found = setup.Value(L"FILE", 255);
    host.SetFoundVersionText(L"{f 0}{c #00FF6F0F}" + EscapeTaggedText(found) + L"{/c}{/f}");
    if (!CompareMainProgramVersion(version, installFolder)) return SetupNotNewer;
    host.SetNewFeatures(ReplaceLineBreaks(setup.Value(L"NEWFEATURES", 1024)));
    std::wstring name = setup.Value(L"NAME", 260);
    // The package is saved in "cache" under this name and deleted by it later.
    if (!IsSafeSetupName(name) || MayBeCut(name, 260) || (installFolder + L"cache\\" + name).size() >= MAX_PATH) {
        LogManifestRefusal(L"SETUP name", name);
        return SetupUnusable;
    }
    host.SetSetupFileName(name);

    StringCipherKey key = MakeUpdaterCipherKey();
    std::wstring cipherUrl = setup.Value(L"URL", 260);
    std::string setupUrl = cipherUrl.empty() ? std::string() : StringCipher(ToAnsi(cipherUrl), key, CipherDecode);
    if (!IsWebAddress(setupUrl)) return SetupUnusable;
    host.SetSetupUrl(setupUrl);
    manifestUrls.insert(setupUrl);
    FileDigest digest;
    entries.EntryDigest(0, digest);
    QueueUnlessPresent(host, setupUrl, name, std::wstring(), version, digest);
    if (host.GetUpdateMode() != UpdateModeForced) StartProgressTimer(host);
    return SetupNewer;
}

std::string ResumeFileOf(const CDownloadPublic& downloader)
{
    if (!downloader.cfgFile.empty()) return downloader.cfgFile;
    std::string path = downloader.url.substr(0, downloader.url.find('?'));
    return downloader.folder + path.substr(path.rfind('/') + 1) + ".Cfg";
}

// Tasks from an earlier run that the manifest no longer names go, with their files.
void RemoveStaleTasks(CDownloadManager& manager, const std::set<std::string>& manifestUrls)
{
    std::vector<std::string> stale;
    std::vector<std::string> files;
    manager.Lock();
    for (const auto& entry : manager.Tasks()) {
        if (manifestUrls.count(entry.first)) continue;
        stale.push_back(entry.first);
        const CDownloadPublic* downloader = entry.second.downloader;
        if (!downloader) continue;
        files.push_back(ResumeFileOf(*downloader));
        files.push_back(downloader->folder + downloader->fileName);
        files.push_back(downloader->folder + downloader->fileName + "_tmp");
    }
    // Finished downloads too: a stopped run may leave one that was never
    // installed, and it would keep "cache" and the list for good.
    std::vector<std::string> finished;
    for (const auto& entry : manager.Finished()) {
        if (manifestUrls.count(entry.first)) continue;
        finished.push_back(entry.first);
        files.push_back(entry.second.downloadPath + entry.second.listName);
    }
    manager.Unlock();
    // A running task writes its resume record when it stops: its files go
    // only once it has stopped.
    for (const std::string& url : stale) manager.RemoveDownload(url);
    for (const std::string& url : finished) manager.RemoveCompletedDownload(url);
    for (const std::string& file : files) DeleteFileA(file.c_str());
}

bool HasNoDownloads(CDownloadManager& manager)
{
    manager.Lock();
    bool none = manager.Tasks().empty() && manager.Finished().empty();
    manager.Unlock();
    return none;
}

} // namespace

std::wstring ResolveTargetFolder(const std::wstring& pathValue, const std::wstring& installFolder)
{
    std::wstring folder;
    if (pathValue.empty()) {
        folder = installFolder;
    } else if (pathValue[0] == L'$') {
        wchar_t which = pathValue.size() > 1 ? towupper(pathValue[1]) : L'\0';
        int csidl = which == L'S' ? CSIDL_SYSTEM : which == L'W' ? CSIDL_WINDOWS : -1;
        wchar_t system[MAX_PATH] = {};
        if (csidl < 0 || FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, system)))
            return std::wstring();
        folder = system;
        size_t backslash = pathValue.find(L'\\');
        if (backslash != std::wstring::npos) folder += pathValue.substr(backslash);
    } else if (pathValue[0] == L'\\') {
        folder = WithBackslash(installFolder) + pathValue.substr(1);
    } else {
        folder = pathValue;
    }
    return folder.empty() ? folder : WithBackslash(folder);
}

int CheckExistingDownload(CDownloadManager& manager, const std::wstring& installFolder, const std::string& url,
                          const std::wstring& version)
{
    manager.Lock();
    auto task = manager.Tasks().find(url);
    if (task != manager.Tasks().end() && task->second.downloader) {
        bool current = !CompareVersionStrings(version, task->second.downloader->version);
        manager.Unlock();
        if (current) return 2;
        manager.RemoveDownload(url);
        return 0;
    }
    auto done = manager.Finished().find(url);
    if (done == manager.Finished().end()) {
        manager.Unlock();
        return 3;
    }
    bool current = !CompareVersionStrings(version, done->second.version);
    std::wstring listName = FromAnsi(done->second.listName);
    manager.Unlock();
    if (current) return 2;
    // Only the updater's own copy in "cache" goes. The file in its target
    // folder is the installed one (or one the user has): should the new
    // download fail, the installation must still have it.
    if (IsSafeFileName(listName)) DeleteFileW((WithBackslash(installFolder) + L"cache\\" + listName).c_str());
    manager.RemoveCompletedDownload(url);
    manager.SaveDownloadList();
    return 0;
}

bool CompareMainProgramVersion(const std::wstring& manifestVersion, const std::wstring& installFolder)
{
    return IsManifestVersionNewer(WithBackslash(installFolder) + L"lumora.exe", manifestVersion);
}

unsigned __stdcall ParseUpdateManifest(void* hostPointer)
{
    IUpdateCheckHost& host = *static_cast<IUpdateCheckHost*>(hostPointer);
    const std::wstring manifest = host.GetManifestPath();
    // Nothing of a manifest is used, not even its mode, before all of it was
    // found signed and acceptable. The signature comes first: it reads no
    // more than a manifest's size of a file that may be anything.
    CManifestCheck check(manifest, host.GetInstallFolder());
    if (!check.Accept() || !IsUpdateManifest(manifest)) {
        PostMessageW(host.GetWindow(), WM_MANIFEST_FAILED, 0, 0);
        return 0;
    }
    if (GetPrivateProfileIntW(L"RUN", L"MODE", 0, manifest.c_str()) == 1 && host.GetUpdateMode() == UpdateModeSilent)
        host.SetUpdateMode(UpdateModeForced);

    const std::wstring cache = WithBackslash(host.GetInstallFolder()) + L"cache\\";
    if (!PathFileExistsW(cache.c_str())) CreateDirectoryW(cache.c_str(), nullptr);
    const std::string baseUrl = BaseUrl(host.GetManifestUrl());
    std::set<std::string> manifestUrls;

    const bool forced = host.GetUpdateMode() == UpdateModeForced;
    bool filesChanged = forced && CheckSingleFiles(host, check.Entries(), baseUrl, manifestUrls);
    SetupCheck setup = CheckSetup(host, check.Entries(), manifestUrls);
    if (setup == SetupUnusable) {
        PostMessageW(host.GetWindow(), WM_MANIFEST_FAILED, 0, 0);
        return 0;
    }
    bool setupNewer = setup == SetupNewer;
    RemoveStaleTasks(host.GetDownloadManager(), manifestUrls);

    UINT result = WM_UPDATE_ALREADY_NEWEST;
    if (forced) {
        if (filesChanged || setupNewer)
            result = WM_UPDATE_NEW_VERSION;
        else if (HasNoDownloads(host.GetDownloadManager()))
            CDownloadManager::DeleteListFile();
    } else if (setupNewer) {
        result = WM_UPDATE_NEW_VERSION;
    } else {
        CDownloadManager::DeleteListFile();
    }
    PostMessageW(host.GetWindow(), result, 0, 0);
    return 0;
}
