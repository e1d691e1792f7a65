#include "PageLoader.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cwctype>
#include <thread>

#include "BrowserImpl.h"
#include "EngineInternal.h"
#include "cef_load_handler.h"

namespace cef_stand_in {

namespace {

const size_t kMaxPageBytes = 256 * 1024; // enough to find the title
const DWORD kHttpTimeoutMs = 15000;

PageResult Failure(int code, const wchar_t* text)
{
    PageResult r;
    r.errorCode = code;
    r.errorText = text;
    return r;
}

PageResult Success(const std::string& content, int status)
{
    PageResult r;
    r.ok = true;
    r.httpStatus = status;
    r.title = PageLoader::TitleOf(content);
    return r;
}

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// "file:///C:/a%20b/c.html?x#y" -> "C:\a b\c.html"
std::wstring FilePathOf(const std::wstring& url)
{
    std::wstring rest = url.substr(7); // after "file://"
    size_t end = rest.find_first_of(L"?#");
    if (end != std::wstring::npos) rest.erase(end);
    if (rest.size() >= 3 && rest[0] == L'/' && rest[2] == L':') rest.erase(0, 1);
    std::string bytes;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == L'%' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 && HexValue(rest[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2])));
            i += 2;
        } else {
            bytes += WideToUtf8(std::wstring(1, rest[i]));
        }
    }
    std::wstring path = Utf8ToWide(bytes);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

PageResult ReadFilePage(const std::wstring& url)
{
    HANDLE file = CreateFileW(FilePathOf(url).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failure(ERR_FILE_NOT_FOUND, L"net::ERR_FILE_NOT_FOUND");
    std::string content(kMaxPageBytes, '\0');
    DWORD read = 0;
    BOOL ok = ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok) return Failure(ERR_FILE_NOT_FOUND, L"net::ERR_FILE_NOT_FOUND");
    content.resize(read);
    return Success(content, 200);
}

std::wstring HostOf(const std::wstring& url)
{
    size_t start = url.find(L"://");
    if (start == std::wstring::npos) return std::wstring();
    start += 3;
    size_t end = url.find_first_of(L":/?#", start);
    return Lower(url.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
}

class InternetHandle
{
public:
    explicit InternetHandle(HINTERNET h) : handle_(h) { }
    ~InternetHandle()
    {
        if (handle_) InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET get() const { return handle_; }

private:
    HINTERNET handle_;
};

PageResult ReadLocalHttpPage(const std::wstring& url)
{
    InternetHandle session(InternetOpenW(L"LumoraCefStandIn", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session.get()) return Failure(ERR_FAILED, L"net::ERR_FAILED");
    DWORD timeout = kHttpTimeoutMs;
    InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
    InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    InternetHandle request(InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0, flags, 0));
    if (!request.get()) {
        if (GetLastError() == ERROR_INTERNET_TIMEOUT) return Failure(ERR_TIMED_OUT, L"net::ERR_TIMED_OUT");
        return Failure(ERR_CONNECTION_REFUSED, L"net::ERR_CONNECTION_REFUSED");
    }
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        status = 200;
    std::string content;
    char buffer[8192];
    DWORD read = 0;
    while (content.size() < kMaxPageBytes && InternetReadFile(request.get(), buffer, sizeof(buffer), &read) && read > 0)
        content.append(buffer, read);
    return Success(content, static_cast<int>(status));
}

bool HasScheme(const std::wstring& url)
{
    size_t colon = url.find(L':');
    if (colon == std::wstring::npos || colon == 0 || !std::iswalpha(url[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        if (!std::iswalnum(url[i]) && url[i] != L'+' && url[i] != L'-' && url[i] != L'.') return false;
    }
    return true;
}

} // namespace

PageResult PageLoader::Read(const std::wstring& url)
{
    std::wstring lower = Lower(url);
    if (lower.empty() || lower == L"about:blank") return Success(std::string(), 200);
    if (lower.compare(0, 7, L"file://") == 0) return ReadFilePage(url);
    if (lower.compare(0, 7, L"http://") == 0 || lower.compare(0, 8, L"https://") == 0) {
        std::wstring host = HostOf(url);
        bool local = lower.compare(0, 7, L"http://") == 0 && (host == L"127.0.0.1" || host == L"localhost");
        if (!local) return Failure(ERR_INTERNET_DISCONNECTED, L"net::ERR_INTERNET_DISCONNECTED");
        return ReadLocalHttpPage(url);
    }
    if (!HasScheme(url)) return Failure(ERR_INVALID_URL, L"net::ERR_INVALID_URL");
    PageResult r = Failure(ERR_UNKNOWN_URL_SCHEME, L"net::ERR_UNKNOWN_URL_SCHEME");
    r.externalScheme = true;
    return r;
}

std::wstring PageLoader::TitleOf(const std::string& html)
{
    std::string lower(html);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    size_t open = lower.find("<title");
    if (open == std::string::npos) return std::wstring();
    size_t start = lower.find('>', open);
    if (start == std::string::npos) return std::wstring();
    size_t end = lower.find("</title", ++start);
    if (end == std::string::npos) return std::wstring();
    std::wstring title = Utf8ToWide(html.substr(start, end - start));
    const wchar_t* space = L" \t\r\n";
    size_t first = title.find_first_not_of(space);
    if (first == std::wstring::npos) return std::wstring();
    return title.substr(first, title.find_last_not_of(space) - first + 1);
}

void PageLoader::Start(int browserId, int navigation, const std::wstring& url)
{
    std::thread([browserId, navigation, url] {
        PageResult result = Read(url);
        PostToUi([browserId, navigation, result] {
            if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(browserId)) b->OnPageRead(navigation, result);
        });
    }).detach();
}

} // namespace cef_stand_in
