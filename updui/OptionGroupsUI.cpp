#include "OptionGroupsUI.h"

#include <new>

#include "StringUI.h"

namespace UpdUI {

namespace {

const int kMapBuckets = 83;
const int kOptionGroupPrealloc = 6;

} // namespace

COptionGroupsUI::COptionGroupsUI() : m_mOptionGroup(kMapBuckets) { }

COptionGroupsUI::~COptionGroupsUI()
{
    RemoveAll();
}

bool COptionGroupsUI::Add(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    if (pStrGroupName == nullptr) return false;
    CPtrArrayUI* pGroup = static_cast<CPtrArrayUI*>(m_mOptionGroup.Find(pStrGroupName));
    if (pGroup != nullptr) {
        if (pGroup->Find(pControl) >= 0) return false;
        return pGroup->Add(pControl);
    }
    pGroup = new (std::nothrow) CPtrArrayUI(kOptionGroupPrealloc);
    if (pGroup == nullptr) return false;
    if (!pGroup->Add(pControl) || !m_mOptionGroup.Insert(pStrGroupName, pGroup)) {
        delete pGroup;
        return false;
    }
    return true;
}

CPtrArrayUI* COptionGroupsUI::Find(LPCWSTR pStrGroupName)
{
    return static_cast<CPtrArrayUI*>(m_mOptionGroup.Find(pStrGroupName));
}

void COptionGroupsUI::Remove(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    CPtrArrayUI* pGroup = static_cast<CPtrArrayUI*>(m_mOptionGroup.Find(pStrGroupName));
    if (pGroup == nullptr) return;
    pGroup->Remove(pGroup->Find(pControl));
    if (!pGroup->IsEmpty()) return;
    CStringUI sName(pStrGroupName); // the key text dies with its entry
    m_mOptionGroup.Remove(sName.GetData());
    delete pGroup;
}

void COptionGroupsUI::RemoveFromAll(CControlUI* pControl)
{
    for (int i = 0; i < m_mOptionGroup.GetSize();) {
        LPCWSTR pstrGroup = m_mOptionGroup.GetAt(i);
        CPtrArrayUI* pGroup = static_cast<CPtrArrayUI*>(m_mOptionGroup.Find(pstrGroup, false));
        if (pGroup != nullptr && pGroup->Find(pControl) >= 0) {
            int nBefore = m_mOptionGroup.GetSize();
            Remove(pstrGroup, pControl);
            if (m_mOptionGroup.GetSize() < nBefore) continue;
        }
        ++i;
    }
}

void COptionGroupsUI::RemoveAll()
{
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
        delete static_cast<CPtrArrayUI*>(m_mOptionGroup.Find(m_mOptionGroup.GetAt(i), false));
    }
    m_mOptionGroup.RemoveAll();
}

} // namespace UpdUI
