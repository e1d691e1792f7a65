#pragma once
#include <windows.h>

#include "uishared/InlineTextUI.h"

namespace UpdUI {

// Wide string with an inline buffer: texts of up to 62 characters never touch the heap,
// longer ones live in a C runtime block of (length + 1) units. Always NUL-terminated.
class CStringUI : public UIShared::CInlineTextUI
{
public:
    CStringUI();
    CStringUI(wchar_t ch);
    CStringUI(LPCWSTR lpsz, int nLen = -1);
    CStringUI(const CStringUI& src);

    CStringUI& operator=(LPCWSTR pstr);
    CStringUI& operator=(const CStringUI& src);
    CStringUI& operator+=(const CStringUI& src);
    CStringUI& operator+=(LPCWSTR pstr);
    CStringUI& operator+=(wchar_t ch);
    bool operator==(LPCWSTR pstr) const;
    bool operator==(const CStringUI& src) const;
    bool operator!=(LPCWSTR pstr) const;

    int Compare(LPCWSTR pstr) const;
    void MakeLower();
    int Find(LPCWSTR pstrSub, int iPos = 0) const;
    int ReverseFind(wchar_t ch) const;
    CStringUI Left(int nLength) const;
    CStringUI Mid(int iPos, int nLength = -1) const;
    int Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo);
    int Format(LPCWSTR pstrFormat, ...);
};

} // namespace UpdUI
