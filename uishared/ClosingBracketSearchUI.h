#pragma once
#include <windows.h>

namespace UIShared {

// Finds the closing bracket of a tag in one text, remembering the last search for each
// bracket kind: what it found answers for every later start it covered, and a search
// starting before it stops where that one started. Tag openings that are never closed
// each searched the whole rest of the text, and thousands of them took seconds.
class CClosingBracketSearchUI
{
public:
    // The first chClose (">" or "}") at or after q, or null.
    LPCWSTR Find(LPCWSTR q, WCHAR chClose);

private:
    struct TSearch
    {
        LPCWSTR pFrom = nullptr;
        LPCWSTR pFound = nullptr;
    };
    TSearch m_searches[2];
};

} // namespace UIShared
