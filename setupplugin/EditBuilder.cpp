#include "EditBuilder.h"

#include "MyEdit.h"

CControlUI* CEditBuilder::CreateControl(LPCWSTR pstrClass)
{
    if (pstrClass != nullptr && wcscmp(pstrClass, L"MyEdit") == 0) return new CMyEdit();
    return nullptr;
}
