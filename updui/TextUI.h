#pragma once
#include <windows.h>

#include "LabelUI.h"

namespace UpdUI {

// Multi-line text; as tagged text it may hold up to eight links, each reported as
// "link" with its index when clicked.
class CTextUI : public CLabelUI
{
public:
    enum { MAX_LINK = 8 };

    CTextUI();
    ~CTextUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void DoEvent(TEventRecUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    int GetLinkCount() const;
    RECT GetLinkRect(int iIndex) const;
    CStringUI GetLinkContent(int iIndex) const;
    int GetHotLink() const;

protected:
    bool MayHoldLinks() const;
    // Index of the link under the point, or -1.
    int LinkAt(POINT pt) const;

    int m_nLinks;
    RECT m_rcLinks[MAX_LINK];
    CStringUI m_sLinks[MAX_LINK];
    int m_nHoverLink;
};

} // namespace UpdUI
