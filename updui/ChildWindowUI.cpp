#include "ChildWindowUI.h"

#include <cwchar>

#include "SkinBuilderUI.h"

namespace UpdUI {

CChildWindowUI::CChildWindowUI() = default;

CChildWindowUI::~CChildWindowUI() = default;

LPCWSTR CChildWindowUI::GetControlClass() const
{
    return L"ChildWindowUI";
}

// Deliberately not a "Container" to the outside: its child comes only from its file.
LPVOID CChildWindowUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ChildWindow") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

void CChildWindowUI::Init()
{
    if (m_sChildLayoutFile.IsEmpty()) return;
    CSkinBuilderUI builder;
    CControlUI* pChild = builder.Build(m_sChildLayoutFile.GetData());
    if (pChild == nullptr) {
        RemoveAll();
        return;
    }
    if (!Add(pChild)) delete pChild;
}

void CChildWindowUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"xmlfile") == 0)
        SetChildLayoutFile(pstrValue);
    else
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

LPCWSTR CChildWindowUI::GetChildLayoutFile() const
{
    return m_sChildLayoutFile.GetData();
}

void CChildWindowUI::SetChildLayoutFile(LPCWSTR pstrFile)
{
    m_sChildLayoutFile = pstrFile;
}

} // namespace UpdUI
