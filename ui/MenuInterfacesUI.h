#pragma once
#include <windows.h>

#include "ListItemFaceUI.h"
#include "StringUI.h"
#include "WindowManagerUI.h"

class CControlUI;

// Posted to the window that holds a menu control when an item is chosen:
// wParam = the item's "labelid", lParam 0.
constexpr UINT UIMSG_MENU_COMMAND = WM_USER + 200;

// Messages between menu items and their popup windows.
constexpr UINT UIMSG_MENU_OPENSUB = 0xAA11;   // wParam LPCWSTR sub-menu name, lParam RECT* of the item
constexpr UINT UIMSG_MENU_CLOSESUB = 0xAA12;  // close the popup's open sub-menu
constexpr UINT UIMSG_MENU_CHECKITEM = 0xAA14; // wParam item index, lParam 0 checks it
constexpr UINT UIMSG_MENU_CHOSEN = 0xAA21;    // wParam labelid, lParam: forwarded as UIMSG_MENU_COMMAND
constexpr UINT UIMSG_MENU_CLOSE = 0xAA22;     // close the whole popup chain

// Item style a menu hands its items: the list's item style plus the popup's images.
struct TMenuInfoUI
{
    int nFont = -1;
    UINT uTextStyle = DT_VCENTER;
    RECT rcTextPadding = { 0, 0, 0, 0 };
    DWORD dwTextColor = 0xFF000000;
    DWORD dwBkColor = 0;
    CStringUI sImage;
    DWORD dwSelectedTextColor = 0xFF000000;
    DWORD dwSelectedBkColor = 0;
    CStringUI sSelectedImage;
    DWORD dwHotTextColor = 0xFF000000;
    DWORD dwHotBkColor = 0;
    CStringUI sHotImage;
    DWORD dwDisabledTextColor = 0xFFACA899;
    DWORD dwDisabledBkColor = 0;
    CStringUI sDisabledImage;
    DWORD dwLineColor = 0;
    bool bShowHtml = false;
    CStringUI sBkImage;    // background of the popup window
    CStringUI sCheckImage; // drawn on checked items
    CStringUI sNextImage;  // drawn on items that open a sub-menu
};

// The face a menu shows its items ("ListOwner").
class IMenuListOwnerUI
{
public:
    virtual TMenuInfoUI* GetMenuInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int iIndex) = 0;
    virtual void DoEvent(TEventRecUI& event) = 0;

protected:
    ~IMenuListOwnerUI() = default;
};

// The face of a menu item ("ListItem").
typedef IListItemFaceUI<IMenuListOwnerUI> IMenuListItemUI;
