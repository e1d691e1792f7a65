#pragma once
#include "ContainerUI.h"

// Shows one child at a time (the selected page); the others are hidden.
class CTabLayoutUI : public CContainerUI
{
public:
    CTabLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    void RemoveAll() override;

    int GetCurSel() const;
    bool SelectItem(int iIndex);

private:
    int m_iCurSel;
};
