#include "SkinBuilderUI.h"

#include <vector>
#include <wchar.h>

#include "ActiveXUI.h"
#include "AttributeValueUI.h"
#include "ContainerUI.h"
#include "ControlUI.h"
#include "ButtonUI.h"
#include "ComboUI.h"
#include "DialogLayoutUI.h"
#include "EditUI.h"
#include "HorizontalLayoutUI.h"
#include "HtmlCtrlUI.h"
#include "ListContainerElementUI.h"
#include "ListExpandElementUI.h"
#include "ListHeaderItemUI.h"
#include "ListHeaderUI.h"
#include "ListLabelElementUI.h"
#include "ListUI.h"
#include "LabelUI.h"
#include "MenuListLabelUI.h"
#include "MenuUI.h"
#include "OptionUI.h"
#include "ProgressUI.h"
#include "SkinStorageUI.h"
#include "SliderUI.h"
#include "TabLayoutUI.h"
#include "TextUI.h"
#include "TileLayoutUI.h"
#include "VerticalLayoutUI.h"
#include "WindowManagerUI.h"

namespace {

template <class T> CControlUI* CreateOf()
{
    return new T;
}

struct TTagUI
{
    LPCWSTR pstrName;
    CControlUI* (*pfnCreate)();
    bool bHostedBrowser; // ActiveX and HTML controls are also listed with the manager
};

// The tags the builder knows; anything else goes to the application's callback.
// A control class joins the skin language with one line here.
const TTagUI kTags[] = {
    { L"Control", &CreateOf<CControlUI>, false },
    { L"Container", &CreateOf<CContainerUI>, false },
    { L"Text", &CreateOf<CTextUI>, false },
    { L"Label", &CreateOf<CLabelUI>, false },
    { L"Button", &CreateOf<CButtonUI>, false },
    { L"Option", &CreateOf<COptionUI>, false },
    { L"Edit", &CreateOf<CEditUI>, false },
    { L"Progress", &CreateOf<CProgressUI>, false },
    { L"Slider", &CreateOf<CSliderUI>, false },
    { L"TabLayout", &CreateOf<CTabLayoutUI>, false },
    { L"TileLayout", &CreateOf<CTileLayoutUI>, false },
    { L"DialogLayout", &CreateOf<CDialogLayoutUI>, false },
    { L"Menu", &CreateOf<CMenuUI>, false },
    { L"MenuListLabel", &CreateOf<CMenuListLabelUI>, false },
    { L"ActiveX", &CreateOf<CActiveXUI>, true },
    { L"HtmlCtrl", &CreateOf<CHtmlCtrlUI>, true },
    { L"VerticalLayout", &CreateOf<CVerticalLayoutUI>, false },
    { L"HorizontalLayout", &CreateOf<CHorizontalLayoutUI>, false },
    { L"List", &CreateOf<CListUI>, false },
    { L"ListHeader", &CreateOf<CListHeaderUI>, false },
    { L"ListHeaderItem", &CreateOf<CListHeaderItemUI>, false },
    { L"ListLabelElement", &CreateOf<CListLabelElementUI>, false },
    { L"ListTextElement", &CreateOf<CListTextElementUI>, false },
    { L"ListExpandElement", &CreateOf<CListExpandElementUI>, false },
    { L"ListContainerElement", &CreateOf<CListContainerElementUI>, false },
    { L"Combo", &CreateOf<CComboUI>, false },
};

const TTagUI* FindTag(LPCWSTR pstrClass)
{
    const size_t nLength = wcslen(pstrClass);
    for (const TTagUI& tag : kTags) {
        if (wcslen(tag.pstrName) == nLength && wcscmp(tag.pstrName, pstrClass) == 0) return &tag;
    }
    return nullptr;
}

struct TStretchWordUI
{
    LPCWSTR pstrWord;
    UINT uFlags;
};

const TStretchWordUI kStretchWords[] = {
    { L"move_x", UISTRETCH_MOVE_X },  { L"move_y", UISTRETCH_MOVE_Y }, { L"move_xy", UISTRETCH_MOVE_XY },
    { L"size_x", UISTRETCH_SIZE_X },  { L"size_y", UISTRETCH_SIZE_Y }, { L"size_xy", UISTRETCH_SIZE_XY },
    { L"group", UISTRETCH_NEWGROUP }, { L"line", UISTRETCH_NEWLINE },
};

bool IsWindowElement(LPCWSTR pstrName)
{
    return wcscmp(pstrName, L"Image") == 0 || wcscmp(pstrName, L"Font") == 0 || wcscmp(pstrName, L"Default") == 0;
}

} // namespace

CSkinBuilderUI::CSkinBuilderUI() : m_pCallback(nullptr) { }

CXmlDocUI& CSkinBuilderUI::GetMarkup()
{
    return m_xml;
}

void CSkinBuilderUI::Release()
{
    m_xml.Release();
}

