#include "DefaultAttributesUI.h"

#include <new>

#include "StringUI.h"

namespace UpdUI {

namespace {

const int kMapBuckets = 83;

} // namespace

CDefaultAttributesUI::CDefaultAttributesUI() : m_DefaultAttrHash(kMapBuckets) { }

CDefaultAttributesUI::~CDefaultAttributesUI()
{
    RemoveAll();
}

void CDefaultAttributesUI::Add(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    if (pStrControlName == nullptr || m_DefaultAttrHash.Find(pStrControlName, false) != nullptr) return;
    CStringUI* pDefaultAttr = new (std::nothrow) CStringUI(pStrControlAttrList);
    if (pDefaultAttr == nullptr) return;
    if (!m_DefaultAttrHash.Insert(pStrControlName, pDefaultAttr)) delete pDefaultAttr;
}

LPCWSTR CDefaultAttributesUI::Find(LPCWSTR pStrControlName) const
{
    CStringUI* pDefaultAttr = static_cast<CStringUI*>(m_DefaultAttrHash.Find(pStrControlName));
    return pDefaultAttr != nullptr ? pDefaultAttr->GetData() : nullptr;
}

void CDefaultAttributesUI::RemoveAll()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); ++i) {
        delete static_cast<CStringUI*>(m_DefaultAttrHash.Find(m_DefaultAttrHash.GetAt(i), false));
    }
    m_DefaultAttrHash.RemoveAll();
}

} // namespace UpdUI
