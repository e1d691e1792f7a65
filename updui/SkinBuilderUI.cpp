#include "SkinBuilderUI.h"

#include <stdlib.h>
#include <wchar.h>

#include <vector>

#include "AttributeValueUI.h"
#include "ContainerUI.h"
#include "ControlUI.h"
#include "ScrollBarUI.h"
#include "LabelUI.h"
#include "ButtonUI.h"
#include "OptionUI.h"
#include "CheckBoxUI.h"
#include "TextUI.h"
#include "ProgressUI.h"
#include "SliderUI.h"
#include "VerticalLayoutUI.h"
#include "HorizontalLayoutUI.h"
#include "TileLayoutUI.h"
#include "TabLayoutUI.h"
#include "ChildWindowUI.h"
#include "EditUI.h"
#include "DateTimeUI.h"
#include "RichEditUI.h"
#include "ListUI.h"
#include "ListHeaderUI.h"
#include "ListHeaderItemUI.h"
#include "ListLabelElementUI.h"
#include "ListTextElementUI.h"
#include "ListContainerElementUI.h"
#include "ComboUI.h"
#include "ComboBoxUI.h"
#include "ActiveXUI.h"
#include "WebBrowserUI.h"
#include "SkinSourceUI.h"
#include "WindowManagerUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

namespace {

template <class T> CControlUI* CreateOf()
{
    return new T;
}

struct TTagUI
{
    LPCWSTR pstrName;
    CControlUI* (*pfnCreate)();
    bool bBrowser; // also listed with the manager's web browsers
};

// The tags the builder knows; anything else goes to the plug-in creators, then to the
// application's callback. A control class joins the skin language with one line here.
const TTagUI kTags[] = {
    { L"Control", &CreateOf<CControlUI>, false },
    { L"Container", &CreateOf<CContainerUI>, false },
    { L"ScrollBar", &CreateOf<CScrollBarUI>, false },
    { L"Label", &CreateOf<CLabelUI>, false },
    { L"Button", &CreateOf<CButtonUI>, false },
    { L"Option", &CreateOf<COptionUI>, false },
    { L"CheckBox", &CreateOf<CCheckBoxUI>, false },
    { L"Text", &CreateOf<CTextUI>, false },
    { L"Progress", &CreateOf<CProgressUI>, false },
    { L"Slider", &CreateOf<CSliderUI>, false },
    { L"VerticalLayout", &CreateOf<CVerticalLayoutUI>, false },
    { L"HorizontalLayout", &CreateOf<CHorizontalLayoutUI>, false },
    { L"TileLayout", &CreateOf<CTileLayoutUI>, false },
    { L"TabLayout", &CreateOf<CTabLayoutUI>, false },
    { L"ChildWindow", &CreateOf<CChildWindowUI>, false },
    { L"Edit", &CreateOf<CEditUI>, false },
    { L"DateTime", &CreateOf<CDateTimeUI>, false },
    { L"RichEdit", &CreateOf<CRichEditUI>, false },
    { L"List", &CreateOf<CListUI>, false },
    { L"ListHeader", &CreateOf<CListHeaderUI>, false },
    { L"ListHeaderItem", &CreateOf<CListHeaderItemUI>, false },
    { L"ListLabelElement", &CreateOf<CListLabelElementUI>, false },
    { L"ListTextElement", &CreateOf<CListTextElementUI>, false },
    { L"ListContainerElement", &CreateOf<CListContainerElementUI>, false },
    { L"Combo", &CreateOf<CComboUI>, false },
    { L"ComboBox", &CreateOf<CComboBoxUI>, false },
    { L"ActiveX", &CreateOf<CActiveXUI>, false },
    { L"WebBrowser", &CreateOf<CWebBrowserUI>, true },
};

const TTagUI* FindTag(LPCWSTR pstrClass)
{
    const size_t nLength = wcslen(pstrClass);
    for (const TTagUI& tag : kTags) {
        if (wcslen(tag.pstrName) == nLength && wcscmp(tag.pstrName, pstrClass) == 0) return &tag;
    }
    return nullptr;
}

bool IsDefinition(LPCWSTR pstrName)
{
    return wcscmp(pstrName, L"Image") == 0 || wcscmp(pstrName, L"Font") == 0 || wcscmp(pstrName, L"Default") == 0;
}

} // namespace

CSkinBuilderUI::CSkinBuilderUI()
    : m_pCallback(nullptr), m_pstrType(nullptr), m_pOuter(nullptr), m_nNesting(0), m_nIncludes(0)
{ }

CSkinBuilderUI::~CSkinBuilderUI()
{
    m_xml.Release();
}

CXmlDocUI* CSkinBuilderUI::GetMarkup()
{
    return &m_xml;
}

