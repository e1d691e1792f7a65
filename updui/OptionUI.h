#pragma once
#include <windows.h>

#include "ButtonUI.h"

namespace UpdUI {

// A button that is selected or not, alone or as one of a named group of which at most
// one is selected; reports "selectchanged".
class COptionUI : public CButtonUI
{
public:
    COptionUI();
    ~COptionUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    bool Activate() override;
    void SetManager(CWindowManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    LPCWSTR GetGroup() const;
    void SetGroup(LPCWSTR pStrGroupName);
    bool IsSelected() const;
    void Select(bool bSelected = true);
    LPCWSTR GetSelectedImage() const;
    void SetSelectedImage(LPCWSTR pStrImage);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);
    DWORD GetSelectedTextColor() const;
    void SetSelectedTextColor(DWORD dwColor);

protected:
    void DeselectOthersInGroup();

    bool m_bSelected;
    CStringUI m_sGroupName;
    DWORD m_dwSelectedTextColor;
    CStringUI m_sSelectedImage;
    CStringUI m_sForeImage;
};

} // namespace UpdUI
