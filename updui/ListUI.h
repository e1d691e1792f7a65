#pragma once
#include <windows.h>

#include "ListOwnerUI.h"
#include "VerticalLayoutUI.h"

namespace UpdUI {

class CListBodyUI;
class CListHeaderUI;

// A scrolling list of rows under an optional column header. Its own two children are
// the header and the body; the child-list operations reach the rows in the body and
// header items in the header. One selection, moved by mouse, keys and wheel.
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

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

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
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    TListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    CListHeaderUI* GetHeader() const override;
    CListBodyUI* GetListBody() const override;
    IListTextSourceUI* GetTextSource() const override;
    void SetTextSource(IListTextSourceUI* pSource) override;
    bool ExpandItem(int iIndex, bool bExpand = true) override;
    int GetExpandedItem() const override;

    bool IsScrollSelect() const;
    void SetScrollSelect(bool bScrollSelect);
    void EnsureVisible(int iIndex);
    void Scroll(int dx, int dy);
    // Called by the body when its horizontal position moved by dx.
    void ScrollHeader(int dx);

private:
    bool IsHeader(CControlUI* pControl) const;
    bool IsHeaderItem(CControlUI* pControl) const;
    bool AddHeader(CControlUI* pControl);
    void UpdateColumnCount();
    void MoveColumns(int dx);
    void Renumber(int iFrom, int iTo);
    bool RemoveRow(int iIndex);
    bool HandleKey(const TEventRecUI& event);
    bool HandleWheel(const TEventRecUI& event);

    bool m_bScrollSelect;
    int m_iCurSel;
    int m_iExpandedItem;
    IListTextSourceUI* m_pTextSource;
    CListBodyUI* m_pBody;
    CListHeaderUI* m_pHeader;
    TListInfoUI m_ListInfo;
};

} // namespace UpdUI
