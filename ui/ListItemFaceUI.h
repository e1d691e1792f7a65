#pragma once
#include <windows.h>

class CControlUI;

// The face a row shows its owner, for list rows (owner IListOwnerUI) and menu items
// (owner IMenuListOwnerUI) alike. The two instances are distinct types, so a row of
// one kind is never taken for the other.
template <class TOwner> class IListItemFaceUI
{
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual TOwner* GetOwner() = 0;
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool bSelect = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool bExpand = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemFaceUI() = default;
};
