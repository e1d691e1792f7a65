#pragma once
#include <windows.h>

namespace UpdUI {

// Narrows a DC's clip region to one rectangle (optionally with rounded corners) for a
// paint pass and puts the earlier clip back when it goes out of scope.
class CRenderClipUI
{
public:
    CRenderClipUI();
    ~CRenderClipUI();
    CRenderClipUI(const CRenderClipUI&) = delete;
    CRenderClipUI& operator=(const CRenderClipUI&) = delete;

    static void Generate(HDC hDC, const RECT& rc, CRenderClipUI& clip);
    static void GenerateRound(HDC hDC, const RECT& rc, const RECT& rcItem, int width, int height, CRenderClipUI& clip);
    static void SelectOldClip(HDC hDC, CRenderClipUI& clip);
    static void SelectNewClip(HDC hDC, CRenderClipUI& clip);

    RECT rcItem;
    HDC hDC;
    HRGN hRgn;
    HRGN hOldRgn;

private:
    void Save(HDC hDCTarget, const RECT& rc);
};

} // namespace UpdUI
