#include "UserLauncher.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace {

// Releases a COM pointer when it goes out of scope.
template <class T> class CReleaser
{
public:
    CReleaser() : m_p(nullptr) { }
    explicit CReleaser(T* p) : m_p(p) { }
    ~CReleaser()
    {
        if (m_p != nullptr) m_p->Release();
    }
    CReleaser(const CReleaser&) = delete;
    CReleaser& operator=(const CReleaser&) = delete;
    T** operator&() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p;
};

VARIANT StringVariant(BSTR text)
{
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = text;
    return value;
}

} // namespace

CUserLauncher::TWay CUserLauncher::Launch(const std::wstring& path)
{
    if (path.empty() || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return NotStarted;
    // The program finds its skin and settings beside itself.
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    if (LaunchThroughShell(path, folder)) return StartedByShell;
    return LaunchDirectly(path, folder) ? StartedDirectly : NotStarted;
}

// The desktop's view, reached through the shell's window list: its automation
// object belongs to the shell's process.
IDispatch* CUserLauncher::DesktopShellDispatch()
{
    CReleaser<IShellWindows> windows;
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                  reinterpret_cast<void**>(&windows))))
        return nullptr;
    VARIANT location;
    ::VariantInit(&location);
    VARIANT root;
    ::VariantInit(&root);
    long hwnd = 0;
    CReleaser<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, &desktop) != S_OK ||
        desktop.Get() == nullptr)
        return nullptr;
    CReleaser<IServiceProvider> services;
    CReleaser<IShellBrowser> browser;
    CReleaser<IShellView> view;
    CReleaser<IDispatch> background;
    CReleaser<IShellFolderViewDual> folderView;
    IDispatch* pApplication = nullptr;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services))) ||
        FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, reinterpret_cast<void**>(&browser))) ||
        FAILED(browser->QueryActiveShellView(&view)) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, reinterpret_cast<void**>(&background))) ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, reinterpret_cast<void**>(&folderView))) ||
        FAILED(folderView->get_Application(&pApplication)))
        return nullptr;
    return pApplication;
}

bool CUserLauncher::LaunchThroughShell(const std::wstring& path, const std::wstring& folder)
{
    HRESULT hrInit = ::CoInitialize(nullptr);
    bool bStarted = false;
    {
        CReleaser<IDispatch> application(DesktopShellDispatch());
        CReleaser<IShellDispatch2> shell;
        if (application.Get() != nullptr &&
            SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(&shell)))) {
            BSTR file = ::SysAllocString(path.c_str());
            BSTR directory = ::SysAllocString(folder.c_str());
            BSTR verb = ::SysAllocString(L"open");
            VARIANT arguments;
            ::VariantInit(&arguments);
            VARIANT dir = StringVariant(directory);
            VARIANT operation = StringVariant(verb);
            VARIANT show;
            ::VariantInit(&show);
            show.vt = VT_I4;
            show.lVal = SW_SHOWNORMAL;
            bStarted = file != nullptr && SUCCEEDED(shell->ShellExecute(file, arguments, dir, operation, show));
            ::SysFreeString(file);
            ::SysFreeString(directory);
            ::SysFreeString(verb);
        }
    }
    if (SUCCEEDED(hrInit)) ::CoUninitialize();
    return bStarted;
}

bool CUserLauncher::LaunchDirectly(const std::wstring& path, const std::wstring& folder)
{
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}
