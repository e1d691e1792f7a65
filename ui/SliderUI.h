#pragma once
#include "ProgressUI.h"

// A progress bar with a draggable thumb: a press or drag sets the value under the
// pointer, reporting it while dragging and on release; hovering reports the value
// under the pointer without changing anything.
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

    RECT GetThumbRect() const;
    // The value the thumb would take with its centre at pt.
    int GetValueAt(POINT pt) const;
    UINT GetSliderState() const;
    SIZE GetThumbSize() const;
    void SetThumbSize(SIZE szThumb);
    LPCWSTR GetThumbImage() const;
    void SetThumbImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR pStrImage);

private:
    bool HandleMouseEvent(TEventRecUI& event);
    CStringUI* CurrentThumbStateImage();

    UINT m_uSliderState;
    SIZE m_szThumb;
    CStringUI m_sThumbImage;
    CStringUI m_sThumbHotImage;
    CStringUI m_sThumbPushedImage;
    CStringUI m_sThumbModify;
};
