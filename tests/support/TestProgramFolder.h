#pragma once
#include <string>
#include <vector>

// A program folder of its own for one run of lumora.exe: copies of the
// program, its skin and error page, the stand-in updater as "lumoraupd.exe",
// a portal of three local pages named in "portal.ini" (enciphered as the
// program keeps them) and a "cfg.db".
class TestProgramFolder
{
public:
    // portalPages: file names under the folder's "portal" subfolder for the
    // home, TV and playing views; a name that is not written stays missing.
    // An "http://" address is given to its view as it is.
    TestProgramFolder(const std::wstring& name, const std::vector<std::wstring>& portalPages, bool writePages = true);

    // Replaces the program's skin file with another one.
    bool UseSkin(const std::wstring& skinFile);

    bool Ready() const { return ready_; }
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // "file:///Z:/.../portal/<page>" (or the page's own http:// address) as
    // the views are given it.
    std::wstring PageAddress(const std::wstring& page) const;
    std::wstring ErrorPageAddress() const;
    // The lines the stand-in updater logged, oldest first.
    std::vector<std::string> UpdaterCalls() const;
    int ReadSetting(const wchar_t* key) const;

private:
    bool Prepare(const std::vector<std::wstring>& portalPages, bool writePages);
    bool CopyProgramFiles();
    bool WritePortal(const std::vector<std::wstring>& portalPages, bool writePages);
    std::wstring FileAddress(const std::wstring& relative) const;

    std::wstring path_;
    bool ready_ = false;
};
