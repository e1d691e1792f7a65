// The client handler's decisions that need no running browser: storage
// quota, external protocols, downloads, drags, location, context menus and
// popups.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "CefClientHandler.h"

namespace {

class OpenRecorder : public CefClientHandler
{
public:
    OpenRecorder() : CefClientHandler(nullptr) { }
    std::vector<std::wstring> opened;

protected:
    void OpenInSystemBrowser(const std::wstring& url) override { opened.push_back(url); }
};

class QuotaAnswer : public CefQuotaCallback
{
public:
    void Continue(bool allow) override { answer = allow ? 1 : 0; }
    void Cancel() override { answer = 0; }
    int answer = -1;
    IMPLEMENT_REFCOUNTING(QuotaAnswer);
};

class DownloadAnswer : public CefBeforeDownloadCallback
{
public:
    void Continue(const CefString& download_path, bool show_dialog) override
    {
        path = download_path.ToWString();
        dialog = show_dialog;
        continued = true;
    }
    std::wstring path;
    bool dialog = false;
    bool continued = false;
    IMPLEMENT_REFCOUNTING(DownloadAnswer);
};

class Download : public CefDownloadItem
{
public:
    Download(bool complete, const std::wstring& path) : complete_(complete), path_(path) { }
    bool IsValid() override { return true; }
    bool IsInProgress() override { return !complete_; }
    bool IsComplete() override { return complete_; }
    bool IsCanceled() override { return false; }
    int64_t GetReceivedBytes() override { return 0; }
    int64_t GetTotalBytes() override { return 0; }
    CefString GetFullPath() override { return path_; }
    CefString GetURL() override { return CefString(); }
    CefString GetSuggestedFileName() override { return CefString(); }

private:
    bool complete_;
    std::wstring path_;
    IMPLEMENT_REFCOUNTING(Download);
};

class Drag : public CefDragData
{
public:
    explicit Drag(bool link) : link_(link) { }
    bool IsLink() override { return link_; }
    bool IsFragment() override { return !link_; }
    bool IsFile() override { return false; }
    CefString GetLinkURL() override { return link_ ? L"http://127.0.0.1/" : L""; }

private:
    bool link_;
    IMPLEMENT_REFCOUNTING(Drag);
};

class LocationAnswer : public CefGeolocationCallback
{
public:
    void Continue(bool allow) override { answer = allow ? 1 : 0; }
    int answer = -1;
    IMPLEMENT_REFCOUNTING(LocationAnswer);
};

class MenuParams : public CefContextMenuParams
{
public:
    explicit MenuParams(int flags) : flags_(flags) { }
    int GetTypeFlags() override { return flags_; }
    CefString GetPageUrl() override { return CefString(); }
    CefString GetLinkUrl() override { return CefString(); }

private:
    int flags_;
    IMPLEMENT_REFCOUNTING(MenuParams);
};

class Menu : public CefMenuModel
{
public:
    bool Clear() override
    {
        count = 0;
        return true;
    }
    int GetCount() override { return count; }
    bool AddItem(int, const CefString&) override { return ++count > 0; }
    int GetCommandIdAt(int) override { return 0; }
    CefString GetLabelAt(int) override { return CefString(); }
    int count = 0;
    IMPLEMENT_REFCOUNTING(Menu);
};

TEST(ClientHandlerDecisions, StorageQuotaUpToTwentyMebibytes)
{
    struct Case
    {
        int64_t size;
        int granted;
    } cases[] = { { 0, 1 }, { 1024, 1 }, { 0x1400000, 1 }, { 0x1400001, 0 }, { int64_t(1) << 40, 0 } };
    CefRefPtr<CefClientHandler> handler = new CefClientHandler(nullptr);
    for (const Case& c : cases) {
        CefRefPtr<QuotaAnswer> answer = new QuotaAnswer();
        EXPECT_TRUE(handler->OnQuotaRequest(nullptr, L"http://127.0.0.1/", c.size, answer.get()));
        EXPECT_EQ(answer->answer, c.granted) << c.size;
    }
}

TEST(ClientHandlerDecisions, OnlySpotifyAddressesGoToTheSystem)
{
    struct Case
    {
        const wchar_t* url;
        bool allowed;
    } cases[] = { { L"spotify:track:1", true },
                  { L"spotify:", true },
                  { L"Spotify:track:1", false },
                  { L"mailto:a@b.c", false },
                  { L"xspotify:1", false },
                  { L"http://spotify.com", false },
                  { L"", false } };
    CefRefPtr<CefClientHandler> handler = new CefClientHandler(nullptr);
    for (const Case& c : cases) {
        bool allow = !c.allowed;
        handler->OnProtocolExecution(nullptr, c.url, allow);
        EXPECT_EQ(allow, c.allowed) << c.url;
    }
}

TEST(ClientHandlerDecisions, DownloadsGoToDocumentsUnderTheirOwnFileName)
{
    wchar_t documents[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, documents)));
    struct Case
    {
        const wchar_t* suggested;
        const wchar_t* stored;
    } cases[] = {
        { L"movie.mp4", L"movie.mp4" },
        { L"..\\..\\Startup\\evil.exe", L"evil.exe" },
        { L"../../evil.bat", L"evil.bat" },
        { L"C:\\Windows\\system.ini", L"system.ini" },
        { L"a:b*c?.txt", L"a_b_c_.txt" },
        { L"..", L"download" },
        { L"", L"download" },
        { L" 视频.flv. ", L"视频.flv" },
    };
    CefRefPtr<CefClientHandler> handler = new CefClientHandler(nullptr);
    for (const Case& c : cases) {
        CefRefPtr<DownloadAnswer> answer = new DownloadAnswer();
        handler->OnBeforeDownload(nullptr, nullptr, c.suggested, answer.get());
        ASSERT_TRUE(answer->continued);
        EXPECT_TRUE(answer->dialog) << "the user confirms where it goes";
        EXPECT_EQ(answer->path, std::wstring(documents) + L"\\" + c.stored) << c.suggested;
    }
}

