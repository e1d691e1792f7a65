#pragma once
#include <windows.h>

#include "PtrArrayUI.h"
#include "StringUI.h"

namespace UpdUI {

struct TFontInfoUI
{
    HFONT hFont;
    CStringUI sFontName;
    int iSize;
    bool bBold;
    bool bUnderline;
    bool bItalic;
    TEXTMETRICW tm; // tmHeight 0: not measured yet
};

// The fonts of one window manager: its default font and the skin's numbered fonts,
// in the order of the markup's "Font" elements. Metrics are measured in the paint DC
// the caller passes; without one they wait for first use. The manager walks its
// parent managers itself.
class CFontTableUI
{
public:
    CFontTableUI();
    ~CFontTableUI();
    CFontTableUI(const CFontTableUI&) = delete;
    CFontTableUI& operator=(const CFontTableUI&) = delete;

    // The default font from the stock GUI font, its face replaced by sFaceName when
    // that is not empty.
    void InitDefault(const CStringUI& sFaceName);
    TFontInfoUI& GetDefault();
    void SetDefault(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic, HDC hDcPaint);

    HFONT Add(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic, HDC hDcPaint);
    int GetCount() const;
    // The numbered font, or null for an index out of range.
    TFontInfoUI* GetAt(int iIndex) const;
    // A numbered font of this table only.
    HFONT Find(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    TFontInfoUI* Find(HFONT hFont) const;
    void RemoveAll();
    // The default and the numbered fonts.
    void Release();

    static bool MakeFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic, TFontInfoUI& info);
    // Nothing without a DC or a font.
    static void MeasureFont(HDC hDcPaint, TFontInfoUI& info);

private:
    TFontInfoUI m_DefaultFontInfo;
    CPtrArrayUI m_aCustomFonts;
};

} // namespace UpdUI