UINT CSkinBuilderUI::ParseStretch(LPCWSTR pstrValue)
{
    UINT uFlags = 0;
    if (pstrValue == nullptr) return 0;
    for (const TStretchWordUI& word : kStretchWords) {
        if (wcsstr(pstrValue, word.pstrWord) != nullptr) uFlags |= word.uFlags;
    }
    return uFlags;
}

CControlUI* CSkinBuilderUI::Build(LPCWSTR pstrSkinFile, LPCWSTR pstrXml, LPCWSTR pstrType,
                                  IDialogBuilderCallback* pCallback, CWindowManagerUI* pManager)
{
    m_pCallback = pCallback;
    if (!LoadMarkup(pstrSkinFile, pstrXml, pstrType, pManager)) return nullptr;
    CXmlNodeUI root = m_xml.GetRoot();
    if (!root.IsValid()) return nullptr;
    if (pManager != nullptr && wcscmp(root.GetName(), L"Window") == 0) {
        ApplyWindowElements(root, pManager);
        if (pManager->GetPaintWindow() != nullptr) ApplyWindowAttributes(root, pManager);
    }
    return ParseNode(root, nullptr, pManager);
}

bool CSkinBuilderUI::LoadMarkup(LPCWSTR pstrSkinFile, LPCWSTR pstrXml, LPCWSTR pstrType, CWindowManagerUI* pManager)
{
    if (pstrXml == nullptr) return false;
    std::vector<BYTE> bytes;
    if (pstrSkinFile != nullptr && pstrSkinFile[0] != L'\0') {
        if (IS_INTRESOURCE(pstrXml) || !CSkinStorageUI::ReadStream(pstrSkinFile, L"xml", pstrXml, bytes)) return false;
        if (!m_xml.LoadFromMem(bytes.data(), (DWORD)bytes.size(), CXmlDocUI::ENCODING_UTF8)) return false;
        if (pManager != nullptr) pManager->SetSkinFile(pstrSkinFile);
        return true;
    }
    if (IS_INTRESOURCE(pstrXml)) {
        if (!CSkinStorageUI::ReadResource(CWindowManagerUI::GetInstance(), (UINT)(UINT_PTR)pstrXml, pstrType, bytes))
            return false;
        return m_xml.LoadFromMem(bytes.data(), (DWORD)bytes.size(), CXmlDocUI::ENCODING_UTF8);
    }
    if (pstrXml[0] == L'<') return m_xml.LoadFromString(pstrXml);
    return m_xml.LoadFromFile(pstrXml, CXmlDocUI::ENCODING_UTF8);
}

void CSkinBuilderUI::ApplyWindowElements(CXmlNodeUI& root, CWindowManagerUI* pManager)
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
    LPCWSTR pstrImageName = nullptr;
    LPCWSTR pstrType = nullptr;
    DWORD dwMask = 0;
    for (int i = 0; i < node.GetAttributeCount(); i++) {
        LPCWSTR pstrName = node.GetAttributeName(i);
        LPCWSTR pstrValue = node.GetAttributeValue(i);
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
    LPCWSTR pstrFontName = nullptr;
    int nSize = 12;
    bool bBold = false, bUnderline = false, bItalic = false;
    bool bDefault = false, bDefaultBold = false, bDefaultLink = false;
    for (int i = 0; i < node.GetAttributeCount(); i++) {
        LPCWSTR pstrName = node.GetAttributeName(i);
        LPCWSTR pstrValue = node.GetAttributeValue(i);
        if (wcscmp(pstrName, L"name") == 0)
            pstrFontName = pstrValue;
        else if (wcscmp(pstrName, L"size") == 0)
            nSize = CAttributeValueUI::ParseFontSize(pstrValue);
        else if (wcscmp(pstrName, L"bold") == 0)
            bBold = CAttributeValueUI::ParseBool(pstrValue);
        else if (wcscmp(pstrName, L"underline") == 0)
            bUnderline = CAttributeValueUI::ParseBool(pstrValue);
        else if (wcscmp(pstrName, L"italic") == 0)
            bItalic = CAttributeValueUI::ParseBool(pstrValue);
        else if (wcscmp(pstrName, L"default") == 0)
            bDefault = CAttributeValueUI::ParseBool(pstrValue);
        else if (wcscmp(pstrName, L"defaultbold") == 0)
            bDefaultBold = CAttributeValueUI::ParseBool(pstrValue);
        else if (wcscmp(pstrName, L"defaultlink") == 0)
            bDefaultLink = CAttributeValueUI::ParseBool(pstrValue);
    }
    if (pstrFontName == nullptr) return;
    HFONT hFont = pManager->AddFont(pstrFontName, nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr) return;
    if (bDefault) pManager->SetDefaultFont(hFont, 0xFF000000);
    if (bDefaultBold) pManager->SetDefaultBoldFont(hFont, 0xFF000000);
    if (bDefaultLink) pManager->SetDefaultLinkFont(hFont, 0xFF0000FF, 0xFFD3215F);
}

