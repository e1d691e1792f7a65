#pragma once
#include <windows.h>

#include "PtrArrayUI.h"
#include "StringUI.h"

namespace UpdUI {

class ZipArchive;

// What every window of the program shares, behind CWindowManagerUI's static
// operations: the module and resource instances, the folder markup and images are
// read from, the skin archive, the plug-in control creators and the skin colour
// adjustment.
class CSharedSettingsUI
{
public:
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();
    static void SetResourceInstance(HINSTANCE hInst);
    // The resource instance when one is set, else the module instance.
    static HINSTANCE GetResourceInstance();
    // The module's folder with its trailing '\'; empty without an instance.
    static CStringUI GetInstancePath();
    // A path that ends in neither '\' nor '/' gets a '\'.
    static void SetResourcePath(LPCWSTR pStrPath);
    static const CStringUI& GetResourcePath();
    // The first block stays in use: a second call changes nothing.
    static void SetSkinZipMemory(const void* pData, unsigned int nLength);
    static const CStringUI& GetSkinZipName();
    static bool IsSkinZipCached();
    static ZipArchive* GetSkinZipHandle();
    static void ReleaseSkinZip();
    static void GetSkinHsl(short* H, short* S, short* L);
    static CPtrArrayUI* GetPlugins();
    // The face of every manager's default font; empty keeps the stock GUI font's.
    static const CStringUI& GetDefaultFontName();

private:
    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CStringUI m_sDefaultFontName;
    static CStringUI m_sResourcePath;
    static CStringUI m_sResourceZip;
    static bool m_bCachedResourceZip;
    static ZipArchive* m_hResourceZip;
    static CPtrArrayUI m_aPlugins;
    static short m_H;
    static short m_S;
    static short m_L;
};

} // namespace UpdUI
