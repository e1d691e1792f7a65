#pragma once
#include "ButtonUI.h"

// A button with a selected state. Grouped options act as radio buttons among the
// grouped siblings in the same container; an ungrouped option toggles.
class COptionUI : public CButtonUI
{
public:
    COptionUI();
    ~COptionUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    bool Activate() override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintBkColor(HDC hDC) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool IsSelected() const;
    void Select(bool bSelected = true);
    bool IsGroup() const;
    void SetGroup(bool bGroup);
    LPCWSTR GetSelectedImage() const;
    void SetSelectedImage(LPCWSTR pStrImage);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);
    DWORD GetSelectedTextColor() const;
    void SetSelectedTextColor(DWORD dwColor);
    DWORD GetSelectedBkColor() const;
    void SetSelectedBkColor(DWORD dwColor);

private:
    void DeselectGroupSiblings();
    void NotifySelectChanged();

    bool m_bSelected;
    bool m_bGroup;
    DWORD m_dwSelectedTextColor;
    DWORD m_dwSelectedBkColor;
    CStringUI m_sSelectedImage;
};
