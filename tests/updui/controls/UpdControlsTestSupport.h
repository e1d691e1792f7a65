#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "../core/UpdCoreTestSupport.h"
#include "DibCanvas.h"
#include "SkinBuilderUI.h"
#include "UpdUILib.h"

namespace UpdControlsTest {

using namespace UpdCoreTest;

// A fresh folder under the temporary directory, with a trailing backslash.
inline std::wstring MakeTempFolder(LPCWSTR pstrName)
{
    WCHAR szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    std::wstring sFolder = std::wstring(szTemp) + pstrName + L"_" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    ::CreateDirectoryW(sFolder.c_str(), nullptr);
    return sFolder;
}

inline bool WriteWholeFile(const std::wstring& sPath, const void* pData, size_t nSize)
{
    HANDLE hFile = ::CreateFileW(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    DWORD dwWritten = 0;
    BOOL bOk = ::WriteFile(hFile, pData, static_cast<DWORD>(nSize), &dwWritten, nullptr);
    ::CloseHandle(hFile);
    return bOk && dwWritten == nSize;
}

// A 24-bit BMP whose pixel (x, y) has the colour 0xRRGGBB that colorAt gives.
inline bool WriteBmp(const std::wstring& sPath, int cx, int cy, const std::function<DWORD(int, int)>& colorAt)
{
    int nStride = (cx * 3 + 3) & ~3;
    std::string bytes(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + static_cast<size_t>(nStride) * cy, '\0');
    BITMAPFILEHEADER* pFile = reinterpret_cast<BITMAPFILEHEADER*>(&bytes[0]);
    BITMAPINFOHEADER* pInfo = reinterpret_cast<BITMAPINFOHEADER*>(&bytes[sizeof(BITMAPFILEHEADER)]);
    pFile->bfType = 0x4D42;
    pFile->bfSize = static_cast<DWORD>(bytes.size());
    pFile->bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    pInfo->biSize = sizeof(BITMAPINFOHEADER);
    pInfo->biWidth = cx;
    pInfo->biHeight = cy;
    pInfo->biPlanes = 1;
    pInfo->biBitCount = 24;
    BYTE* pBits = reinterpret_cast<BYTE*>(&bytes[pFile->bfOffBits]);
    for (int y = 0; y < cy; ++y) {
        BYTE* pRow = pBits + static_cast<size_t>(cy - 1 - y) * nStride;
        for (int x = 0; x < cx; ++x) {
            DWORD c = colorAt(x, y);
            pRow[x * 3] = static_cast<BYTE>(c & 0xFF);
            pRow[x * 3 + 1] = static_cast<BYTE>((c >> 8) & 0xFF);
            pRow[x * 3 + 2] = static_cast<BYTE>((c >> 16) & 0xFF);
        }
    }
    return WriteWholeFile(sPath, bytes.data(), bytes.size());
}

// One manager per test on the shared host window; controls get real window messages.
class CControlsFixture : public CHostedManagerFixture
{
protected:
    void TearDown() override
    {
        CHostedManagerFixture::TearDown();
        ReleaseAllKeys();
    }
    // Attaches the root and lays it out over the whole client area.
    void Attach(CControlUI* pRoot)
    {
        manager->AttachRoot(pRoot);
        PaintNow(hWnd);
    }
    LRESULT Send(UINT uMsg, WPARAM wParam, int x, int y)
    {
        return ::SendMessageW(hWnd, uMsg, wParam, MAKELPARAM(x, y));
    }
    void Click(int x, int y)
    {
        Send(WM_MOUSEMOVE, 0, x, y);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Send(WM_LBUTTONUP, 0, x, y);
    }
};

inline TEventRecUI MakeEvent(int type, int x = 0, int y = 0, WPARAM wParam = 0)
{
    TEventRecUI event = {};
    event.type = type;
    event.mousePoint.x = x;
    event.mousePoint.y = y;
    event.wParam = wParam;
    return event;
}

inline void Deliver(CControlUI* pControl, int type, int x = 0, int y = 0, WPARAM wParam = 0)
{
    TEventRecUI event = MakeEvent(type, x, y, wParam);
    event.sender = pControl;
    pControl->Event(event);
}

} // namespace UpdControlsTest
