#pragma once
#include <windows.h>

#include "ListInfoUI.h"
#include "WindowManagerUI.h"

namespace UpdUI {

class CControlUI;
class CListHeaderUI;
class CListBodyUI;

// What a row needs from the control that owns it.
class IListOwnerUI
{
public:
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false) = 0;
    virtual void DoEvent(TEventRecUI& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

// Supplies the cell texts of text rows, by row index and column.
class IListTextSourceUI
{
public:
    virtual LPCWSTR GetItemText(CControlUI* pItem, int iIndex, int iSubItem) = 0;

protected:
    ~IListTextSourceUI() = default;
};

// The list's own face towards its rows.
class IListUI : public IListOwnerUI
{
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CListBodyUI* GetListBody() const = 0;
    virtual IListTextSourceUI* GetTextSource() const = 0;
    virtual void SetTextSource(IListTextSourceUI* pSource) = 0;
    virtual bool ExpandItem(int iIndex, bool bExpand = true) = 0;
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

// Every row of a list or combo box answers "ListItem" with this face.
class IListItemUI
{
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool bSelect = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool bExpand = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

} // namespace UpdUI
