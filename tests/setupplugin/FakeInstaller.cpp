#include "FakeInstaller.h"

#include <commctrl.h>

#include <cstddef>

CFakeNsisStack::~CFakeNsisStack()
{
    Clear();
}

void CFakeNsisStack::Push(const std::wstring& text)
{
    size_t cb = offsetof(TNsisStackEntry, text) + kStringSize * sizeof(wchar_t);
    auto* pEntry = static_cast<TNsisStackEntry*>(::GlobalAlloc(GPTR, cb));
    ::lstrcpynW(pEntry->text, text.c_str(), kStringSize);
    pEntry->next = m_top;
    m_top = pEntry;
}

std::wstring CFakeNsisStack::Pop()
{
    if (m_top == nullptr) return L"<empty>";
    TNsisStackEntry* pEntry = m_top;
    std::wstring text = pEntry->text;
    m_top = pEntry->next;
    ::GlobalFree(pEntry);
    return text;
}

size_t CFakeNsisStack::Size() const
{
    size_t n = 0;
    for (TNsisStackEntry* p = m_top; p != nullptr; p = p->next) n++;
    return n;
}

void CFakeNsisStack::Clear()
{
    while (m_top != nullptr) Pop();
}

TNsisStackEntry** CFakeNsisStack::Top()
{
    return &m_top;
}

CFakeExtraParameters* CFakeExtraParameters::s_current = nullptr;

CFakeExtraParameters::CFakeExtraParameters(CFakeNsisStack& stack) : m_extra(), m_stack(stack)
{
    m_extra.ExecuteCodeSegment = &CFakeExtraParameters::ExecuteCodeSegment;
    m_extra.RegisterPluginCallback = &CFakeExtraParameters::RegisterPluginCallback;
    s_current = this;
}

CFakeExtraParameters::~CFakeExtraParameters()
{
    if (s_current == this) s_current = nullptr;
}

TNsisExtraParameters* CFakeExtraParameters::Get()
{
    return &m_extra;
}

TFakeInstallerCalls& CFakeExtraParameters::Calls()
{
    return m_calls;
}

int WINAPI CFakeExtraParameters::ExecuteCodeSegment(int address, HWND)
{
    if (s_current == nullptr) return 1;
    s_current->m_calls.executedAddresses.push_back(address);
    s_current->m_calls.stackTopAtExecute.push_back(s_current->m_stack.Pop());
    return 0;
}

int WINAPI CFakeExtraParameters::RegisterPluginCallback(HMODULE hModule, NsisPluginCallback callback)
{
    if (s_current == nullptr) return -1;
    s_current->m_calls.registeredModule = hModule;
    s_current->m_calls.registeredCallback = callback;
    return s_current->m_calls.registrations++ == 0 ? 0 : 1;
}

namespace {

const wchar_t kInstallerClass[] = L"LumoraTestInstaller";

void RegisterInstallerClass(WNDPROC proc)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kInstallerClass;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    ::RegisterClassW(&wc);
}

} // namespace

CFakeInstallerWindow::CFakeInstallerWindow()
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES };
    ::InitCommonControlsEx(&icc);
    RegisterInstallerClass(&CFakeInstallerWindow::WindowProc);
    HINSTANCE hInst = ::GetModuleHandleW(nullptr);
    m_hWnd = ::CreateWindowExW(0, kInstallerClass, L"Lumora 安装", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 480, 360,
                               nullptr, nullptr, hInst, this);
    ::CreateWindowExW(0, L"BUTTON", L"下一步", WS_CHILD | WS_VISIBLE | WS_DISABLED, 300, 290, 70, 24, m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), hInst, nullptr);
    ::CreateWindowExW(0, L"BUTTON", L"取消", WS_CHILD | WS_VISIBLE | WS_DISABLED, 380, 290, 70, 24, m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), hInst, nullptr);
    m_hPage =
        ::CreateWindowExW(0, L"#32770", L"", WS_CHILD | WS_VISIBLE, 0, 0, 460, 270, m_hWnd, nullptr, hInst, nullptr);
    m_hProgress = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 40, 440, 16, m_hPage, nullptr,
                                    hInst, nullptr);
    ::SendMessageW(m_hProgress, PBM_SETRANGE32, 0, 30000);
    m_hList = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 70, 440, 180, m_hPage,
                                nullptr, hInst, nullptr);
}

CFakeInstallerWindow::~CFakeInstallerWindow()
{
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

int CFakeInstallerWindow::CountCommand(int id) const
{
    int n = 0;
    for (int command : m_commands) n += command == id ? 1 : 0;
    return n;
}

LRESULT CALLBACK CFakeInstallerWindow::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        auto* pcs = reinterpret_cast<LPCREATESTRUCTW>(lParam);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pcs->lpCreateParams));
    }
    auto* pThis = reinterpret_cast<CFakeInstallerWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_COMMAND && pThis != nullptr && lParam == 0) {
        pThis->m_commands.push_back(LOWORD(wParam));
        return 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void PostClick(HWND hWnd, POINT pt)
{
    LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
}

void PumpMessages()
{
    MSG msg = {};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

POINT CenterOf(const RECT& rc)
{
    return { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}
