#include "DownloadPublic.h"

#include <cstdio>

namespace {

const int kMaxRenameAttempts = 11;

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ExtensionOf(const std::string& name)
{
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

} // namespace

void FreePostedUrl(WPARAM wParam)
{
    delete[] reinterpret_cast<char*>(wParam);
}

CDownloadPublic::CDownloadPublic()
{
    InitializeCriticalSection(&lock);
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CDownloadPublic::~CDownloadPublic()
{
    if (stopEvent) CloseHandle(stopEvent);
    DeleteCriticalSection(&lock);
}

DWORD CDownloadPublic::OpenSession()
{
    return 0;
}
DWORD CDownloadPublic::StartTransfer()
{
    return 0;
}
DWORD CDownloadPublic::Stop()
{
    return 0;
}
DWORD CDownloadPublic::StartProbe()
{
    return 0;
}
DWORD CDownloadPublic::SaveResumeRecords()
{
    return 0;
}
int CDownloadPublic::GetPercent()
{
    return 0;
}
int CDownloadPublic::GetBytesSinceLastQuery()
{
    return 0;
}
void CDownloadPublic::CloseSession() { }
void CDownloadPublic::SetProtocol(WORD) { }
WORD CDownloadPublic::GetProtocol()
{
    return 0;
}
bool CDownloadPublic::AreThreadsValid()
{
    return true;
}

bool CDownloadPublic::IsStopSignalled() const
{
    return WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
}

CDownloadPublic::Names CDownloadPublic::GetNames()
{
    EnterCriticalSection(&lock);
    Names names{ fileName, cfgFile, url };
    LeaveCriticalSection(&lock);
    return names;
}

bool CDownloadPublic::Post(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return PostMessageW(owner, message, wParam, lParam) != FALSE;
}

// Renames "<name>_tmp" to the final name; a target that cannot be replaced
// (in use, read-only) gets "_new" inserted before the extension instead.
bool CDownloadPublic::RenamePartialFile()
{
    const std::string partial = folder + fileName + "_tmp";
    if (!cfgFile.empty() && FileExists(cfgFile)) DeleteFileA(cfgFile.c_str());
    if (FileExists(folder + fileName)) DeleteFileA((folder + fileName).c_str());

    const std::string ext = ExtensionOf(fileName);
    std::string base = fileName;
    std::string finalName = fileName;
    // A file of the manifest keeps the manifest's name, which is what it is
    // installed as: when that name cannot be had, the download fails.
    const int attempts = hasDigest ? 1 : kMaxRenameAttempts;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (rename(partial.c_str(), (folder + finalName).c_str()) == 0) {
            EnterCriticalSection(&lock);
            fileName = finalName;
            LeaveCriticalSection(&lock);
            return true;
        }
        base += "_new";
        finalName = base + ext;
    }
    return false;
}

void CDownloadPublic::FinishDownloadedFile()
{
    if (!RenamePartialFile()) {
        // Without a message the wizard would wait for this download forever.
        state = DownloadFailed;
        OnDownloadFailed();
        return;
    }
    state = DownloadDone;
    if (isInfo)
        Post(WM_MANIFEST_DOWNLOADED, reinterpret_cast<WPARAM>(this), cancelled);
    else
        PostCompleted();
}

void CDownloadPublic::PostCompleted()
{
    CompletedDownloadRecord* record = new CompletedDownloadRecord;
    record->url = queuedUrl;
    record->folder = folder;
    record->fileName = fileName;
    record->copyPath = copyPath;
    record->version = version;
    record->size = hasDigest ? expectedDigest.size : contentLength.load();
    record->download = this;
    if (!Post(WM_DOWNLOAD_COMPLETED, reinterpret_cast<WPARAM>(record), cancelled)) delete record;
}

void CDownloadPublic::OnDownloadFailed()
{
    if (isInfo) {
        // A user stop stays silent.
        if (!IsStopSignalled()) Post(WM_MANIFEST_FAILED, 0, 0);
        return;
    }
    state = DownloadFailed;
    Post(WM_DOWNLOAD_FAILED, reinterpret_cast<WPARAM>(this), 0);
}
