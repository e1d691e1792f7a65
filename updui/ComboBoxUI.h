#pragma once
#include <windows.h>

#include "ComboUI.h"

namespace UpdUI {

// A combo box whose drop-down arrow comes from one image strip of five frames
// (normal, hot, pushed, focused, disabled), drawn at the right edge.
class CComboBoxUI : public CComboUI
{
public:
    CComboBoxUI();
    ~CComboBoxUI() override;

    LPCWSTR GetControlClass() const override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    int GetArrowWidth() const;

private:
    int ArrowFrame() const;
    // The arrow description with the frame's source and the destination at the right
    // edge; empty when the description has no quoted "source" rectangle.
    CStringUI FrameDescription(int iFrame);

    CStringUI m_sArrowImage;
    int m_nArrowWidth;
};

} // namespace UpdUI
