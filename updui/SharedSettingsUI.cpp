#include "SharedSettingsUI.h"

#include <cwchar>

#include "ZipArchive.h"

namespace UpdUI {

namespace {

const wchar_t kMemoryZipName[] = L"membuffer";

} // namespace

HINSTANCE CSharedSettingsUI::m_hInstance = nullptr;
HINSTANCE CSharedSettingsUI::m_hResourceInstance = nullptr;
CStringUI CSharedSettingsUI::m_sDefaultFontName;
CStringUI CSharedSettingsUI::m_sResourcePath;
CStringUI CSharedSettingsUI::m_sResourceZip;
bool CSharedSettingsUI::m_bCachedResourceZip = false;
ZipArchive* CSharedSettingsUI::m_hResourceZip = nullptr;
CPtrArrayUI CSharedSettingsUI::m_aPlugins;
short CSharedSettingsUI::m_H = 180;
short CSharedSettingsUI::m_S = 100;
short CSharedSettingsUI::m_L = 100;

void CSharedSettingsUI::SetInstance(HINSTANCE hInst)
{
    m_hInstance = hInst;
}

HINSTANCE CSharedSettingsUI::GetInstance()
{
    return m_hInstance;
}

void CSharedSettingsUI::SetResourceInstance(HINSTANCE hInst)
{
    m_hResourceInstance = hInst;
}

HINSTANCE CSharedSettingsUI::GetResourceInstance()
{
    return m_hResourceInstance != nullptr ? m_hResourceInstance : m_hInstance;
}

CStringUI CSharedSettingsUI::GetInstancePath()
{
    if (m_hInstance == nullptr) return CStringUI();
    wchar_t szModule[MAX_PATH + 1] = {};
    DWORD nLen = ::GetModuleFileNameW(m_hInstance, szModule, MAX_PATH);
    if (nLen == 0 || nLen >= MAX_PATH) return CStringUI();
    LPCWSTR pSlash = wcsrchr(szModule, L'\\');
    if (pSlash == nullptr) return CStringUI();
    return CStringUI(szModule, static_cast<int>(pSlash - szModule) + 1);
}

void CSharedSettingsUI::SetResourcePath(LPCWSTR pStrPath)
{
    m_sResourcePath = pStrPath;
    if (m_sResourcePath.IsEmpty()) return;
    wchar_t cEnd = m_sResourcePath.GetAt(m_sResourcePath.GetLength() - 1);
    if (cEnd != L'\\' && cEnd != L'/') m_sResourcePath += L'\\';
}

const CStringUI& CSharedSettingsUI::GetResourcePath()
{
    return m_sResourcePath;
}

void CSharedSettingsUI::SetSkinZipMemory(const void* pData, unsigned int nLength)
{
    if (m_sResourceZip == kMemoryZipName) return;
    if (m_bCachedResourceZip && m_hResourceZip != nullptr) {
        ZipClose(m_hResourceZip);
        m_hResourceZip = nullptr;
    }
    m_sResourceZip = kMemoryZipName;
    m_bCachedResourceZip = true;
    m_hResourceZip = ZipOpen(const_cast<void*>(pData), nLength, ZIP_MEMORY);
}

const CStringUI& CSharedSettingsUI::GetSkinZipName()
{
    return m_sResourceZip;
}

bool CSharedSettingsUI::IsSkinZipCached()
{
    return m_bCachedResourceZip;
}

ZipArchive* CSharedSettingsUI::GetSkinZipHandle()
{
    return m_hResourceZip;
}

void CSharedSettingsUI::ReleaseSkinZip()
{
    // Name and flag go with the archive: later reads must not look for a closed one.
    if (m_bCachedResourceZip && m_hResourceZip != nullptr) ZipClose(m_hResourceZip);
    m_hResourceZip = nullptr;
    m_bCachedResourceZip = false;
    m_sResourceZip.Empty();
}

void CSharedSettingsUI::GetSkinHsl(short* H, short* S, short* L)
{
    if (H != nullptr) *H = m_H;
    if (S != nullptr) *S = m_S;
    if (L != nullptr) *L = m_L;
}

CPtrArrayUI* CSharedSettingsUI::GetPlugins()
{
    return &m_aPlugins;
}

const CStringUI& CSharedSettingsUI::GetDefaultFontName()
{
    return m_sDefaultFontName;
}

} // namespace UpdUI
