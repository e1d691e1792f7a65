#include "ManifestEntries.h"

#include <windows.h>

#include <algorithm>

namespace {

std::wstring Numbered(const wchar_t* prefix, int index)
{
    return index > 0 ? prefix + std::to_wstring(index) : std::wstring(prefix);
}

} // namespace

CManifestEntries::CManifestEntries(const std::wstring& manifestPath)
    : m_fileNumber(static_cast<int>(GetPrivateProfileIntW(L"FILE", L"NUMBER", 0, manifestPath.c_str()))),
      m_runNumber(static_cast<int>(GetPrivateProfileIntW(L"RUN", L"NUMBER", 0, manifestPath.c_str())))
{
    if (m_fileNumber > kMaxManifestEntries || m_runNumber > kMaxManifestEntries) {
        m_inBounds = false;
        return;
    }
    m_setup = CIniSection(manifestPath, L"SETUP");
    m_file = CIniSection(manifestPath, L"FILE");
    m_run = CIniSection(manifestPath, L"RUN");
    m_inBounds = m_setup.Whole() && m_file.Whole() && m_run.Whole();
    if (!m_inBounds) m_setup = m_file = m_run = CIniSection();
}

int CManifestEntries::FileCount() const
{
    return m_inBounds ? std::min(m_fileNumber, kMaxManifestFileEntries) : 0;
}

int CManifestEntries::RunCount() const
{
    return m_inBounds ? m_runNumber : 0;
}

std::wstring CManifestEntries::FileValue(const wchar_t* prefix, int index, size_t capacity) const
{
    return m_file.Value(Numbered(prefix, index), capacity);
}

std::wstring CManifestEntries::RunValue(const wchar_t* prefix, int index, size_t capacity) const
{
    return m_run.Value(Numbered(prefix, index), capacity);
}

bool CManifestEntries::EntryDigest(int index, FileDigest& digest) const
{
    const CIniSection& section = index > 0 ? m_file : m_setup;
    return ParseFileDigest(section.Value(Numbered(L"SIZE", index), 16), section.Value(Numbered(L"SHA256", index), 80),
                           digest);
}
