#pragma once
#include <windows.h>

#include "ContainerUI.h"
#include "ListOwnerUI.h"

namespace UpdUI {

class CComboWnd;

// A closed combo box: holds list rows it never lays out, shows the selected row in
// its face and lends the rows to a drop-down window when activated.
class CComboUI : public CContainerUI, public IListOwnerUI
{
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
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;

    CComboWnd* GetDropWindow() const;
    const CStringUI& GetDropBoxAttributeList() const;
    SIZE GetDropBoxSize() const;
    RECT GetTextPadding() const;
    UINT GetState() const;
    // Called by the drop-down window once it is gone.
    void OnDropWindowGone();

protected:
    void PaintSelectedRow(HDC hDC, const RECT& rcText);
    void UpdatePaintState();

    CComboWnd* m_pDropWnd;
    int m_iCurSel;
    RECT m_rcTextPadding;
    CStringUI m_sDropBoxAttributes;
    SIZE m_szDropBox;
    UINT m_uButtonState;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sPushedImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sDisabledImage;
    TListInfoUI m_ListInfo;

private:
    void Renumber(int iFrom);
    bool RemoveRow(int iIndex);
    bool HandleKey(const TEventRecUI& event);
};

} // namespace UpdUI
