#include "BenchSkinWnd.h"

#include "ControlUI.h"
#include "SkinBuilderUI.h"

namespace {

CControlUI* CALLBACK CountControl(CControlUI* /*pControl*/, LPVOID pData)
{
    ++*static_cast<int*>(pData);
    return nullptr;
}

} // namespace

CBenchSkinWnd::CBenchSkinWnd(const std::wstring& skinFile, const std::wstring& markup)
    : m_skinFile(skinFile), m_markup(markup), m_bBuilt(false)
{ }

bool CBenchSkinWnd::IsBuilt() const
{
    return m_bBuilt;
}

const std::wstring& CBenchSkinWnd::GetBuildError() const
{
    return m_buildError;
}

int CBenchSkinWnd::CountControls() const
{
    int nControls = 0;
    if (m_manager.GetRoot() != nullptr) m_manager.GetRoot()->FindControl(CountControl, &nControls, UIFIND_ALL);
    return nControls;
}

CControlUI* CBenchSkinWnd::GetRoot() const
{
    return m_manager.GetRoot();
}

CWindowManagerUI& CBenchSkinWnd::GetManager()
{
    return m_manager;
}

LPCWSTR CBenchSkinWnd::GetWindowClassName() const
{
    return L"LumoraSkinBenchWnd";
}

LRESULT CBenchSkinWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE) {
        Build();
        return 0;
    }
    LRESULT lRes = 0;
    if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// The markup is text, not a stream of the skin file, so the manager is told where its
// images are before the build.
void CBenchSkinWnd::Build()
{
    m_manager.Init(m_hWnd);
    m_manager.SetSkinFile(m_skinFile.c_str());
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(nullptr, m_markup.c_str(), nullptr, nullptr, &m_manager);
    m_bBuilt = pRoot != nullptr && m_manager.AttachRoot(pRoot);
    if (pRoot == nullptr)
        m_buildError = std::wstring(builder.GetMarkup().GetLastErrorMessage()) + L" [" +
            builder.GetMarkup().GetLastErrorLocation() + L"]";
}
