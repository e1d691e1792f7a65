#pragma once
#include <windows.h>

#include "StringMapUI.h"

namespace UpdUI {

// The skin's "Default" attribute lists of one window manager, by control class (tag
// name). The manager walks its parent managers itself.
class CDefaultAttributesUI
{
public:
    CDefaultAttributesUI();
    ~CDefaultAttributesUI();
    CDefaultAttributesUI(const CDefaultAttributesUI&) = delete;
    CDefaultAttributesUI& operator=(const CDefaultAttributesUI&) = delete;

    // The first list for a name stays.
    void Add(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    // This table's list for the name, or null.
    LPCWSTR Find(LPCWSTR pStrControlName) const;
    void RemoveAll();

private:
    // A lookup moves the entry to the front of its bucket.
    mutable CStringMapUI m_DefaultAttrHash;
};

} // namespace UpdUI
