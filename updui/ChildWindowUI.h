#pragma once
#include <windows.h>

#include "ContainerUI.h"

namespace UpdUI {

// A container whose only child is built, when the control is initialised, from a
// markup file of its own ("xmlfile").
class CChildWindowUI : public CContainerUI
{
public:
    CChildWindowUI();
    ~CChildWindowUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void Init() override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    LPCWSTR GetChildLayoutFile() const;
    void SetChildLayoutFile(LPCWSTR pstrFile);

protected:
    CStringUI m_sChildLayoutFile;
};

} // namespace UpdUI
