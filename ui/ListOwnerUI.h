#pragma once
#include <windows.h>

#include "ListItemFaceUI.h"
#include "StringUI.h"
#include "WindowManagerUI.h"

class CControlUI;
class CListHeaderUI;
class CListBodyUI;

enum { UILIST_MAX_COLUMNS = 32 };

// The item style a list or combo box hands to its rows: the columns they draw in, the
// font, text style and padding, and a colour set and image per state. The last three
// flags belong to lists only: they let a row tell how a click should select or expand.
struct TListInfoUI
{
    TListInfoUI();

    int nColumns;
    RECT rcColumn[UILIST_MAX_COLUMNS];
    int nFont;
    UINT uTextStyle;
    RECT rcTextPadding;
    DWORD dwTextColor;
    DWORD dwBkColor;
    CStringUI sBkImage;
    DWORD dwSelectedTextColor;
    DWORD dwSelectedBkColor;
    CStringUI sSelectedImage;
    DWORD dwHotTextColor;
    DWORD dwHotBkColor;
    CStringUI sHotImage;
    DWORD dwDisabledTextColor;
    DWORD dwDisabledBkColor;
    CStringUI sDisabledImage;
    DWORD dwLineColor;
    bool bShowHtml;
    bool bExpandable;
    bool bMultiExpandable;
    bool bMultiSelect;
};

inline TListInfoUI::TListInfoUI()
    : nColumns(0), rcColumn(), nFont(-1), uTextStyle(DT_VCENTER), rcTextPadding(), dwTextColor(0xFF000000),
      dwBkColor(0), dwSelectedTextColor(0xFF000000), dwSelectedBkColor(0xFFC1E3FF), dwHotTextColor(0xFF000000),
      dwHotBkColor(0xFFE9F5FF), dwDisabledTextColor(0xFFCCCCCC), dwDisabledBkColor(0xFFFFFFFF), dwLineColor(0),
      bShowHtml(false), bExpandable(false), bMultiExpandable(false), bMultiSelect(false)
{ }

// What a row needs from the control that owns it (a list or a combo box).
class IListOwnerUI
{
public:
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int iIndex) = 0;
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
    virtual bool SelectItemMulti(int iIndex) = 0;

protected:
    ~IListUI() = default;
};

// Every row of a list or a combo box answers "ListItem" with this face.
class IListItemUI : public IListItemFaceUI<IListOwnerUI>
{
public:
    virtual bool MarkSelected(bool bSelect = true) = 0;

protected:
    ~IListItemUI() = default;
};
