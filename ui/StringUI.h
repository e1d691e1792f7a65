#pragma once
#include <windows.h>

#include "uishared/InlineTextUI.h"

// Wide string with an inline buffer: texts of up to 62 characters never touch the heap.
class CStringUI : public UIShared::CInlineTextUI
{
public:
    CStringUI();
    CStringUI(LPCWSTR lpsz, int nLen = -1);
    CStringUI(const CStringUI& src);

    CStringUI& operator=(LPCWSTR pstr);
    CStringUI& operator=(const CStringUI& src);

    void Append(LPCWSTR pstr);
    CStringUI& operator+=(LPCWSTR pstr);
    CStringUI& operator+=(const CStringUI& src);
    CStringUI& operator+=(wchar_t ch);

    bool Compare(LPCWSTR pstr) const;
    int Find(LPCWSTR pstrSub, int iPos = 0) const;

    int Format(LPCWSTR pstrFormat, ...);
    int SmallFormat(LPCWSTR pstrFormat, ...);
};
