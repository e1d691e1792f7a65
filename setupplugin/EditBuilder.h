#pragma once
#include "UILib.h"

// Lets the install window's markup name the licence view with the tag "MyEdit".
class CEditBuilder : public IDialogBuilderCallback
{
public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override;
};
