#include "FuzzUpdaterTargets.h"

#include <wininet.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The resume records are read only inside a transfer; the harness calls that reader
// directly instead of starting one.
#define private public
#include "HttpDownload.h"
#undef private

#include "DownloadManager.h"
#include "FuzzRunner.h"
#include "StringCipher.h"
#include "UpdateManifest.h"
#include "UpdateManifestSigner.h"
#include "UpdaterCipherKey.h"

namespace {

std::string g_folder; // the working folder, with a trailing backslash
const DWORD kPartialSize = 65536;
const DWORD kContentLength = 100000;

void WriteWholeFile(const std::string& path, const void* data, size_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, data, (DWORD)size, &written, nullptr);
    CloseHandle(file);
}

class FuzzUpdateHost : public IUpdateCheckHost
{
public:
    ~FuzzUpdateHost() override
    {
        for (HANDLE timer : timers_) CloseHandle(timer);
    }
    WORD GetUpdateMode() override { return mode; }
    void SetUpdateMode(WORD value) override { mode = value; }
    std::wstring GetInstallFolder() override { return installFolder; }
    std::wstring GetManifestPath() override { return manifestPath; }
    // Never contacted: the check only names addresses below it.
    std::string GetManifestUrl() override { return "http://127.0.0.1:9/lumo/newupdate.ini"; }
    CDownloadManager& GetDownloadManager() override { return manager; }
    HWND GetWindow() override { return nullptr; }
    void SetFoundVersionText(const std::wstring&) override { }
    void SetNewFeatures(const std::wstring&) override { }
    void SetSetupFileName(const std::wstring&) override { }
    void SetSetupUrl(const std::string&) override { }
    void StartProgressTimerThread(HANDLE timer) override { timers_.push_back(timer); }

    WORD mode = UpdateModeInteractive;
    std::wstring installFolder, manifestPath;
    CDownloadManager manager;

private:
    std::vector<HANDLE> timers_;
};

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

} // namespace

void PrepareUpdaterFolder(const std::wstring&)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    g_folder = std::string(temp) + "lumora_fuzz_updater_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CreateDirectoryA((g_folder + "install").c_str(), nullptr);
    // The list is read from the working folder, as the updater reads it from its own.
    SetCurrentDirectoryA(g_folder.c_str());
    std::vector<BYTE> partial(kPartialSize, 0x5A);
    WriteWholeFile(g_folder + "file.bin.part", partial.data(), partial.size());
}

void RunDownloadList(const BYTE* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string stored = StringCipher(text, MakeUpdaterCipherKey(), CipherEncode);
    WriteWholeFile(g_folder + CDownloadManager::kListFileName, stored.data(), stored.size());
    CDownloadManager manager;
    manager.LoadDownloadList();
    // The raw bytes as a damaged list file.
    WriteWholeFile(g_folder + CDownloadManager::kListFileName, data, size);
    CDownloadManager again;
    again.LoadDownloadList();
}

void RunManifest(const BYTE* data, size_t size)
{
    std::string manifest = g_folder + "newupdate.ini";
    // Signed as published, so the mutations reach the entry rules and the
    // check past the signature; unsigned inputs only ever meet the signature.
    std::string signedText = SignedManifest(std::string(reinterpret_cast<const char*>(data), size));
    WriteWholeFile(manifest, reinterpret_cast<const BYTE*>(signedText.data()), signedText.size());
    FuzzUpdateHost host;
    host.mode = (WORD)(size % 3);
    host.installFolder = Wide(g_folder + "install\\");
    host.manifestPath = Wide(manifest);
    ParseUpdateManifest(&host);
}

void RunResumeRecords(const BYTE* data, size_t size)
{
    CHttpDownload download;
    download.cfgFile = g_folder + "file.bin.Cfg";
    download.contentLength = kContentLength;
    download.resumable = 1;
    WriteWholeFile(download.cfgFile, data, size);
    std::vector<ResumeRecord> ranges;
    if (!download.PlanResume(g_folder + "file.bin.part", ranges)) return;
    if (ranges.size() > ResumeRecordFile::kMaxRecords) Fuzz::ReportWrongResult("more ranges than records allowed");
    for (const ResumeRecord& range : ranges) {
        if (range.start >= range.end || range.end > kContentLength || range.start > kPartialSize)
            Fuzz::ReportWrongResult("a resume range outside the file");
    }
}
