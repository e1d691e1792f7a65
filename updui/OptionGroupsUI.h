#pragma once
#include <windows.h>

#include "PtrArrayUI.h"
#include "StringMapUI.h"

namespace UpdUI {

class CControlUI;

// The option groups of one window manager: group name to the option controls in it.
// A group that loses its last control goes.
class COptionGroupsUI
{
public:
    COptionGroupsUI();
    ~COptionGroupsUI();
    COptionGroupsUI(const COptionGroupsUI&) = delete;
    COptionGroupsUI& operator=(const COptionGroupsUI&) = delete;

    // False for a null name or a control already in the group.
    bool Add(LPCWSTR pStrGroupName, CControlUI* pControl);
    CPtrArrayUI* Find(LPCWSTR pStrGroupName);
    void Remove(LPCWSTR pStrGroupName, CControlUI* pControl);
    // Takes the control out of every group it is in.
    void RemoveFromAll(CControlUI* pControl);
    void RemoveAll();

private:
    CStringMapUI m_mOptionGroup;
};

} // namespace UpdUI
