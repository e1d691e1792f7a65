#pragma once
#include <windows.h>

#include <vector>

#include "ListLabelElementUI.h"

namespace UpdUI {

// A list row with one text per header column (from the list's text source, else its
// own column texts); tagged texts may hold links, up to eight per row.
class CListTextElementUI : public CListLabelElementUI
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
    void SetOwner(CControlUI* pOwner) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    // The row's own text of a column, shown when the list has no text source.
    CStringUI GetColumnText(int iColumn) const;
    void SetColumnText(int iColumn, LPCWSTR pstrText);
    int GetLinkCount() const;
    CStringUI GetLinkText(int iLink) const;

private:
    int LinkAt(POINT pt) const;
    void DrawColumn(HDC hDC, RECT rc, LPCWSTR pstrText, const TListInfoUI& info, DWORD dwColor);

    int m_nLinks;
    RECT m_rcLinks[MAX_LINKS];
    CStringUI m_sLinks[MAX_LINKS];
    int m_nHoverLink;
    IListUI* m_pListOwner;
    std::vector<CStringUI> m_aTexts;
};

} // namespace UpdUI
