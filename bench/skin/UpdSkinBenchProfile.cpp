#include "UpdSkinBenchProfile.h"

#include "ControlUI.h"
#include "WindowManagerUI.h"

using UpdUI::CControlUI;

void CUpdSkinBenchProfile::Run(CControlUI* pRoot, HDC hDC, int nRounds)
{
    const std::vector<CControlUI*> controls = CPaintStepTable::Controls(pRoot, UpdUI::UIFIND_VISIBLE);
    for (int i = 0; i < nRounds; i++) {
        for (CControlUI* pControl : controls) TimeControl(pControl, hDC);
    }
    m_table.AddRounds(nRounds);
}

void CUpdSkinBenchProfile::TimeControl(CControlUI* pControl, HDC hDC)
{
    m_table.Time(pControl, "bkcolor", [&] { pControl->PaintBkColor(hDC); });
    m_table.Time(pControl, "bkimage", [&] { pControl->PaintBkImage(hDC); });
    m_table.Time(pControl, "statusimage", [&] { pControl->PaintStatusImage(hDC); });
    m_table.Time(pControl, "text", [&] { pControl->PaintText(hDC); });
    m_table.Time(pControl, "border", [&] { pControl->PaintBorder(hDC); });
}

void CUpdSkinBenchProfile::Print() const
{
    m_table.Print("updater library paint steps one by one");
}