CControlUI* CSkinBuilderUI::Build(LPCWSTR pstrXml, LPCWSTR pstrType, IDialogBuilderCallback* pCallback,
                                  CWindowManagerUI* pManager, CControlUI* pParent)
{
    m_pCallback = pCallback;
    m_sSource = SourceKey(pstrXml);
    if (!LoadMarkup(pstrXml, pstrType)) return nullptr;
    return BuildRoot(pCallback, pManager, pParent);
}

// What names a markup for the include chain: "#n" for a resource number, the name for a
// markup name, nothing for markup text.
std::wstring CSkinBuilderUI::SourceKey(LPCWSTR pstrXml)
{
    if (pstrXml == nullptr || (!IS_INTRESOURCE(pstrXml) && pstrXml[0] == L'<')) return std::wstring();
    if (IS_INTRESOURCE(pstrXml)) return L"#" + std::to_wstring((unsigned)(ULONG_PTR)pstrXml);
    return pstrXml;
}

bool CSkinBuilderUI::IsIncludedFrom(const std::wstring& sKey) const
{
    for (const CSkinBuilderUI* pBuilder = this; pBuilder != nullptr; pBuilder = pBuilder->m_pOuter) {
        if (!sKey.empty() && _wcsicmp(pBuilder->m_sSource.c_str(), sKey.c_str()) == 0) return true;
    }
    return false;
}

int CSkinBuilderUI::IncludeDepth() const
{
    int nDepth = 0;
    for (const CSkinBuilderUI* pBuilder = m_pOuter; pBuilder != nullptr; pBuilder = pBuilder->m_pOuter) nDepth++;
    return nDepth;
}

int& CSkinBuilderUI::IncludeCount()
{
    CSkinBuilderUI* pOutermost = this;
    while (pOutermost->m_pOuter != nullptr) pOutermost = pOutermost->m_pOuter;
    return pOutermost->m_nIncludes;
}

bool CSkinBuilderUI::LoadMarkup(LPCWSTR pstrXml, LPCWSTR pstrType)
{
    if (pstrXml == nullptr) return false;
    if (IS_INTRESOURCE(pstrXml)) {
        // A resource number means nothing without the type it belongs to.
        if (pstrType == nullptr) return false;
        std::vector<BYTE> bytes;
        if (!CSkinSourceUI::ReadResource(CWindowManagerUI::GetResourceInstance(), pstrXml, pstrType, bytes))
            return false;
        if (!m_xml.LoadFromMemory(bytes.data(), (DWORD)bytes.size(), CXmlDocUI::ENCODING_UTF8)) return false;
        m_pstrType = pstrType;
        return true;
    }
    if (pstrXml[0] == L'<') return m_xml.Load(pstrXml);
    return m_xml.LoadFromFile(pstrXml, CXmlDocUI::ENCODING_UTF8);
}

CControlUI* CSkinBuilderUI::BuildRoot(IDialogBuilderCallback* pCallback, CWindowManagerUI* pManager,
                                      CControlUI* pParent)
{
    m_pCallback = pCallback;
    CXmlNodeUI root = m_xml.GetRoot();
    if (!root.IsValid()) return nullptr;
    if (pManager != nullptr) {
        ApplyDefinitions(root, pManager);
        if (wcscmp(root.GetName(), L"Window") == 0 && pManager->GetPaintWindow() != nullptr)
            ApplyWindowAttributes(root, pManager);
    }
    return ParseNode(root, pParent, pManager);
}

void CSkinBuilderUI::ApplyDefinitions(CXmlNodeUI& root, CWindowManagerUI* pManager)
{
    for (CXmlNodeUI node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrName = node.GetName();
        if (wcscmp(pstrName, L"Image") == 0)
            ApplyImage(node, pManager);
        else if (wcscmp(pstrName, L"Font") == 0)
            ApplyFont(node, pManager);
        else if (wcscmp(pstrName, L"Default") == 0)
            ApplyDefault(node, pManager);
    }
}

void CSkinBuilderUI::ApplyImage(CXmlNodeUI& node, CWindowManagerUI* pManager)
{
    LPCWSTR pstrImageName = nullptr, pstrType = nullptr;
    DWORD dwMask = 0;
    int nAttributes = node.GetAttributeCount();
    for (int i = 0; i < nAttributes; i++) {
        LPCWSTR pstrName = node.GetAttributeName(i), pstrValue = node.GetAttributeValue(i);
        if (wcscmp(pstrName, L"name") == 0)
            pstrImageName = pstrValue;
        else if (wcscmp(pstrName, L"restype") == 0)
            pstrType = pstrValue;
        else if (wcscmp(pstrName, L"mask") == 0)
            dwMask = CAttributeValueUI::ParseColor(pstrValue);
    }
    if (pstrImageName != nullptr) pManager->AddImage(pstrImageName, pstrType, dwMask);
}

