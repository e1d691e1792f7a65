#include "ManifestCheck.h"

#include "AnsiText.h"
#include "ManifestRules.h"
#include "ManifestSignature.h"
#include "SafeFileName.h"
#include "StringCipher.h"
#include "UpdateManifest.h"
#include "UpdaterCipherKey.h"

#include <windows.h>

#include <vector>

namespace {

const int kMaxRunEntries = 99999;

std::wstring WithBackslash(std::wstring folder)
{
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring Numbered(const wchar_t* prefix, int index)
{
    return index > 0 ? prefix + std::to_wstring(index) : std::wstring(prefix);
}

bool Refuse(const std::wstring& what, const std::wstring& value)
{
    LogManifestRefusal(what, value);
    return false;
}

// A name the manifest gives for a file that is fetched, moved or started: a
// plain file name, read whole.
bool IsAcceptableName(const std::wstring& name)
{
    return IsSafeFileName(name) && !MayBeCut(name, 260);
}

std::wstring FirstWord(const std::wstring& entry)
{
    return entry.substr(0, entry.find(L' '));
}

} // namespace

CManifestCheck::CManifestCheck(const std::wstring& manifestPath, const std::wstring& installFolder)
    : m_manifest(manifestPath), m_installFolder(WithBackslash(installFolder))
{ }

std::wstring CManifestCheck::Read(const wchar_t* section, const std::wstring& key, unsigned capacity) const
{
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    GetPrivateProfileStringW(section, key.c_str(), L"", buffer.data(), capacity, m_manifest.c_str());
    return buffer.data();
}

bool CManifestCheck::EntryDigest(int index, FileDigest& digest) const
{
    const wchar_t* section = index > 0 ? L"FILE" : L"SETUP";
    return ParseFileDigest(Read(section, Numbered(L"SIZE", index), 16), Read(section, Numbered(L"SHA256", index), 80),
                           digest);
}

bool CManifestCheck::Accept() const
{
    if (!CManifestSignature::WithBuiltInKey().VerifyFile(m_manifest))
        return Refuse(L"signature", L"missing or not by the update key");
    return CheckFileEntries() && CheckSetupEntry() && CheckRunEntries();
}

// Every FILE entry with a name, in every mode: a name and a folder inside the
// install folder, and the bytes it must have.
bool CManifestCheck::CheckFileEntries() const
{
    int count = GetPrivateProfileIntW(L"FILE", L"NUMBER", 0, m_manifest.c_str());
    for (int i = 1; i <= count && i <= kMaxManifestFileEntries; ++i) {
        std::wstring name = Read(L"FILE", Numbered(L"NAME", i));
        if (name.empty()) continue;
        std::wstring folder = ResolveTargetFolder(Read(L"FILE", Numbered(L"PATH", i)), m_installFolder);
        if (!IsAcceptableName(name) || (folder + name).size() >= MAX_PATH) return Refuse(L"FILE name", name);
        if (!IsTargetInsideInstallFolder(folder, m_installFolder))
            return Refuse(L"FILE target outside the install folder", folder);
        FileDigest digest;
        if (!EntryDigest(i, digest)) return Refuse(L"FILE without SIZE and SHA256", name);
    }
    return true;
}

// A SETUP section that names a package names all of it: a plain name that is
// no program file (it is moved into the install folder under this name), a
// web address, and the bytes.
bool CManifestCheck::CheckSetupEntry() const
{
    if (Read(L"SETUP", L"VERSION", 255).empty()) return true;
    std::wstring name = Read(L"SETUP", L"NAME");
    std::wstring cipherUrl = Read(L"SETUP", L"URL");
    if (name.empty() && cipherUrl.empty()) return true;
    if (!IsAcceptableName(name) || (m_installFolder + L"cache\\" + name).size() >= MAX_PATH)
        return Refuse(L"SETUP name", name);
    if (IsProgramFileName(name)) return Refuse(L"SETUP name of a program file", name);
    std::string url = StringCipher(ToAnsi(cipherUrl), MakeUpdaterCipherKey(), CipherDecode);
    if (url.compare(0, 7, "http://") != 0 && url.compare(0, 8, "https://") != 0)
        return Refuse(L"SETUP address", cipherUrl);
    FileDigest digest;
    if (!EntryDigest(0, digest)) return Refuse(L"SETUP without SIZE and SHA256", name);
    return true;
}

// RUN starts programs: the setup it names is the package of the SETUP
// section, and each program after the move is a plain name.
bool CManifestCheck::CheckRunEntries() const
{
    std::wstring setupEntry = Read(L"RUN", L"NAME");
    if (!setupEntry.empty()) {
        std::wstring file = FirstWord(setupEntry);
        if (!IsAcceptableName(file) || IsProgramFileName(file)) return Refuse(L"RUN setup", setupEntry);
        if (_wcsicmp(file.c_str(), Read(L"SETUP", L"NAME").c_str()) != 0)
            return Refuse(L"RUN setup that is not the SETUP package", setupEntry);
    }
    int count = GetPrivateProfileIntW(L"RUN", L"NUMBER", 0, m_manifest.c_str());
    for (int i = 1; i <= count && i <= kMaxRunEntries; ++i) {
        std::wstring entry = Read(L"RUN", Numbered(L"FILE", i));
        if (!entry.empty() && !IsAcceptableName(FirstWord(entry))) return Refuse(L"RUN program", entry);
    }
    return true;
}
