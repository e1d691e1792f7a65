#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A 32-bit top-down DIB section selected into its own memory DC, for either UI
// library to paint on and the tests to read back. Pixels read as 0xRRGGBB (the
// alpha byte is masked off). A new canvas holds fill; black is all-zero bits.
class CDibCanvas
{
public:
    CDibCanvas(int cx, int cy, COLORREF fill = RGB(0, 0, 0));
    ~CDibCanvas();
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;

    // False when the DIB could not be made (a size beyond the system's means).
    bool IsValid() const { return m_pBits != nullptr; }
    HDC DC() const { return m_hDC; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    RECT Rect() const { return RECT{ 0, 0, m_cx, m_cy }; }

    // Every pixel to rgb (0xRRGGBB), stored as given: an alpha byte above it is kept.
    void Fill(DWORD rgb);
    // A pattern whose every pixel differs from its neighbours, so no drawing matches it by
    // chance; each seed gives other pixels.
    void FillPattern(int nSeed = 0);
    DWORD Pixel(int x, int y) const;
    // Every pixel as it is stored, the alpha byte included, row by row.
    std::vector<DWORD> Pixels() const;

    // Pixels of rc that have, or do not have, the colour rgb.
    int CountOf(const RECT& rc, DWORD rgb) const;
    int CountOtherThan(const RECT& rc, DWORD rgb) const;
    bool AllPixels(const RECT& rc, DWORD rgb) const { return CountOtherThan(rc, rgb) == 0; }
    bool AnyPixel(const RECT& rc, DWORD rgb) const { return CountOf(rc, rgb) > 0; }
    bool AnyPixelIsNot(const RECT& rc, DWORD rgb) const { return CountOtherThan(rc, rgb) > 0; }

    // The pixels of rc row by row, '.' for background and '#' for anything else,
    // for comparing two paintings.
    std::wstring Capture(const RECT& rc, DWORD background) const;

    // Paints a control tree of either library on the canvas.
    template <class TControl> void Paint(TControl* pControl, const RECT& rc) { pControl->DoPaint(m_hDC, rc); }

    // Keeps what the test saw, for a person to look at.
    void SaveBmp(LPCWSTR pstrPath) const;

protected:
    DWORD* Bits() const { return m_pBits; }

private:
    int m_cx;
    int m_cy;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    DWORD* m_pBits = nullptr;
};
