#pragma once
#include <windows.h>

#include "XmlDocUI.h"

class CControlUI;
class CWindowManagerUI;

// Asked by the skin builder for every tag it does not know.
class IDialogBuilderCallback
{
public:
    virtual CControlUI* CreateControl(LPCWSTR pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Turns skin markup into a control tree for one window: applies the root "Window"
// element's settings and its Image, Font and Default children to the window manager,
// then creates one control per element. Lives on the caller's stack for one Build.
class CSkinBuilderUI
{
public:
    CSkinBuilderUI();

    // pstrXml is a stream name of the skin file's "xml" storage (with a skin file), a
    // resource id made with MAKEINTRESOURCE (with pstrType), markup text starting with
    // "<", or a file path. Returns the root control, owned by the caller, or null.
    CControlUI* Build(LPCWSTR pstrSkinFile, LPCWSTR pstrXml, LPCWSTR pstrType = nullptr,
                      IDialogBuilderCallback* pCallback = nullptr, CWindowManagerUI* pManager = nullptr);
    CControlUI* ParseNode(CXmlNodeUI& parent, CControlUI* pParent, CWindowManagerUI* pManager);
    void Release();

    CXmlDocUI& GetMarkup();

    // The dialog-layout stretch flags named by the words of a "stretch" value.
    static UINT ParseStretch(LPCWSTR pstrValue);

private:
    bool LoadMarkup(LPCWSTR pstrSkinFile, LPCWSTR pstrXml, LPCWSTR pstrType, CWindowManagerUI* pManager);
    void ApplyWindowElements(CXmlNodeUI& root, CWindowManagerUI* pManager);
    void ApplyImage(CXmlNodeUI& node, CWindowManagerUI* pManager);
    void ApplyFont(CXmlNodeUI& node, CWindowManagerUI* pManager);
    void ApplyDefault(CXmlNodeUI& node, CWindowManagerUI* pManager);
    void ApplyWindowAttributes(CXmlNodeUI& root, CWindowManagerUI* pManager);
    CControlUI* CreateControl(LPCWSTR pstrClass, CWindowManagerUI* pManager);
    void ApplyAttributes(CXmlNodeUI& node, CControlUI* pControl, CWindowManagerUI* pManager);
    bool ApplyStretch(CXmlNodeUI& node, CControlUI* pControl, CControlUI* pParent);

    CXmlDocUI m_xml;
    IDialogBuilderCallback* m_pCallback;
};
