#include "ManifestCheck.h"

#include "AnsiText.h"
#include "ManifestRules.h"
#include "ManifestSignature.h"
#include "SafeFileName.h"
#include "StringCipher.h"
#include "UpdateManifest.h"
#include "UpdaterCipherKey.h"

#include <windows.h>

namespace {

std::wstring WithBackslash(std::wstring folder)
{
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
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

bool CManifestCheck::Accept()
{
    if (!CManifestSignature::WithBuiltInKey().VerifyFile(m_manifest))
        return Refuse(L"signature", L"missing or not by the update key");
    m_entries = CManifestEntries(m_manifest);
    // Counted before any entry is looked at: a manifest that counts more
    // entries than any update has is no update of ours.
    if (!m_entries.InBounds())
        return Refuse(L"entry count", L"more than " + std::to_wstring(kMaxManifestEntries) + L" FILE or RUN entries");
    return CheckFileEntries() && CheckSetupEntry() && CheckRunEntries();
}

// Every FILE entry with a name, in every mode: a name and a folder inside the
// install folder, and the bytes it must have.
bool CManifestCheck::CheckFileEntries() const
{
    for (int i = 1; i <= m_entries.FileCount(); ++i) {
        std::wstring name = m_entries.FileValue(L"NAME", i);
        if (name.empty()) continue;
        std::wstring folder = ResolveTargetFolder(m_entries.FileValue(L"PATH", i), m_installFolder);
        if (!IsAcceptableName(name) || (folder + name).size() >= MAX_PATH) return Refuse(L"FILE name", name);
        if (!IsTargetInsideInstallFolder(folder, m_installFolder))
            return Refuse(L"FILE target outside the install folder", folder);
        FileDigest digest;
        if (!m_entries.EntryDigest(i, digest)) return Refuse(L"FILE without SIZE and SHA256", name);
    }
    return true;
}

// A SETUP section that names a package names all of it: a plain name that is
// no program file (it is moved into the install folder under this name), a
// web address, and the bytes.
bool CManifestCheck::CheckSetupEntry() const
{
    const CIniSection& setup = m_entries.Setup();
    if (setup.Value(L"VERSION", 255).empty()) return true;
    std::wstring name = setup.Value(L"NAME", 260);
    std::wstring cipherUrl = setup.Value(L"URL", 260);
    if (name.empty() && cipherUrl.empty()) return true;
    if (!IsAcceptableName(name) || (m_installFolder + L"cache\\" + name).size() >= MAX_PATH)
        return Refuse(L"SETUP name", name);
    if (IsProgramFileName(name)) return Refuse(L"SETUP name of a program file", name);
    std::string url = StringCipher(ToAnsi(cipherUrl), MakeUpdaterCipherKey(), CipherDecode);
    if (url.compare(0, 7, "http://") != 0 && url.compare(0, 8, "https://") != 0)
        return Refuse(L"SETUP address", cipherUrl);
    FileDigest digest;
    if (!m_entries.EntryDigest(0, digest)) return Refuse(L"SETUP without SIZE and SHA256", name);
    return true;
}

// RUN starts programs: the setup it names is the package of the SETUP
// section, and each program after the move is a plain name.
bool CManifestCheck::CheckRunEntries() const
{
    std::wstring setupEntry = m_entries.Run().Value(L"NAME", 260);
    if (!setupEntry.empty()) {
        std::wstring file = FirstWord(setupEntry);
        if (!IsAcceptableName(file) || IsProgramFileName(file)) return Refuse(L"RUN setup", setupEntry);
        if (_wcsicmp(file.c_str(), m_entries.Setup().Value(L"NAME", 260).c_str()) != 0)
            return Refuse(L"RUN setup that is not the SETUP package", setupEntry);
    }
    for (int i = 1; i <= m_entries.RunCount(); ++i) {
        std::wstring entry = m_entries.RunValue(L"FILE", i);
        if (!entry.empty() && !IsAcceptableName(FirstWord(entry))) return Refuse(L"RUN program", entry);
    }
    return true;
}
