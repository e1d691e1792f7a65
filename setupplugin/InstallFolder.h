#pragma once
#include <string>

// Where an install goes when the user names a folder. Lumora keeps a folder of
// its own: a folder that already holds the user's files gets "Lumora" added,
// and so do the places that belong to the system or to a user as a whole, so
// an uninstall never has to tell the program's files from the user's there.
class CInstallFolder
{
public:
    static constexpr const wchar_t* kOwnFolderName = L"Lumora";
    // The file list an installation keeps of the files the installer wrote.
    static constexpr const wchar_t* kInstalledListName = L"installed.list";

    // The folder to install into for the one named; empty stays empty.
    static std::wstring Resolve(const std::wstring& chosen);
    // The nearest folder of path that exists, the path itself included; empty
    // when none does.
    static std::wstring NearestExisting(const std::wstring& path);
    // The folder holds a Lumora installation (a finished one, or one whose
    // install was interrupted after its program arrived).
    static bool HoldsInstallation(const std::wstring& folder);

private:
    static std::wstring WithoutTrailingBackslash(const std::wstring& path);
    static bool IsDirectory(const std::wstring& path);
    static bool IsEmptyFolder(const std::wstring& folder);
    static bool IsSystemPlace(const std::wstring& folder);
};
