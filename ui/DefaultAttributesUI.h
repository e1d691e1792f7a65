#pragma once
#include <windows.h>

#include "StringMapUI.h"

// The skin's "Default" attribute lists of one window manager, by control name.
class CDefaultAttributesUI
{
public:
    CDefaultAttributesUI();
    ~CDefaultAttributesUI();
    CDefaultAttributesUI(const CDefaultAttributesUI&) = delete;
    CDefaultAttributesUI& operator=(const CDefaultAttributesUI&) = delete;

    // A second list for the same name replaces the first.
    void Set(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR Find(LPCWSTR pStrControlName) const;
    void RemoveAll();

private:
    CStringMapUI m_DefaultAttrHash;
};
