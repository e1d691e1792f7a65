#include "RectUI.h"

namespace UIShared {

CRectUI::CRectUI()
{
    left = top = right = bottom = 0;
}

CRectUI::CRectUI(const RECT& src)
{
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CRectUI::CRectUI(int iLeft, int iTop, int iRight, int iBottom)
{
    left = iLeft;
    top = iTop;
    right = iRight;
    bottom = iBottom;
}

int CRectUI::GetWidth() const
{
    return right - left;
}

int CRectUI::GetHeight() const
{
    return bottom - top;
}

// Union by coordinates only; an empty rect still pulls the result towards it.
void CRectUI::Join(const RECT& rc)
{
    if (rc.left < left) left = rc.left;
    if (rc.top < top) top = rc.top;
    if (rc.right > right) right = rc.right;
    if (rc.bottom > bottom) bottom = rc.bottom;
}

void CRectUI::ResetOffset()
{
    Offset(-left, -top);
}

void CRectUI::Offset(int cx, int cy)
{
    left += cx;
    right += cx;
    top += cy;
    bottom += cy;
}

void CRectUI::Deflate(int cx, int cy)
{
    left += cx;
    right -= cx;
    top += cy;
    bottom -= cy;
}

} // namespace UIShared
