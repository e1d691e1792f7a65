#pragma once
#include <windows.h>

#include "StringUI.h"

namespace UpdUI {

// An image description: a bare image name, or blank-separated name='value' items (file,
// res, restype, dest, source, corner, mask, fade, hole, xtiled, ytiled). The modifier a
// control adds is read over the same record, so its items win.
class CImageDescUI
{
public:
    // Called when a text names a second image: the first is drawn with the settings so far.
    class IDrawSink
    {
    public:
        virtual void DrawPending(const CImageDescUI& desc) = 0;

    protected:
        ~IDrawSink() = default;
    };

    // Defaults for a control at rcItem: the whole control, the whole image, no corners.
    CImageDescUI(const RECT& rcItem, LPCWSTR pstrDescription);

    void Read(LPCWSTR pstrText, IDrawSink& sink);

    CStringUI sName;
    CStringUI sResType;
    RECT rcDest;
    RECT rcSource;
    RECT rcCorner;
    DWORD dwMask;
    BYTE uFade;
    bool bHole;
    bool bTiledX;
    bool bTiledY;

private:
    void Apply(const CStringUI& sKey, const CStringUI& sValue, bool& bNamed, IDrawSink& sink);

    RECT m_rcItem;
};

} // namespace UpdUI
