#pragma once
#include <windows.h>

// A 32-bit top-down DIB section selected into its own memory DC.
class CBenchDib
{
public:
    CBenchDib(int cx, int cy);
    ~CBenchDib();
    CBenchDib(const CBenchDib&) = delete;
    CBenchDib& operator=(const CBenchDib&) = delete;

    bool IsValid() const;
    HDC DC() const;
    int Width() const;
    int Height() const;

    void Fill(DWORD argb);
    // Premultiplied pixels whose alpha runs through every value, so a blend of this DIB
    // takes the general path on every pixel.
    void FillTranslucentPattern();
    bool SaveBmp(LPCWSTR pstrPath) const;

private:
    int m_cx;
    int m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits;
};
