#pragma once
#include "ContainerUI.h"
#include "ListOwnerUI.h"

class CComboWnd;

// Shows the selected row of its list and opens a drop-down window with all rows.
// The rows are list elements owned by the combo; while the drop-down is open they
// live in its tree, otherwise only the selected one draws its text here.
class CComboUI : public CContainerUI, public IListOwnerUI
{
    friend class CComboWnd;

public:
    CComboUI();
    ~CComboUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    CStringUI GetText() const override;
    void SetPos(RECT rc) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    TListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    bool SelectItem(int iIndex) override;

    CStringUI GetDropBoxAttributeList() const;
    void SetDropBoxAttributeList(LPCWSTR pstrList);
    SIZE GetDropBoxSize() const;
    void SetDropBoxSize(SIZE szDropBox);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    UINT GetButtonState() const;
    // The open drop-down, or null.
    CComboWnd* GetDropWindow() const;

private:
    IListItemUI* ItemFace(int iIndex) const;
    void Renumber(int iFrom);
    void SelectByKey(int iIndex);
    bool HandleKey(const TEventRecUI& event);
    bool SetImageAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    bool SetItemAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    void SetItemAlign(LPCWSTR pstrValue);
    // Called by the drop-down as it goes away.
    void OnDropWindowGone();

    CComboWnd* m_pWindow;
    int m_iCurSel;
    CStringUI m_sDropBoxAttributes;
    RECT m_rcTextPadding;
    UINT m_uButtonState;
    SIZE m_szDropBox;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sPushedImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sDisabledImage;
    TListInfoUI m_ListInfo;
};
