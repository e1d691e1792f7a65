#pragma once
#include <windows.h>

namespace UIShared {

// The storage both libraries' string class is built on: a wide text with an inline
// buffer, so texts of up to 62 characters never touch the heap; longer ones live in a C
// runtime block of (length + 1) units. Always NUL-terminated. A text passed in may point
// into the string's own characters.
class CInlineTextUI
{
public:
    enum { MAX_LOCAL_STRING_LEN = 62 };

    int GetLength() const;
    LPCWSTR GetData() const;
    bool IsEmpty() const;
    wchar_t GetAt(int nIndex) const;

    void Assign(LPCWSTR pstr, int nLength = -1);
    void Append(LPCWSTR pstr, int nLength = -1);
    void Empty();

protected:
    CInlineTextUI();
    CInlineTextUI(const CInlineTextUI& src);
    CInlineTextUI& operator=(const CInlineTextUI& src);
    ~CInlineTextUI();

    LPWSTR m_pstr;

private:
    bool IsLocal() const;
    bool Overlaps(LPCWSTR pstr) const;
    void FreeHeap();
    void AssignUnaliased(LPCWSTR pstr, int nLength);
    void AppendUnaliased(LPCWSTR pstr, int nAdd);

    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 2];
};

} // namespace UIShared
