#pragma once
#include <windows.h>

#include <string>

#include "XmlDocUI.h"

namespace UpdUI {

class CControlUI;
class CWindowManagerUI;

// Asked by the skin builder for every tag that neither the built-in table nor a plug-in
// creator knows.
class IDialogBuilderCallback
{
public:
    virtual CControlUI* CreateControl(LPCWSTR pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Turns skin markup into a control tree: the root element's window attributes and the
// "Image", "Font" and "Default" definitions go to the window manager, every other element
// becomes one control added to its parent, and "Include" builds another markup into the
// same parent. The built controls belong to the caller.
class CSkinBuilderUI
{
public:
    enum {
        // Deepest control tree a build makes, included markup counted: deeper elements are
        // left out, so that layout and painting cannot exhaust the stack.
        MAX_NESTING = 256,
        // Includes within includes, and all includes of one build: a markup that includes
        // itself, or repeats includes without end, stops here.
        MAX_INCLUDE_DEPTH = 8,
        MAX_INCLUDES = 1000,
    };

    CSkinBuilderUI();
    ~CSkinBuilderUI();
    CSkinBuilderUI(const CSkinBuilderUI&) = delete;
    CSkinBuilderUI& operator=(const CSkinBuilderUI&) = delete;

    // pstrXml: a resource number (MAKEINTRESOURCE) of type pstrType, markup text starting
    // with '<', or a markup name read from the resource folder or the skin zip.
    CControlUI* Build(LPCWSTR pstrXml, LPCWSTR pstrType = nullptr, IDialogBuilderCallback* pCallback = nullptr,
                      CWindowManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    CControlUI* BuildRoot(IDialogBuilderCallback* pCallback = nullptr, CWindowManagerUI* pManager = nullptr,
                          CControlUI* pParent = nullptr);
    CControlUI* ParseNode(CXmlNodeUI& element, CControlUI* pParent, CWindowManagerUI* pManager);

    CXmlDocUI* GetMarkup();

private:
    bool LoadMarkup(LPCWSTR pstrXml, LPCWSTR pstrType);
    void ApplyDefinitions(CXmlNodeUI& root, CWindowManagerUI* pManager);
    void ApplyImage(CXmlNodeUI& node, CWindowManagerUI* pManager);
    void ApplyFont(CXmlNodeUI& node, CWindowManagerUI* pManager);
    void ApplyDefault(CXmlNodeUI& node, CWindowManagerUI* pManager);
    void ApplyWindowAttributes(CXmlNodeUI& root, CWindowManagerUI* pManager);
    void BuildInclude(CXmlNodeUI& node, CControlUI* pParent, CWindowManagerUI* pManager);
    CControlUI* CreateControl(LPCWSTR pstrClass, CWindowManagerUI* pManager);
    void ApplyAttributes(CXmlNodeUI& node, CControlUI* pControl, CWindowManagerUI* pManager);

    static std::wstring SourceKey(LPCWSTR pstrXml);
    bool IsIncludedFrom(const std::wstring& sKey) const;
    int IncludeDepth() const;
    int& IncludeCount();

    CXmlDocUI m_xml;
    IDialogBuilderCallback* m_pCallback;
    LPCWSTR m_pstrType;       // set when the markup came from a resource; includes use the same type
    CSkinBuilderUI* m_pOuter; // the builder whose Include made this one
    std::wstring m_sSource;   // the markup name or resource number this builder loaded
    int m_nNesting;           // depth in the control tree of the controls being made
    int m_nIncludes;          // includes made so far under the outermost builder
};

} // namespace UpdUI
