#pragma once
#include "ListElementUI.h"

// A row with one text per column of its list, asked from the list's text source.
// Shown as markup, the texts may hold links, which the row reports when clicked.
class CListTextElementUI : public CListElementUI
{
public:
    enum { MAX_LINKS = 8 };

    CListTextElementUI();
    ~CListTextElementUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void DoEvent(TEventRecUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    int GetLinkCount() const;
    RECT GetLinkRect(int iLink) const;
    CStringUI GetLinkText(int iLink) const;

protected:
    // The text element's own steps, then the label's.
    void DoTextEvent(TEventRecUI& event);

private:
    int LinkAt(POINT pt) const;
    bool HandleLinkEvent(TEventRecUI& event);

    int m_nLinks;
    RECT m_rcLinks[MAX_LINKS];
    CStringUI m_sLinks[MAX_LINKS];
    int m_nHoverLink;
};
