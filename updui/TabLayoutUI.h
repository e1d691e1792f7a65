#pragma once
#include <windows.h>

#include "ContainerUI.h"

namespace UpdUI {

// Shows one child (page) at a time over its whole inner rectangle; reports "tabselect"
// with the new and the old page index.
class CTabLayoutUI : public CContainerUI
{
public:
    CTabLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    void RemoveAll() override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    int GetCurSel() const;
    bool SelectItem(int iIndex);

protected:
    int m_iCurSel;
};

} // namespace UpdUI
