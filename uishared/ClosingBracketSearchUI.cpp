#include "ClosingBracketSearchUI.h"

#include <cwchar>

namespace UIShared {

LPCWSTR CClosingBracketSearchUI::Find(LPCWSTR q, WCHAR chClose)
{
    TSearch& last = m_searches[chClose == L'>' ? 0 : 1];
    if (last.pFrom != nullptr && q >= last.pFrom && (last.pFound == nullptr || q <= last.pFound)) return last.pFound;
    LPCWSTR pFound = nullptr;
    if (last.pFrom != nullptr && q < last.pFrom) {
        LPCWSTR r = q;
        while (r < last.pFrom && *r != chClose) r++;
        pFound = r < last.pFrom ? r : last.pFound;
    } else {
        pFound = wcschr(q, chClose);
    }
    last.pFrom = q;
    last.pFound = pFound;
    return pFound;
}

} // namespace UIShared
