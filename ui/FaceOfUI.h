#pragma once
#include "ControlUI.h"

// "ListItem" and "ListOwner" name the list faces on lists, combo boxes and their
// rows, and the menu faces on menus and menu items; markup can put either kind
// under the other. A face is handed out only when the control answers the name
// with exactly the face the caller is going to use.
template <class TFace> TFace* FaceOfUI(CControlUI* pControl, LPCWSTR pstrName)
{
    if (pControl == nullptr) return nullptr;
    LPVOID pAnswer = pControl->GetInterface(pstrName);
    if (pAnswer == nullptr) return nullptr;
    TFace* pFace = dynamic_cast<TFace*>(pControl);
    return static_cast<LPVOID>(pFace) == pAnswer ? pFace : nullptr;
}
