#pragma once
#include "LabelUI.h"

// A value between a minimum and a maximum shown by clipping a foreground image to the
// filled part (from the left, or from the bottom when vertical), with the label's text
// over it. A second value fills a second image behind the first.
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
    int GetMinValue() const;
    void SetMinValue(int nMin);
    int GetMaxValue() const;
    void SetMaxValue(int nMax);
    int GetValue() const;
    void SetValue(int nValue);
    int GetSecondValue() const;
    void SetSecondValue(int nValue);
    LPCWSTR GetFgImage() const;
    void SetFgImage(LPCWSTR pStrImage);
    LPCWSTR GetFgImage2() const;
    void SetFgImage2(LPCWSTR pStrImage);

protected:
    // max > min, and both values within min..max.
    void NormalizeValues();
    // The range as painting leaves it (max raised above min), without storing it.
    void GetNormalizedRange(int& nMin, int& nMax) const;
    // extent * part / range in single precision, truncated; the differences are taken
    // in 64 bits so extreme ranges cannot overflow.
    static int ScaleExtent(int nExtent, long long nPart, long long nRange);

    bool m_bHorizontal;
    int m_nMax;
    int m_nMin;
    int m_nValue;
    int m_nValue2;
    CStringUI m_sFgImage;
    CStringUI m_sFgImageModify;
    CStringUI m_sFgImage2;
    CStringUI m_sFgImage2Modify;

private:
    void BuildFillModifiers();
};
