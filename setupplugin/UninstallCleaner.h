#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Removes from an installation folder only what is Lumora's: the files the
// installer wrote, as its list in the folder names them, and what the programs
// make there, where and as they make it. A folder goes only once it is empty,
// so every file the user put there stays, with the folders that hold it.
class CUninstallCleaner
{
public:
    // leftForLater names, relative to the folder, the uninstaller running from
    // it: its file cannot go while it runs and is removed once it has ended.
    explicit CUninstallCleaner(const std::wstring& folder, const std::wstring& leftForLater = std::wstring());

    void Run();
    // An own file that could not be removed (in use, say); empty when none.
    const std::wstring& StuckFile() const { return m_stuckFile; }
    // The folder is still there because it holds files that are not ours.
    bool FolderKept() const { return m_bFolderKept; }

    // A line of the installer's list that names a file inside the folder: a
    // relative path without drive, leading backslash or "..".
    static bool IsSafeRelativePath(const std::wstring& path);
    // The name the updater's crash dumps get: "YYYY-MM-DD HHMMSS.dmp".
    static bool IsCrashDumpName(const std::wstring& name);

private:
    std::vector<std::wstring> ReadInstalledList() const;
    void RemoveInstalledFiles();
    void RemoveProgramMadeFiles();
    void RemoveCrashDumps();
    void RemoveDownloads();
    void RemoveEngineStore();
    void RemoveEmptyFolders();
    void RemoveOwnFile(const std::wstring& relative);
    // Every file name in a subfolder that matches the pattern.
    std::vector<std::wstring> FilesIn(const std::wstring& relativeFolder, LPCWSTR pstrPattern) const;
    static void RemoveTree(const std::wstring& path);
    bool HoldsOnlyLeftForLater() const;

    std::wstring m_folder;
    std::wstring m_leftForLater;
    std::vector<std::wstring> m_ownFolders;
    std::wstring m_stuckFile;
    bool m_bFolderKept;
};
