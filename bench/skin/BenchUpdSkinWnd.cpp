#include "BenchUpdSkinWnd.h"

#include "ControlUI.h"
#include "SkinBuilderUI.h"

using namespace UpdUI;

namespace {

CControlUI* CALLBACK CountControl(CControlUI* /*pControl*/, LPVOID pData)
{
    ++*static_cast<int*>(pData);
    return nullptr;
}

} // namespace

CBenchUpdSkinWnd::CBenchUpdSkinWnd(const std::wstring& markup) : m_markup(markup), m_bBuilt(false) { }

bool CBenchUpdSkinWnd::IsBuilt() const
{
    return m_bBuilt;
}

int CBenchUpdSkinWnd::CountControls() const
{
    int nControls = 0;
    if (m_manager.GetRoot() != nullptr) m_manager.GetRoot()->FindControl(CountControl, &nControls, UIFIND_ALL);
    return nControls;
}

CWindowManagerUI& CBenchUpdSkinWnd::GetManager()
{
    return m_manager;
}

LPCWSTR CBenchUpdSkinWnd::GetWindowClassName() const
{
    return L"LumoraUpdSkinBenchWnd";
}

LRESULT CBenchUpdSkinWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE) {
        Build();
        return 0;
    }
    LRESULT lRes = 0;
    if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CBenchUpdSkinWnd::Build()
{
    m_manager.Init(m_hWnd);
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(m_markup.c_str(), nullptr, nullptr, &m_manager);
    m_bBuilt = pRoot != nullptr && m_manager.AttachRoot(pRoot);
}
