#pragma once
#include <windows.h>

#include "PaintResultCacheUI.h"
#include "StringUI.h"
#include "WindowManagerUI.h"

// Relative placement of a float control: percentages of the parent's growth since
// the parent size recorded last.
struct TRelativePosUI
{
    bool bRelative;
    SIZE szParent;
    int nMoveXPercent;
    int nMoveYPercent;
    int nZoomXPercent;
    int nZoomYPercent;
};

// Base of every control: name, text, geometry constraints, flags, colours, images,
// the common markup attributes and the fixed paint stages. Owned by its parent.
class CControlUI
{
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual CStringUI GetName() const;
    virtual void SetName(LPCWSTR pstrName);
    virtual LPCWSTR GetControlClass() const;
    virtual LPVOID GetInterface(LPCWSTR pstrName);
    virtual UINT GetControlFlags() const;
    virtual bool Activate();
    virtual CWindowManagerUI* GetManager() const;
    virtual void SetManager(CWindowManagerUI* pManager, CControlUI* pParent);
    virtual CControlUI* GetParent() const;
    virtual CStringUI GetText() const;
    virtual void SetText(LPCWSTR pstrText);

    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(int nMoveX, int nMoveY, int nZoomX, int nZoomY);
    virtual void SetRelativeParentSize(SIZE sz);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    virtual CStringUI GetToolTip() const;
    virtual void SetToolTip(LPCWSTR pstrText);
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual CStringUI GetUserData() const;
    virtual void SetUserData(LPCWSTR pstrText);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR pTag);

    virtual bool IsVisible() const;
    virtual bool IsOwnVisible() const;
    virtual void SetVisible(bool bVisible = true);
    virtual void SetInternalVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);
    virtual void DoEvent(TEventRecUI& event);
    virtual void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    virtual SIZE EstimateSize(SIZE szAvailable);

    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintForeImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    void Invalidate();
    void NeedUpdate();
    void NeedParentUpdate();
    // After a change of the control's own size or place.
    void NeedPlacementUpdate();
    bool IsUpdateNeeded() const;
    void ApplyAttributeList(LPCWSTR pstrList);
    bool DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);

    DWORD GetBkColor() const;
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD dwBackColor);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD dwBorderColor);
    int GetBorderSize() const;
    void SetBorderSize(int nSize);
    LPCWSTR GetBkImage() const;
    void SetBkImage(LPCWSTR pStrImage);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);

protected:
    // The position clipped by every ancestor's position; empty when hidden by them.
    RECT ClipToAncestors(RECT rc) const;
    void SendFloatPosChanged();
    void DropFocusIfHidden();
    // Draws sImage; a description that fails to draw is emptied, so it is tried once.
    bool DrawImageOrForget(HDC hDC, CStringUI& sImage, LPCWSTR pStrModify = nullptr);
    // Of the manager's images, for kept paints that name any.
    UINT ImageGeneration() const;
    // Stores one of the control's state images and repaints.
    void SetImage(CStringUI& sImage, LPCWSTR pStrImage);
    // An image attribute and the member it sets.
    struct TImageSlotUI
    {
        LPCWSTR pstrName;
        CStringUI* pImage;
    };
    // Sets the image whose attribute is pstrName; false when none of the slots has it.
    bool SetImageByName(const TImageSlotUI* aSlots, int nSlots, LPCWSTR pstrName, LPCWSTR pStrImage);

    CWindowManagerUI* m_pManager;
    CControlUI* m_pParent;
    CStringUI m_sName;
    bool m_bUpdateNeeded;
    RECT m_rcItem;
    RECT m_rcPadding;
    SIZE m_cXY;
    SIZE m_cxyFixed;
    SIZE m_cxyMin;
    SIZE m_cxyMax;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bEnabled;
    bool m_bMouseEnabled;
    bool m_bFocused;
    bool m_bFloat;
    bool m_bSetPos; // guards the float-position notification against re-entry
    TRelativePosUI m_tRelativePos;

    CStringUI m_sText;
    CStringUI m_sToolTip;
    wchar_t m_chShortcut;
    CStringUI m_sUserData;
    UINT_PTR m_pTag;

    DWORD m_dwBackColor;
    DWORD m_dwBackColor2;
    CStringUI m_sBkImage;
    CPaintResultCacheUI m_bkImageCache;
    CPaintResultCacheUI m_bkColorCache;
    CStringUI m_sForeImage;
    DWORD m_dwBorderColor;
    int m_nBorderSize;
    RECT m_rcPaint;
};
