#pragma once
#include <string>
#include <vector>

#include "SkinPopupWnd.h"

// The window that loads a notice's address into its home view: the main window.
// The popup calls it directly, so no address pointer ever travels in a window
// message that another process could send.
class INoticeAddressTarget
{
public:
    virtual void OpenNoticeAddress(const std::wstring& address) = 0;

protected:
    ~INoticeAddressTarget() = default;
};

// The notice popup a portal page opens with its "notice" command: a title and a
// linked text in the bottom-right corner of the work area. The link and the
// "show" button hand the notice's address to the main window and close the popup.
class CHelpWnd : public CSkinPopupWnd
{
public:
    static constexpr int kWidth = 250;
    static constexpr int kHeight = 172;

    // pTarget receives the address; without one the link does nothing.
    explicit CHelpWnd(INoticeAddressTarget* pTarget);

    // Creates and shows the popup. text is "title|link text"; without "|" all of
    // it is the link text. Returns the window, or null when it could not be
    // created; either way the object is no longer the caller's: it goes with
    // its window, or at once when there is none.
    HWND Show(const std::wstring& text, const std::wstring& address);
    // Shows another notice in this popup, in its place, above other windows.
    void Replace(const std::wstring& text, const std::wstring& address);
    // The popup of a window made by Show; null for any other window.
    static CHelpWnd* FromWindow(HWND hWnd);

    // The most characters the link box and the title can show: more is cut
    // before the text is laid out, so a page cannot stall the window with a
    // notice of megabytes.
    size_t MaxLinkChars() const { return m_nMaxLinkChars; }
    size_t MaxTitleChars() const { return m_nMaxTitleChars; }

    // "title|link text" -> the title (empty without "|") and the tagged text
    // that shows the rest as one link in font 3. The notice comes from a page:
    // brackets in it are shown as they are, never taken as tags.
    static void SplitNoticeText(const std::wstring& text, std::wstring& title, std::wstring& linkMarkup);
    // Plain text -> tagged text that draws exactly that text.
    static std::wstring EscapeMarkup(const std::wstring& text);

    void Notify(TNotifyRecUI& msg) override;

protected:
    LPCWSTR GetWindowClassName() const override { return kClassName; }
    UINT GetClassStyle() const override { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }
    LPCWSTR GetSkinXml() const override { return L"helpwnd.xml"; }
    bool InitControls() override;
    void ApplyWindowRegion() override;

private:
    static constexpr const wchar_t* kClassName = L"helpwnd";
    static constexpr int kLinkFont = 3;

    void SetNoticeText(const std::wstring& text);
    void MeasureTextCapacity();
    void MoveToWorkAreaCorner();
    std::vector<RECT> OtherPopupRects() const;
    static bool Overlaps(const std::vector<RECT>& rects, int x, int y, int width, int height);
    void OpenAddress();

    std::wstring m_address;
    CControlUI* m_pTitle;
    CControlUI* m_pText;
    CControlUI* m_pClose;
    CControlUI* m_pShow;
    INoticeAddressTarget* m_pTarget;
    size_t m_nMaxLinkChars = 0;
    size_t m_nMaxTitleChars = 0;
};
