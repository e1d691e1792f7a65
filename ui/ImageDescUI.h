#pragma once
#include <windows.h>

#include "StringUI.h"

// An image description ("bkimage", "ftimage", state images): a bare image name, or
// key='value' pairs separated by one blank. A modifier string is read over the same
// record, so its keys override those of the description.
class CImageDescUI
{
public:
    // Defaults for a control at rcItem: the whole control, the whole image, no corners.
    explicit CImageDescUI(const RECT& rcItem);

    void Parse(LPCWSTR pstrDesc);

    CStringUI sFile;
    CStringUI sResType;
    RECT rcDest;
    RECT rcSource;
    RECT rcCorner;
    DWORD dwMask;
    BYTE uFade;
    bool bHole;

private:
    void Apply(const CStringUI& sKey, const CStringUI& sValue);

    RECT m_rcItem;
};
