#pragma once
#include <windows.h>

// Wide string with an inline buffer: texts of up to 62 characters never touch the heap.
class CStringUI
{
public:
    enum { MAX_LOCAL_STRING_LEN = 62 };

    CStringUI();
    CStringUI(LPCWSTR lpsz, int nLen = -1);
    CStringUI(const CStringUI& src);
    ~CStringUI();

    void Assign(LPCWSTR pstr, int nLength = -1);
    CStringUI& operator=(LPCWSTR pstr);
    CStringUI& operator=(const CStringUI& src);

    void Append(LPCWSTR pstr);
    CStringUI& operator+=(LPCWSTR pstr);
    CStringUI& operator+=(const CStringUI& src);
    CStringUI& operator+=(wchar_t ch);

    bool IsEmpty() const;
    void Empty();
    int GetLength() const;
    LPCWSTR GetData() const;
    wchar_t GetAt(int nIndex) const;
    bool Compare(LPCWSTR pstr) const;
    int Find(LPCWSTR pstrSub, int iPos = 0) const;

    int Format(LPCWSTR pstrFormat, ...);
    int SmallFormat(LPCWSTR pstrFormat, ...);

private:
    bool IsLocal() const;
    bool Overlaps(LPCWSTR pstr) const;
    void FreeHeap();
    void AssignUnaliased(LPCWSTR pstr, int nLength);
    void AppendUnaliased(LPCWSTR pstr, int nAdd);

    LPWSTR m_pstr;
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 2];
};