TEST(ClientHandlerDecisions, OnlyACompletedDownloadIsRemembered)
{
    CefRefPtr<CefClientHandler> handler = new CefClientHandler(nullptr);
    handler->OnDownloadUpdated(nullptr, new Download(false, L"C:\\partial.mp4"), nullptr);
    EXPECT_EQ(handler->GetLastDownloadPath(), L"");
    handler->OnDownloadUpdated(nullptr, new Download(true, L"C:\\done.mp4"), nullptr);
    handler->OnDownloadUpdated(nullptr, new Download(false, L"C:\\next.mp4"), nullptr);
    EXPECT_EQ(handler->GetLastDownloadPath(), L"C:\\done.mp4");
}

TEST(ClientHandlerDecisions, LinksCannotBeDraggedAndLocationIsAllowed)
{
    CefRefPtr<CefClientHandler> handler = new CefClientHandler(nullptr);
    EXPECT_TRUE(handler->OnDragEnter(nullptr, new Drag(true), 0));
    EXPECT_FALSE(handler->OnDragEnter(nullptr, new Drag(false), 0));
    CefRefPtr<LocationAnswer> answer = new LocationAnswer();
    handler->OnRequestGeolocationPermission(nullptr, L"http://127.0.0.1/", 1, answer.get());
    EXPECT_EQ(answer->answer, 1);
}

TEST(ClientHandlerDecisions, PageMenusAreEmptiedOthersKeepTheirItems)
{
    struct Case
    {
        int flags;
        bool kept;
    } cases[] = {
        { CM_TYPEFLAG_PAGE, false },
        { CM_TYPEFLAG_FRAME, false },
        { CM_TYPEFLAG_PAGE | CM_TYPEFLAG_FRAME, false },
        { CM_TYPEFLAG_PAGE | CM_TYPEFLAG_LINK, true },
        { CM_TYPEFLAG_PAGE | CM_TYPEFLAG_SELECTION, true },
        { CM_TYPEFLAG_PAGE | CM_TYPEFLAG_EDITABLE, true },
        { CM_TYPEFLAG_NONE, true },
    };
    CefRefPtr<CefClientHandler> handler = new CefClientHandler(nullptr);
    for (const Case& c : cases) {
        CefRefPtr<Menu> menu = new Menu();
        menu->AddItem(102, L"重新加载");
        menu->AddItem(103, L"打印");
        handler->OnBeforeContextMenu(nullptr, nullptr, new MenuParams(c.flags), menu.get());
        EXPECT_EQ(menu->count, c.kept ? 2 : 0) << "flags " << c.flags;
    }
}

TEST(ClientHandlerDecisions, PopupsOpenInTheEngineOnlyForLumoraAndWebAddressesGoToTheSystem)
{
    struct Case
    {
        const wchar_t* url;
        const wchar_t* target;
        bool cancelled;
        bool toSystem;
    } cases[] = {
        { L"http://127.0.0.1/p.html", L"lumora", false, false },
        { L"file:///C:/p.html", L"lumora", false, false },
        { L"http://127.0.0.1/p.html", L"_blank", true, true },
        { L"HTTPS://example.com/", L"other", true, true },
        { L"http://127.0.0.1/p.html", L"Lumora", true, true },
        { L"file:///C:/Windows/system32/calc.exe", L"_blank", true, false },
        { L"javascript:alert(1)", L"", true, false },
        { L"C:\\Windows\\notepad.exe", L"x", true, false },
        { L"ms-settings:", L"x", true, false },
    };
    for (const Case& c : cases) {
        CefRefPtr<OpenRecorder> handler = new OpenRecorder();
        CefWindowInfo info;
        CefRefPtr<CefClient> client = handler.get();
        CefBrowserSettings settings;
        bool noScript = false;
        bool cancelled = handler->OnBeforePopup(nullptr, nullptr, c.url, c.target, CefPopupFeatures(), info, client,
                                                settings, &noScript);
        EXPECT_EQ(cancelled, c.cancelled) << c.url << " -> " << c.target;
        EXPECT_EQ(handler->opened.size(), c.toSystem ? 1u : 0u) << c.url << " -> " << c.target;
        if (c.toSystem && !handler->opened.empty()) {
            EXPECT_EQ(handler->opened[0], c.url);
        }
    }
}

} // namespace
