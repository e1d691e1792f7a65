#pragma once
#include <windows.h>

#include "LabelUI.h"

namespace UpdUI {

// Shows a value between a minimum and a maximum as a fore image covering the matching
// share of the control: from the left, or from the bottom when vertical.
class CProgressUI : public CLabelUI
{
public:
    CProgressUI();
    ~CProgressUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    bool IsStretchForeImage() const;
    void SetStretchForeImage(bool bStretch = true);
    int GetMinValue() const;
    void SetMinValue(int nMin);
    int GetMaxValue() const;
    void SetMaxValue(int nMax);
    int GetValue() const;
    void SetValue(int nValue);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);

    // The filled part relative to the control's top-left corner, after NormalizeRange.
    RECT GetFilledRect() const;

protected:
    // A range that is empty or inverted is widened to one step; the value is clamped.
    void NormalizeRange();
    // llPart / (max - min) of a length, in integers without overflow.
    int Share(int nLength, LONGLONG llPart) const;

    bool m_bHorizontal;
    bool m_bStretchForeImage;
    int m_nMax;
    int m_nMin;
    int m_nValue;
    CStringUI m_sForeImage;
    CStringUI m_sForeImageModify;
};

} // namespace UpdUI