void CSkinBuilderUI::ApplyDefault(CXmlNodeUI& node, CWindowManagerUI* pManager)
{
    LPCWSTR pstrControlName = nullptr;
    LPCWSTR pstrList = nullptr;
    for (int i = 0; i < node.GetAttributeCount(); i++) {
        LPCWSTR pstrName = node.GetAttributeName(i);
        if (wcscmp(pstrName, L"name") == 0)
            pstrControlName = node.GetAttributeValue(i);
        else if (wcscmp(pstrName, L"value") == 0)
            pstrList = node.GetAttributeValue(i);
    }
    if (pstrControlName != nullptr)
        pManager->AddDefaultAttributeList(pstrControlName, pstrList != nullptr ? pstrList : L"");
}

void CSkinBuilderUI::ApplyWindowAttributes(CXmlNodeUI& root, CWindowManagerUI* pManager)
{
    for (int i = 0; i < root.GetAttributeCount(); i++) {
        LPCWSTR pstrName = root.GetAttributeName(i);
        LPCWSTR pstrValue = root.GetAttributeValue(i);
        int v[4];
        CAttributeValueUI::ParseInts(pstrValue, v, 4);
        if (wcscmp(pstrName, L"size") == 0)
            pManager->SetInitSize(v[0], v[1]);
        else if (wcscmp(pstrName, L"sizebox") == 0)
            pManager->SetSizeBox(RECT{ v[0], v[1], v[2], v[3] });
        else if (wcscmp(pstrName, L"caption") == 0)
            pManager->SetCaptionRect(RECT{ v[0], v[1], v[2], v[3] });
        else if (wcscmp(pstrName, L"roundcorner") == 0)
            pManager->SetRoundCorner(v[0], v[1]);
        else if (wcscmp(pstrName, L"mininfo") == 0)
            pManager->SetMinInfo(v[0], v[1]);
        else if (wcscmp(pstrName, L"showdirty") == 0)
            pManager->SetShowUpdateRect(CAttributeValueUI::ParseBool(pstrValue));
    }
}

CControlUI* CSkinBuilderUI::CreateControl(LPCWSTR pstrClass, CWindowManagerUI* pManager)
{
    const TTagUI* pTag = FindTag(pstrClass);
    if (pTag == nullptr) return m_pCallback != nullptr ? m_pCallback->CreateControl(pstrClass) : nullptr;
    CControlUI* pControl = pTag->pfnCreate();
    if (pControl != nullptr && pTag->bHostedBrowser) static_cast<CActiveXUI*>(pControl)->JoinHostedBrowsers(pManager);
    return pControl;
}

// A control that cannot be attached anywhere (its parent is no container, or it is a
// second top-level control) is deleted: nothing else would ever own it.
CControlUI* CSkinBuilderUI::ParseNode(CXmlNodeUI& parent, CControlUI* pParent, CWindowManagerUI* pManager)
{
    IContainerUI* pContainer = nullptr;
    CControlUI* pFirst = nullptr;
    for (CXmlNodeUI node = parent.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        if (IsWindowElement(pstrClass)) continue;
        CControlUI* pControl = CreateControl(pstrClass, pManager);
        if (pControl == nullptr) continue;
        if (node.HasChildren()) ParseNode(node, pControl, pManager);
        if (pParent != nullptr) {
            if (pContainer == nullptr) pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
            if (pContainer == nullptr) {
                delete pControl;
                return nullptr;
            }
            if (!pContainer->Add(pControl)) {
                delete pControl;
                continue;
            }
        } else if (pFirst != nullptr) {
            delete pControl;
            continue;
        }
        ApplyAttributes(node, pControl, pManager);
        // The manager set for the attributes is taken back; AttachRoot and the containers
        // set the real manager and parent later.
        if (ApplyStretch(node, pControl, pParent) && pManager != nullptr) pControl->SetManager(nullptr, nullptr);
        if (pFirst == nullptr) pFirst = pControl;
    }
    return pFirst;
}

// The skin's default list for the tag first, so the element's own attributes win.
void CSkinBuilderUI::ApplyAttributes(CXmlNodeUI& node, CControlUI* pControl, CWindowManagerUI* pManager)
{
    if (pManager != nullptr) {
        pControl->SetManager(pManager, nullptr);
        LPCWSTR pstrDefault = pManager->GetDefaultAttributeList(node.GetName());
        if (pstrDefault != nullptr) pControl->ApplyAttributeList(pstrDefault);
    }
    for (int i = 0; i < node.GetAttributeCount(); i++)
        pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
}

// A "stretch" outside a dialog layout finishes the element as it stands (false).
bool CSkinBuilderUI::ApplyStretch(CXmlNodeUI& node, CControlUI* pControl, CControlUI* pParent)
{
    WCHAR szStretch[64] = {};
    if (!node.GetAttributeValue(L"stretch", szStretch, 63)) return true;
    CDialogLayoutUI* pLayout =
        pParent != nullptr ? static_cast<CDialogLayoutUI*>(pParent->GetInterface(L"DialogLayout")) : nullptr;
    if (pLayout == nullptr) return false;
    pLayout->SetStretchMode(pControl, ParseStretch(szStretch));
    return true;
}
