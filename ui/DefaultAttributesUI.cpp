#include "DefaultAttributesUI.h"

#include "StringUI.h"

namespace {

const int kHashBuckets = 83;

} // namespace

CDefaultAttributesUI::CDefaultAttributesUI() : m_DefaultAttrHash(kHashBuckets) { }

CDefaultAttributesUI::~CDefaultAttributesUI()
{
    RemoveAll();
}

void CDefaultAttributesUI::Set(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    CStringUI* pList = new CStringUI(pStrControlAttrList);
    CStringUI* pOld = static_cast<CStringUI*>(m_DefaultAttrHash.Set(pStrControlName, pList));
    delete pOld; // also the new list when the map could not keep it
}

LPCWSTR CDefaultAttributesUI::Find(LPCWSTR pStrControlName) const
{
    CStringUI* pList = static_cast<CStringUI*>(m_DefaultAttrHash.Find(pStrControlName));
    return pList != nullptr ? pList->GetData() : nullptr;
}

void CDefaultAttributesUI::RemoveAll()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); i++) {
        LPCWSTR key = m_DefaultAttrHash.GetAt(i);
        delete static_cast<CStringUI*>(m_DefaultAttrHash.Find(key));
    }
    m_DefaultAttrHash.Resize(kHashBuckets);
}
