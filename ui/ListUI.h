#pragma once
#include "ListOwnerUI.h"
#include "VerticalLayoutUI.h"

class CListBodyUI;
class CListHeaderUI;

// A scrolling list of rows under a column header. Its own children are the header
// and the body; the child-list operations reach the rows in the body (header
// controls go to the header). Single selection by mouse, keys and wheel, multiple
// selection with Shift and Ctrl, expandable rows and an optional cell text source.
class CListUI : public CVerticalLayoutUI, public IListUI
{
public:
    CListUI();
    ~CListUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    // Rows (in the body) and header controls.
    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    // Spacing and scrolling are the body's.
    int GetChildPadding() const override;
    void SetChildPadding(int iPadding) override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;
    CScrollbarUI* GetVerticalScrollBar() const override;
    CScrollbarUI* GetHorizontalScrollBar() const override;

    TListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    bool SelectItem(int iIndex) override;
    CListHeaderUI* GetHeader() const override;
    CListBodyUI* GetListBody() const override;
    IListTextSourceUI* GetTextSource() const override;
    void SetTextSource(IListTextSourceUI* pSource) override;
    bool ExpandItem(int iIndex, bool bExpand = true) override;
    int GetExpandedItem() const override;
    bool SelectItemMulti(int iIndex) override;

    // Scrolls the body so the row is seen: just inside the band (position -1) or at
    // row slot "position" from the top. Done after the next paint when the row has
    // no place yet.
    void EnsureVisible(int iIndex, int iPosition = -1);
    void SetItemSelectedImage(LPCWSTR pStrImage);
    void SetItemHotImage(LPCWSTR pStrImage);
    void SetItemDisabledImage(LPCWSTR pStrImage);
    void SetItemShowHtml(bool bShowHtml = true);
    bool IsExpanding() const;
    bool IsMultiExpanding() const;
    bool IsMultiSelect() const;

    // The header follows the body's horizontal scrolling; the column rectangles are
    // taken from the moved header items.
    void ScrollHeader(int dx);

private:
    void ShowHeaderItems(bool bVisible);
    void UpdateColumns(int dx);
    bool IsHeaderControl(CControlUI* pControl) const;
    bool IsHeaderItem(CControlUI* pControl) const;
    bool AddHeader(CControlUI* pControl, int iIndex);
    IListItemUI* ItemFace(int iIndex) const;
    void Renumber(int iFrom);
    void ClearMarks();
    bool IsSelectable(int iIndex) const;
    bool SelectRangeMarked(int iIndex);
    bool ToggleMarked(int iIndex);
    void SelectByKey(int iIndex);
    bool HandleKey(TEventRecUI& event);
    bool SetItemAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    void SetItemAlign(LPCWSTR pstrValue);

    int m_iCurSel;
    int m_iPendingVisible;
    int m_iPendingPosition;
    int m_iExpandedItem;
    IListTextSourceUI* m_pTextSource;
    CListBodyUI* m_pBody;
    CListHeaderUI* m_pHeader;
    TListInfoUI m_ListInfo;
    bool m_bOwnLayout; // set while the vertical layout stacks the header and the body
};
