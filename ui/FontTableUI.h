#pragma once
#include <windows.h>

#include "PtrArrayUI.h"

struct TFontInfoUI
{
    HFONT hFont;
    TEXTMETRICW tm; // tmHeight 0: not measured yet
};

// The fonts of one window manager: the default, bold and link fonts with their colours,
// and the skin's numbered fonts. Metrics are measured on first use, in the paint DC the
// caller passes (the screen when there is none). Every handle is deleted exactly once,
// also when one handle is both a default and a numbered font.
class CFontTableUI
{
public:
    CFontTableUI();
    ~CFontTableUI();
    CFontTableUI(const CFontTableUI&) = delete;
    CFontTableUI& operator=(const CFontTableUI&) = delete;

    void Release();

    HFONT GetDefaultFont() const;
    HFONT GetDefaultBoldFont() const;
    HFONT GetDefaultLinkFont() const;
    DWORD GetDefaultFontColor() const;
    DWORD GetDefaultLinkFontColor() const;
    DWORD GetDefaultLinkHoverFontColor() const;
    const TEXTMETRICW& GetDefaultFontInfo(HDC hDcPaint);
    const TEXTMETRICW& GetDefaultBoldFontInfo(HDC hDcPaint);
    const TEXTMETRICW& GetDefaultLinkFontInfo(HDC hDcPaint);

    // The previous default is deleted unless a numbered font of this table or of top
    // (the top manager's table) or another default still uses it.
    void SetDefaultFont(HFONT hFont, DWORD dwColor, HDC hDcPaint, const CFontTableUI& top);
    void SetDefaultBoldFont(HFONT hFont, DWORD dwColor, HDC hDcPaint, const CFontTableUI& top);
    void SetDefaultLinkFont(HFONT hFont, DWORD dwColor, DWORD dwHoverColor, HDC hDcPaint, const CFontTableUI& top);

    static HFONT MakeFont(LPCWSTR pstrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    bool AddFont(HFONT hFont, HDC hDcPaint);
    // An index out of range answers with the default font.
    HFONT GetFont(int iIndex) const;
    const TEXTMETRICW& GetFontInfo(int iIndex, HDC hDcPaint);
    bool HasFont(HFONT hFont) const;

private:
    bool HasFontIndex(int iIndex) const;
    static void MeasureFont(HDC hDcPaint, TFontInfoUI& info);
    static const TEXTMETRICW& MeasuredInfo(HDC hDcPaint, TFontInfoUI& info);
    void ReplaceDefaultFont(TFontInfoUI& target, HFONT hFont, HDC hDcPaint, const CFontTableUI& top);
    void ReleaseDefaultFonts();
    void ReleaseNumberedFonts();

    TFontInfoUI m_DefaultFont;
    DWORD m_dwDefaultFontColor;
    TFontInfoUI m_DefaultBoldFont;
    DWORD m_dwDefaultBoldFontColor;
    TFontInfoUI m_DefaultLinkFont;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    CPtrArrayUI m_aCustomFonts;
};
