#pragma once
#include <windows.h>

// Narrows a DC's clip region to one rectangle for a paint pass and puts the earlier
// clip back when it goes out of scope.
class CRenderClipUI
{
public:
    CRenderClipUI();
    ~CRenderClipUI();
    CRenderClipUI(const CRenderClipUI&) = delete;
    CRenderClipUI& operator=(const CRenderClipUI&) = delete;

    static void Generate(HDC hDC, const RECT& rc, CRenderClipUI& clip);
    static void SelectOldClip(HDC hDC, CRenderClipUI& clip);
    static void SelectNewClip(HDC hDC, CRenderClipUI& clip);

    RECT rcItem;
    HDC hDC;
    HRGN hRgn;
    HRGN hOldRgn;
};