void CSkinBuilderUI::ApplyFont(CXmlNodeUI& node, CWindowManagerUI* pManager)
{
    LPCWSTR pstrFace = nullptr;
    int nSize = 12;
    bool bBold = false, bUnderline = false, bItalic = false, bDefault = false;
    int nAttributes = node.GetAttributeCount();
    for (int i = 0; i < nAttributes; i++) {
        LPCWSTR pstrName = node.GetAttributeName(i), pstrValue = node.GetAttributeValue(i);
        if (wcscmp(pstrName, L"name") == 0)
            pstrFace = pstrValue;
        else if (wcscmp(pstrName, L"size") == 0)
            nSize = (int)MarkupNumber::Font(pstrValue);
        else if (wcscmp(pstrName, L"bold") == 0)
            bBold = CAttributeValueUI::IsTrue(pstrValue);
        else if (wcscmp(pstrName, L"underline") == 0)
            bUnderline = CAttributeValueUI::IsTrue(pstrValue);
        else if (wcscmp(pstrName, L"italic") == 0)
            bItalic = CAttributeValueUI::IsTrue(pstrValue);
        else if (wcscmp(pstrName, L"default") == 0)
            bDefault = CAttributeValueUI::IsTrue(pstrValue);
    }
    if (pstrFace == nullptr) return;
    pManager->AddFont(pstrFace, nSize, bBold, bUnderline, bItalic);
    if (bDefault) pManager->SetDefaultFont(pstrFace, nSize, bBold, bUnderline, bItalic);
}

void CSkinBuilderUI::ApplyDefault(CXmlNodeUI& node, CWindowManagerUI* pManager)
{
    LPCWSTR pstrClass = nullptr, pstrList = nullptr;
    int nAttributes = node.GetAttributeCount();
    for (int i = 0; i < nAttributes; i++) {
        LPCWSTR pstrName = node.GetAttributeName(i), pstrValue = node.GetAttributeValue(i);
        if (wcscmp(pstrName, L"name") == 0)
            pstrClass = pstrValue;
        else if (wcscmp(pstrName, L"value") == 0)
            pstrList = pstrValue;
    }
    if (pstrClass != nullptr) pManager->AddDefaultAttributeList(pstrClass, pstrList != nullptr ? pstrList : L"");
}

void CSkinBuilderUI::ApplyWindowAttributes(CXmlNodeUI& root, CWindowManagerUI* pManager)
{
    int nAttributes = root.GetAttributeCount();
    for (int i = 0; i < nAttributes; i++) {
        LPCWSTR pstrName = root.GetAttributeName(i), pstrValue = root.GetAttributeValue(i);
        if (wcscmp(pstrName, L"size") == 0) {
            SIZE sz = CAttributeValueUI::ParseSize(pstrValue);
            pManager->SetInitSize(sz.cx, sz.cy);
        } else if (wcscmp(pstrName, L"sizebox") == 0) {
            pManager->SetSizeBox(CAttributeValueUI::ParseRect(pstrValue));
        } else if (wcscmp(pstrName, L"caption") == 0) {
            pManager->SetCaptionRect(CAttributeValueUI::ParseRect(pstrValue));
        } else if (wcscmp(pstrName, L"roundcorner") == 0) {
            SIZE sz = CAttributeValueUI::ParseSize(pstrValue);
            pManager->SetRoundCorner(sz.cx, sz.cy);
        } else if (wcscmp(pstrName, L"mininfo") == 0) {
            SIZE sz = CAttributeValueUI::ParseSize(pstrValue);
            pManager->SetMinInfo(sz.cx, sz.cy);
        } else if (wcscmp(pstrName, L"maxinfo") == 0) {
            SIZE sz = CAttributeValueUI::ParseSize(pstrValue);
            pManager->SetMaxInfo(sz.cx, sz.cy);
        } else if (wcscmp(pstrName, L"showdirty") == 0) {
            pManager->SetShowUpdateRect(CAttributeValueUI::IsTrue(pstrValue));
        } else if (wcscmp(pstrName, L"alpha") == 0) {
            pManager->SetTransparent((int)wcstol(pstrValue, nullptr, 10));
        } else if (wcscmp(pstrName, L"bktrans") == 0) {
            pManager->SetBackgroundTransparent(CAttributeValueUI::IsTrue(pstrValue));
        } else if (wcscmp(pstrName, L"disabledfontcolor") == 0) {
            pManager->SetDefaultDisabledColor(CAttributeValueUI::ParseColor(pstrValue));
        } else if (wcscmp(pstrName, L"defaultfontcolor") == 0) {
            pManager->SetDefaultFontColor(CAttributeValueUI::ParseColor(pstrValue));
        } else if (wcscmp(pstrName, L"linkfontcolor") == 0) {
            pManager->SetDefaultLinkFontColor(CAttributeValueUI::ParseColor(pstrValue));
        } else if (wcscmp(pstrName, L"linkhoverfontcolor") == 0) {
            pManager->SetDefaultLinkHoverFontColor(CAttributeValueUI::ParseColor(pstrValue));
        } else if (wcscmp(pstrName, L"selectedcolor") == 0) {
            pManager->SetDefaultSelectedBkColor(CAttributeValueUI::ParseColor(pstrValue));
        }
    }
}

