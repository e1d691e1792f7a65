#pragma once
#include <windows.h>

#include "ProgressUI.h"

namespace UpdUI {

// A progress bar with a draggable thumb and mouse-wheel stepping; reports
// "valuechanged" when a drag ends and after each wheel step.
class CSliderUI : public CProgressUI
{
public:
    CSliderUI();
    ~CSliderUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

    int GetChangeStep() const;
    void SetChangeStep(int nStep);
    SIZE GetThumbSize() const;
    void SetThumbSize(SIZE szXY);
    RECT GetThumbRect() const;
    LPCWSTR GetThumbImage() const;
    void SetThumbImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR pStrImage);
    UINT GetButtonState() const;

protected:
    // The value a point on the track stands for.
    int ValueFromPoint(POINT pt) const;

    UINT m_uButtonState;
    SIZE m_szThumb;
    int m_nStep;
    CStringUI m_sThumbImage;
    CStringUI m_sThumbHotImage;
    CStringUI m_sThumbPushedImage;
    CStringUI m_sImageModify;
};

} // namespace UpdUI
