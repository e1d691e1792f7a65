// Reads what a browser is asked to show, away from the UI thread. The
// stand-in can read files and pages served on this machine only; any other
// address is a load error, as it would be without a network.
#pragma once
#include <string>

namespace cef_stand_in {

struct PageResult
{
    bool ok = false;
    bool externalScheme = false; // a scheme for the system, not for a browser
    int errorCode = 0;           // cef_errorcode_t when not ok
    std::wstring errorText;
    int httpStatus = 0;
    std::wstring title;
};

class PageLoader
{
public:
    // Reads on a worker thread; the result reaches the browser's OnPageRead on
    // the UI thread.
    static void Start(int browserId, int navigation, const std::wstring& url);
    static PageResult Read(const std::wstring& url);
    // The text of the first <title> element of an HTML page (UTF-8).
    static std::wstring TitleOf(const std::string& html);
};

} // namespace cef_stand_in