CControlUI* CSkinBuilderUI::ParseNode(CXmlNodeUI& element, CControlUI* pParent, CWindowManagerUI* pManager)
{
    IContainerUI* pContainer = nullptr;
    CControlUI* pReturn = nullptr;
    for (CXmlNodeUI node = element.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        if (IsDefinition(pstrClass)) continue;
        if (wcscmp(pstrClass, L"Include") == 0) {
            BuildInclude(node, pParent, pManager);
            continue;
        }
        CControlUI* pControl = CreateControl(pstrClass, pManager);
        if (pControl == nullptr) continue;
        if (node.HasChildren() && m_nNesting < MAX_NESTING) {
            m_nNesting++;
            ParseNode(node, pControl, pManager);
            m_nNesting--;
        }
        if (pParent != nullptr) {
            if (pContainer == nullptr) pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
            if (pContainer == nullptr) {
                delete pControl; // nothing would own it
                return nullptr;
            }
            if (!pContainer->Add(pControl)) {
                delete pControl;
                continue;
            }
        }
        ApplyAttributes(node, pControl, pManager);
        if (pReturn == nullptr)
            pReturn = pControl;
        else if (pParent == nullptr)
            delete pControl; // without a parent only the first control reaches the caller
    }
    return pReturn;
}

void CSkinBuilderUI::BuildInclude(CXmlNodeUI& node, CControlUI* pParent, CWindowManagerUI* pManager)
{
    if (!node.HasAttributes()) return;
    WCHAR szValue[500] = {};
    int nCount = 1;
    if (node.GetAttributeValue(L"count", szValue, 500)) nCount = (int)wcstol(szValue, nullptr, 10);
    WCHAR szSource[500] = {};
    if (!node.GetAttributeValue(L"source", szSource, 500) || szSource[0] == L'\0') return;
    LPCWSTR pstrSource = szSource;
    if (m_pstrType != nullptr) pstrSource = MAKEINTRESOURCEW((WORD)wcstol(szSource, nullptr, 10));
    if (IsIncludedFrom(SourceKey(pstrSource)) || IncludeDepth() >= MAX_INCLUDE_DEPTH) return;
    for (int i = 0; i < nCount && IncludeCount() < MAX_INCLUDES; i++) {
        IncludeCount()++;
        CSkinBuilderUI builder;
        builder.m_pOuter = this;
        builder.m_nNesting = m_nNesting;
        CControlUI* pIncluded = builder.Build(pstrSource, m_pstrType, m_pCallback, pManager, pParent);
        // Without a parent nothing would own what the include built.
        if (pParent == nullptr) delete pIncluded;
    }
}

CControlUI* CSkinBuilderUI::CreateControl(LPCWSTR pstrClass, CWindowManagerUI* pManager)
{
    CControlUI* pControl = nullptr;
    const TTagUI* pTag = FindTag(pstrClass);
    if (pTag != nullptr) {
        pControl = pTag->pfnCreate();
        if (pControl != nullptr && pTag->bBrowser && pManager != nullptr) pManager->AddBrowser(pControl);
    }
    CPtrArrayUI* pPlugins = CWindowManagerUI::GetPlugins();
    for (int i = 0; pControl == nullptr && pPlugins != nullptr && i < pPlugins->GetCount(); i++) {
        LPCREATECONTROL pfnCreate = (LPCREATECONTROL)pPlugins->GetAt(i);
        if (pfnCreate != nullptr) pControl = pfnCreate(pstrClass);
    }
    if (pControl == nullptr && m_pCallback != nullptr) pControl = m_pCallback->CreateControl(pstrClass);
    return pControl;
}

// Default attributes first, so the element's own win; the manager is lent only while
// the attributes are applied, and the caller attaches the tree later.
void CSkinBuilderUI::ApplyAttributes(CXmlNodeUI& node, CControlUI* pControl, CWindowManagerUI* pManager)
{
    if (pManager != nullptr) {
        pControl->SetManager(pManager, nullptr, false);
        LPCWSTR pstrDefaults = pManager->GetDefaultAttributeList(node.GetName());
        if (pstrDefaults != nullptr) pControl->ApplyAttributeList(pstrDefaults);
    }
    int nAttributes = node.GetAttributeCount();
    for (int i = 0; i < nAttributes; i++) pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    if (pManager != nullptr) pControl->SetManager(nullptr, nullptr, false);
}

} // namespace UpdUI
