#pragma once
#include "LabelUI.h"

// A label for longer, word-wrapped text whose tagged form may hold up to eight
// clickable links; a released click on a link sends its index.
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
    LPCWSTR GetLinkContent(int iIndex) const;
    int GetHotLink() const;

private:
    bool MayHoldLinks() const;
    int LinkAt(POINT pt) const;
    bool HandleLinkEvent(const TEventRecUI& event);

    int m_nLinks;
    RECT m_rcLinks[MAX_LINK];
    CStringUI m_sLinks[MAX_LINK];
    int m_nHoverLink;
};
